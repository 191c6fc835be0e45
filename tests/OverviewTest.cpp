// What O shows of a big world: a pixel for each block of cells, the view's rectangle, and a
// picture redrawn only every few passes (the e2e check "overview" reads a small one cell by cell).
#include "view/Overview.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {
// A cell shows the average of its tile's visible pixels: the wall is solid brown, the ground
// blue in its first column and see-through elsewhere, so both show their one colour.
void writeTiles() {
    for (const auto& [name, colour] :
         {std::pair{"ground0", makecol(0, 0, 200)}, std::pair{"wall0", makecol(120, 60, 0)}}) {
        BITMAP* tile = solidBitmap(50, 50, colour);
        if (std::string(name) == "ground0") {
            clear_to_color(tile, bitmap_mask_color(tile));
            vline(tile, 0, 0, 49, colour);
        }
        saveImage(name, tile);
        destroy_bitmap(tile);
    }
}

// A cyclope at (column, row) of an element picture, penned in by walls so that it stays there.
void penCyclope(std::vector<std::string>& elements, int column, int row) {
    for (int k = -1; k <= 1; ++k) {
        elements[row + k].replace(column - 1, 3, k == 0 ? "#C#" : "###");
    }
}
} // namespace

// 400 x 300 cells take a pixel for each block of 2 x 2: 200 x 150 from (10, 440), and the view's
// 16 x 12 cells from (192, 144) are 8 x 6 pixels. A wall put in shows only with the next picture.
// A creature tints its block by the share of it that it holds, at most three fifths towards red.
TEST(OverviewTest, ABigWorldShowsBlocksOfCellsAndIsRedrawnEveryFewPasses) {
    TempDir dir;
    writeTiles();
    std::vector<std::string> elements = filled(400, 300, '.');
    elements[150][200] = '@';
    // A cyclope penned in by walls, holding a quarter of its block of 2 x 2 cells.
    penCyclope(elements, 300, 20);
    auto world = makeWorld(filled(400, 300, 'g'), elements);
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot::pressing({Action::overview}));
    BITMAP* frame = game.getFrame();
    // The view's four sides, and the land just outside them: 8 pixels wide, 6 high, grown to 9
    // a side about the middle.
    const int yellow = makecol(255, 255, 0);
    const int blue = makecol(0, 0, 200);
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    const struct {
        int x;
        int y;
        int colour;
    } pixels[] = {{96, 75, yellow},
                  {104, 75, yellow},
                  {105, 75, blue},
                  {95, 75, blue},
                  {100, 71, yellow},
                  {100, 79, yellow},
                  {100, 80, blue},
                  {100, 70, blue},
                  // The avatar, drawn last: a white mark of 3 x 3 in a black ring of 5 x 5.
                  {99, 74, white},
                  {101, 76, white},
                  {98, 75, black},
                  {102, 77, black},
                  {103, 75, blue},
                  {100, 72, blue}};
    for (const auto& p : pixels) {
        EXPECT_EQ(p.colour, getpixel(frame, 10 + p.x, 440 + p.y)) << p.x << "," << p.y;
    }
    // The cyclope's block: its land's blue three fifths towards red.
    EXPECT_EQ(makecol(153, 0, 80), getpixel(frame, 10 + 150, 440 + 10));
    world->set(World::elementLayer, 20, 20, new Element(world.get(), ElementKind::of(WALL)));
    for (int pass = 1; pass <= Overview::refreshPasses; ++pass) {
        game.turn(*world, InputSnapshot());
        EXPECT_EQ(pass < Overview::refreshPasses ? makecol(0, 0, 200) : makecol(120, 60, 0),
                  getpixel(frame, 10 + 10, 440 + 10))
            << pass;
    }
}

// A world smaller than the picture's room shows each cell as a square: 14 x 10 cells of 14
// pixels from (10, 450), a live creature as a red dot of half a cell in the middle of its cell.
TEST(OverviewTest, ASmallWorldShowsACreatureAsADotInTheMiddleOfItsCell) {
    TempDir dir;
    writeTiles();
    std::vector<std::string> elements = filled(14, 10, '.');
    penCyclope(elements, 5, 5);
    auto world = makeWorld(filled(14, 10, 'g'), elements);
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot::pressing({Action::overview}));
    const int left = 10 + 14 * 5;
    const int top = 450 + 14 * 5;
    const int red = makecol(255, 0, 0);
    for (const auto& [x, y, dot] : {std::tuple{3, 3, true},
                                    {9, 9, true},
                                    {2, 6, false},
                                    {10, 6, false},
                                    {6, 2, false},
                                    {6, 10, false}}) {
        EXPECT_EQ(dot, getpixel(game.getFrame(), left + x, top + y) == red) << x << "," << y;
    }
}

// At most 200 pixels wide: a world 200 cells wide shows a pixel a cell, one 201 wide a pixel for
// each block of 2 x 2 cells (101 pixels); the white frame stands right of the picture and above
// it, 10 pixels up from the bottom of the screen.
TEST(OverviewTest, AWorldWiderThan200CellsShowsBlocksOfCells) {
    TempDir dir;
    writeTiles();
    for (const auto& [cells, pixels] : {std::pair{200, 200}, {201, 101}}) {
        auto world = makeWorld(filled(cells, 100, 'g'), filled(cells, 100, '.'));
        Game& game = Game::of(*world);
        game.turn(*world, InputSnapshot::pressing({Action::overview}));
        BITMAP* frame = game.getFrame();
        const int top = 600 - 10 - 100 * pixels / cells;
        EXPECT_EQ(makecol(0, 0, 200), getpixel(frame, 10 + pixels - 1, 560)) << cells;
        EXPECT_EQ(makecol(255, 255, 255), getpixel(frame, 10 + pixels, 560)) << cells;
        EXPECT_EQ(makecol(0, 0, 200), getpixel(frame, 10 + pixels - 1, top)) << cells;
        EXPECT_EQ(makecol(255, 255, 255), getpixel(frame, 10 + pixels - 1, top - 1)) << cells;
        EXPECT_EQ(makecol(255, 255, 255), getpixel(frame, 9, 560)) << cells;
    }
}
