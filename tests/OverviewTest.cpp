// What O shows in the bottom left corner: land and standing things in their colours, creatures
// as dots, the view's rectangle, and a picture redrawn only every few passes.
#include "TestSupport.h"
#include "elements/Element.h"
#include "world/Overview.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
// Solid tiles, so that a cell's colour is its tile's.
void writeTiles() {
    for (const auto& [name, colour] : {std::pair{"ground0", makecol(0, 0, 200)},
                                       std::pair{"wall0", makecol(120, 60, 0)}}) {
        BITMAP* tile = solidBitmap(50, 50, colour);
        saveImage(name, tile);
        destroy_bitmap(tile);
    }
}
} // namespace

// 14 x 10 cells take 14 pixels each: 196 x 140 from (10, 450). The view covers it all.
TEST(OverviewTest, ASmallWorldShowsEveryCellCreatureAndTheView) {
    TempDir dir;
    writeTiles();
    // The cyclope walled in, so that it stays where it was drawn.
    std::vector<std::string> elements = filled(14, 10, '.');
    elements[1].replace(4, 3, "###");
    elements[2].replace(3, 4, "@#C#");
    elements[3].replace(4, 3, "###");
    auto world = makeWorld(filled(14, 10, 'g'), elements);
    world->turn(InputSnapshot::pressing({KEY_O}));
    const struct {
        const char* what;
        int x, y, colour;
    } shown[] = {{"ground", 10 + 14 * 9, 450 + 14 * 7, makecol(0, 0, 200)},
                 {"wall", 10 + 14 * 4 + 1, 450 + 14 * 2 + 1, makecol(120, 60, 0)},
                 {"the avatar", 10 + 14 * 3 + 7, 450 + 14 * 2 + 7, makecol(255, 255, 255)},
                 {"the cyclope", 10 + 14 * 5 + 7, 450 + 14 * 2 + 7, makecol(255, 0, 0)},
                 {"ground around the dot", 10 + 14 * 3 + 1, 450 + 14 * 2 + 1, makecol(0, 0, 200)},
                 {"the view", 10, 500, makecol(255, 255, 0)},
                 {"the view", 205, 589, makecol(255, 255, 0)},
                 {"the border", 9, 500, makecol(255, 255, 255)}};
    for (const auto& p : shown) {
        EXPECT_EQ(p.colour, getpixel(world->getFrame(), p.x, p.y)) << p.what;
    }
}

// 400 x 300 cells take a pixel for each block of 2 x 2: 200 x 150 from (10, 440), and the view's
// 16 x 12 cells from (192, 144) are 8 x 6 pixels. A wall put in shows only with the next picture.
TEST(OverviewTest, ABigWorldShowsBlocksOfCellsAndIsRedrawnEveryFewPasses) {
    TempDir dir;
    writeTiles();
    std::vector<std::string> elements = filled(400, 300, '.');
    elements[150][200] = '@';
    auto world = makeWorld(filled(400, 300, 'g'), elements);
    world->turn(InputSnapshot::pressing({KEY_O}));
    BITMAP* frame = world->getFrame();
    EXPECT_EQ(makecol(255, 255, 0), getpixel(frame, 10 + 96, 440 + 72 + 3));
    EXPECT_EQ(makecol(255, 255, 0), getpixel(frame, 10 + 96 + 7, 440 + 72 + 3));
    EXPECT_EQ(makecol(0, 0, 200), getpixel(frame, 10 + 96 + 8, 440 + 72 + 3));
    world->set(World::elementLayer, 20, 20, new Element(world.get(), ElementKind::of(WALL)));
    for (int pass = 1; pass <= Overview::refreshPasses; ++pass) {
        world->turn(InputSnapshot());
        EXPECT_EQ(pass < Overview::refreshPasses ? makecol(0, 0, 200) : makecol(120, 60, 0),
                  getpixel(frame, 10 + 10, 440 + 10))
            << pass;
    }
}
