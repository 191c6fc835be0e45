#include "BigTextPixels.h"
#include "TestSupport.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/Spider.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

namespace {
// Land tiles are solid green; the avatar is a magenta sprite of 100 x 100 with a red dot at
// (40..59, 40..59), so its position in the frame tells where it was drawn.
void writeImages() {
    BITMAP* tile = solidBitmap(50, 50, makecol(0, 200, 0));
    saveImage("ground0", tile);
    destroy_bitmap(tile);
    BITMAP* sprite = solidBitmap(100, 100, makecol(255, 0, 255));
    rectfill(sprite, 40, 40, 59, 59, makecol(255, 0, 0));
    saveImage("avatar0", sprite);
    destroy_bitmap(sprite);
}

class DrawTest : public ::testing::Test {
  protected:
    void SetUp() override { writeImages(); }

    static bool isRed(BITMAP* frame, int x, int y) {
        return getpixel(frame, x, y) == makecol(255, 0, 0);
    }

    // The screen position of the avatar's red dot (its sprite's top-left + 40), or (-1, -1).
    static std::pair<int, int> redDot(BITMAP* frame) {
        for (int y = 0; y < frame->h; ++y) {
            for (int x = 0; x < frame->w; ++x) {
                if (isRed(frame, x, y)) {
                    return {x - 40, y - 40};
                }
            }
        }
        return {-1, -1};
    }

    TempDir dir;
};
} // namespace

TEST_F(DrawTest, LandFillsTheScreenAndTheAvatarSitsOnItsCell) {
    std::vector<std::string> elements = filled(40, 30, '.');
    elements[10][20] = '@';
    auto world = makeWorld(filled(40, 30, 'g'), elements);
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot());
    BITMAP* frame = game.getFrame();
    // View origin (12, 4): the avatar is in window cell (8, 6), its sprite 25 px up and left.
    EXPECT_EQ(std::make_pair(8 * 50 - 25, 6 * 50 - 25), redDot(frame));
    EXPECT_EQ(makecol(0, 200, 0), getpixel(frame, 0, 0));
    EXPECT_EQ(makecol(0, 200, 0), getpixel(frame, 799, 599));
    EXPECT_EQ(std::make_pair(8 * 50 - 25, 6 * 50 - 25), redDot(screen));
}

TEST_F(DrawTest, AWalkingAvatarIsHalfACellBehindWhileTheViewTrailsIt) {
    // Right from the middle, and from where the view moves off the grid's left edge to column 1;
    // down from the middle.
    for (const auto& [column, walk] :
         {std::pair{20, Action::walkRight}, {8, Action::walkRight}, {20, Action::walkDown}}) {
        std::vector<std::string> elements = filled(40, 30, '.');
        elements[10][column] = '@';
        auto world = makeWorld(filled(40, 30, 'g'), elements);
        Game& game = Game::of(*world);
        game.turn(*world, InputSnapshot());
        game.turn(*world, InputSnapshot::pressing({walk}));
        Element* avatar = world->getAvatar();
        ASSERT_TRUE(avatar->isWalking());
        ASSERT_TRUE(avatar->isStep());
        // The view moved a cell with it but shows the buffer from 25 px on: it stays put on
        // screen.
        EXPECT_EQ(std::make_pair(avatar->getX() - 8, avatar->getY() - 6),
                  std::make_pair(world->getX(), world->getY()));
        EXPECT_EQ(std::make_pair(8 * 50 - 25, 6 * 50 - 25), redDot(game.getFrame())) << column;
        passes(*world, 3);
        world->draw();
        EXPECT_FALSE(avatar->isStep());
        EXPECT_EQ(std::make_pair(8 * 50 - 25, 6 * 50 - 25), redDot(game.getFrame())) << column;
    }
}

TEST_F(DrawTest, AtTheGridEdgeTheAvatarMovesOnTheScreenInstead) {
    // As tall as the screen, the view cannot move; taller, it stays at the top edge. Walking
    // down from the middle of a wide grid's top row, the view does not shift down either, though
    // it has room across.
    for (const auto& [width, height, column] : {std::tuple{20, 12, 0}, {20, 20, 0}, {40, 12, 20}}) {
        std::vector<std::string> elements = filled(width, height, '.');
        elements[0][column] = '@';
        auto world = makeWorld(filled(width, height, 'g'), elements);
        Game& game = Game::of(*world);
        game.turn(*world, InputSnapshot());
        const int left = (column - world->getX()) * 50 - 25;
        EXPECT_EQ(std::make_pair(left, -25), redDot(game.getFrame()));
        game.turn(*world, InputSnapshot::pressing({Action::walkDown}));
        // Walking down at row 1, drawn 25 px higher than its cell; the view does not shift.
        EXPECT_EQ(std::make_pair(left, 50 - 25 - 25), redDot(game.getFrame())) << width << height;
    }
    // Against the right edge (view column 24 of a 40-column grid): walking right from column 34,
    // drawn 25 px left of its cell 11 of the view, which does not shift either.
    std::vector<std::string> elements = filled(40, 30, '.');
    elements[10][34] = '@';
    auto world = makeWorld(filled(40, 30, 'g'), elements);
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot::pressing({Action::walkRight}));
    EXPECT_EQ(24, world->getX());
    EXPECT_EQ(std::make_pair(11 * 50 - 25 - 25, 6 * 50 - 25), redDot(game.getFrame()));
}

// A sprite starts half a cell above and left of its cell: of those in the cells just outside the
// view, the quarter that reaches into it shows at the frame's edge.
TEST_F(DrawTest, SpritesJustOutsideTheViewShowWhatReachesIntoIt) {
    BITMAP* wall = solidBitmap(100, 100, makecol(0, 0, 255));
    saveImage("wall0", wall);
    destroy_bitmap(wall);
    std::vector<std::string> elements = filled(40, 30, '.');
    elements[10][20] = '@';
    // The view shows columns 12 to 27 and rows 4 to 15: a wall just outside each of its sides.
    elements[3][20] = elements[16][20] = elements[10][11] = elements[10][28] = '#';
    auto world = makeWorld(filled(40, 30, 'g'), elements);
    Game& game = Game::of(*world);
    world->draw();
    const int blue = makecol(0, 0, 255);
    const int green = makecol(0, 200, 0);
    const struct {
        int x, y, colour;
    } pixels[] = {{400, 24, blue}, {400, 25, green}, {400, 575, blue}, {400, 574, green},
                  {24, 300, blue}, {25, 300, green}, {775, 300, blue}, {774, 300, green}};
    for (const auto& p : pixels) {
        EXPECT_EQ(p.colour, getpixel(game.getFrame(), p.x, p.y)) << p.x << ", " << p.y;
    }
}

TEST_F(DrawTest, SelectedElementsTextIsWhiteOnBlackAtTenTen) {
    // A cyclope walled in at (5, 5), so that it is still there when clicked.
    std::vector<std::string> elements = filled(20, 12, '.');
    elements[4].replace(4, 3, "###");
    elements[5].replace(4, 3, "#C#");
    elements[6].replace(4, 3, "###");
    auto world = makeWorld(filled(20, 12, 'g'), elements);
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot());
    EXPECT_EQ(makecol(0, 200, 0), getpixel(game.getFrame(), 12, 12));
    game.turn(*world, clickAt(5 * 50 + 10, 5 * 50 + 10));
    ASSERT_NE(nullptr, world->getSelected());
    const std::string text = world->getSelected()->toString();
    EXPECT_EQ("cyclope: live 1 strong 10 helth 99 food 100", text);
    EXPECT_EQ(0, differingTextPixels(game.getFrame(), text, 10, 10));
}

TEST_F(DrawTest, AreasWithoutLandAreBlack) {
    auto world = makeWorld({"gggg", "gg.."}, {"...@", "...."});
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot());
    BITMAP* frame = game.getFrame();
    // A 4 x 2 grid sits at the clamped origin (-12, -10): cells start at pixel (600, 500).
    EXPECT_EQ(makecol(0, 200, 0), getpixel(frame, 610, 510));
    EXPECT_EQ(makecol(0, 0, 0), getpixel(frame, 710, 560));
    EXPECT_EQ(makecol(0, 0, 0), getpixel(frame, 100, 100));
}

// P stops the passes and H shows the panel over the paused frame; a second H leaves no trace.
TEST_F(DrawTest, PauseHoldsTheWorldAndThePanelComesAndGoesWithoutATrace) {
    std::vector<std::string> elements = filled(20, 12, '.');
    elements[1].replace(2, 3, "C@C");
    auto world = makeWorld(filled(20, 12, 'g'), elements);
    Game& game = Game::of(*world);
    kill(world->get(1, 4, 1));
    game.turn(*world, InputSnapshot());
    game.turn(*world, InputSnapshot::pressing({Action::pause}));
    // Held on, P does not resume.
    InputSnapshot stillHeld = InputSnapshot::pressing({Action::pause});
    stillHeld.pressed.reset();
    game.turn(*world, stillHeld);
    EXPECT_TRUE(game.isPaused());
    EXPECT_EQ(1, world->getTimer()->getSecound());
    BITMAP* frame = game.getFrame();
    // In the big font, centred in the upper third.
    EXPECT_EQ(0, differingBigTextPixels(frame, "Paused. P plays on.", 400 - 19 * 8, 100));
    BITMAP* paused = solidBitmap(frame->w, frame->h, 0);
    blit(frame, paused, 0, 0, 0, 0, frame->w, frame->h);
    // A spider that a caller puts in, out of view and in two cells, counts once.
    auto* spider = new Spider(world.get());
    world->set(1, 18, 5, spider);
    world->set(1, 19, 5, spider);
    lowerHelthTo(world->getAvatar(), 40);
    game.turn(*world, InputSnapshot::pressing({Action::panel}));
    EXPECT_EQ(0, differingBigTextPixels(frame, "health", 488, 18));
    // From x 600 a green pixel per health point, dark red up to 100, then the number.
    const int black = makecol(0, 0, 0);
    const int green = makecol(0, 200, 0);
    const int red = makecol(96, 0, 0);
    const int bar[][2] = {{599, black}, {600, green}, {639, green},
                          {640, red},   {699, red},   {700, black}};
    for (const auto& [x, colour] : bar) {
        EXPECT_EQ(colour, getpixel(frame, x, 20)) << x;
    }
    EXPECT_EQ(0, differingBigTextPixels(frame, "40", 708, 18));
    EXPECT_EQ(0, differingBigTextPixels(frame, "day 0  00:00:01", 488, 38));
    EXPECT_EQ(0, differingBigTextPixels(frame, "cyclopes 1", 488, 58));
    EXPECT_EQ(0, differingBigTextPixels(frame, "spiders 1", 488, 78));
    game.turn(*world, InputSnapshot::pressing({Action::panel}));
    int changedRows = 0;
    for (int y = 0; y < frame->h; ++y) {
        changedRows += std::memcmp(frame->line[y], paused->line[y],
                                   static_cast<std::size_t>(frame->w) * 2) != 0;
    }
    destroy_bitmap(paused);
    EXPECT_EQ(0, changedRows);
    game.turn(*world, InputSnapshot::pressing({Action::pause}));
    EXPECT_EQ(2, world->getTimer()->getSecound());
}
