// What V shows over the view: the bars, the flash of a blow and the mark of a bite where they
// belong, from the rules' own counters.
#include "view/Vitals.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
// Ground tiles are blue, so that no bar colour is mistaken for land.
void writeGround() {
    BITMAP* tile = solidBitmap(50, 50, makecol(0, 0, 200));
    saveImage("ground0", tile);
    destroy_bitmap(tile);
}

class VitalsTest : public ::testing::Test {
  protected:
    // The avatar at (2, 6) over a tree, another tree at (5, 7), a cyclope walled in at (10, 6).
    // The view's origin is (0, 0): a cell's window pixel is its grid cell times 50.
    void SetUp() override {
        writeGround();
        std::vector<std::string> elements = filled(20, 12, '.');
        elements[5].replace(9, 3, "###");
        elements[6].replace(9, 3, "#C#");
        elements[7].replace(9, 3, "###");
        elements[6][2] = '@';
        elements[7][2] = elements[7][5] = 'T';
        world = makeWorld(filled(20, 12, 'g'), elements);
        avatar = world->getAvatar();
        cyclope = world->get(1, 10, 6);
        lowerHelthTo(avatar, 40);
    }

    int pixel(int x, int y) const { return getpixel(Game::of(*world).getFrame(), x, y); }

    TempDir dir;
    std::unique_ptr<World> world;
    Element* avatar = nullptr;
    Element* cyclope = nullptr;
};
} // namespace

TEST_F(VitalsTest, VShowsHealthBlowsBitesAndFruitOverTheView) {
    const int green = makecol(0, 200, 0);
    const int lost = makecol(96, 0, 0);
    const int red = makecol(255, 0, 0);
    const int orange = makecol(255, 150, 0);
    Game::of(*world).turn(*world, InputSnapshot::pressing({Action::vitals}));
    avatar->attack(cyclope);
    avatar->eat(world->get(1, 2, 7));
    // Eaten bare: it has nothing left until it regrows a unit, 20 passes on.
    world->get(1, 5, 7)->setFood(0);
    world->draw();
    const struct {
        const char* what;
        int x, y, colour;
    } shown[] = {
        // The avatar's bar, 12 pixels over its cell from x 105: 16 of 40 pixels for health 40.
        // The blow landed on the cyclope, not on the avatar, which is not under attack.
        {"health", 120, 290, green},
        {"health lost", 121, 290, lost},
        {"health, down to the bar's bottom row", 120, 292, green},
        {"health lost, to the bar's last pixel", 144, 290, lost},
        {"the bar's black frame after it", 145, 290, makecol(0, 0, 0)},
        {"bite mark", 144, 306, makecol(255, 230, 0)},
        {"bite mark's right edge, 6 pixels in", 148, 306, makecol(255, 230, 0)},
        {"no flash on the hitter", 100, 325, makecol(0, 0, 200)},
        {"flash", 500, 325, red},
        {"flash down to the cell's last row", 525, 349, red},
        {"flash, two pixels thick", 501, 325, red},
        {"flash's top, two pixels thick", 520, 301, red},
        // The tree bitten once has 90 of 100 fruit: 36 pixels; the bare one is grey.
        {"fruit", 140, 340, orange},
        {"fruit eaten", 141, 340, makecol(80, 40, 0)},
        {"bare tree", 255, 340, makecol(128, 128, 128)},
    };
    for (const auto& p : shown) {
        EXPECT_EQ(p.colour, pixel(p.x, p.y)) << p.what << " at " << p.x << ", " << p.y;
    }
    EXPECT_NE(makecol(255, 230, 0), pixel(149, 306))
        << "the bite mark, 4 pixels round, ends at 148";
    Game::of(*world).turn(*world, InputSnapshot::pressing({Action::vitals}));
    for (const auto& p : shown) {
        EXPECT_NE(p.colour == makecol(0, 0, 200) ? -1 : p.colour, pixel(p.x, p.y)) << p.what;
    }
}

// The flash of a blow lasts as many of the hit creature's turns as it is meant to, and no more.
TEST_F(VitalsTest, TheFlashOfABlowLastsItsTurns) {
    Game::of(*world).turn(*world, InputSnapshot::pressing({Action::vitals}));
    avatar->attack(cyclope);
    for (int turns = 0; turns <= Vitals::flashTurns; ++turns) {
        world->draw();
        EXPECT_EQ(turns < Vitals::flashTurns, pixel(500, 325) == makecol(255, 0, 0)) << turns;
        Game::of(*world).turn(*world, InputSnapshot());
    }
}

// A carcass shows the meat left on it, as a tree its fruit.
TEST_F(VitalsTest, ACarcassShowsItsMeat) {
    Game::of(*world).turn(*world, InputSnapshot::pressing({Action::vitals}));
    kill(cyclope);
    world->draw();
    EXPECT_EQ(makecol(255, 150, 0), pixel(510, 290));
    EXPECT_EQ(makecol(255, 150, 0), pixel(544, 290));
}
