#include "TestSupport.h"
#include "elements/Element.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

namespace {
// Ground is solid green; lawn is green on its left half and mask colour on its right half.
void writeImages() {
    BITMAP* tile = solidBitmap(50, 50, makecol(0, 200, 0));
    saveImage("ground0", tile);
    rectfill(tile, 25, 0, 49, 49, bitmap_mask_color(tile));
    saveImage("lawn0", tile);
    destroy_bitmap(tile);
}

// The frame is not cleared as a whole: these tests draw a frame, change the land under the
// view and check that nothing of the earlier frame shows through.
class FrameClearTest : public ::testing::Test {
  protected:
    void SetUp() override { writeImages(); }

    static void turn(World& world) { Game::of(world).turn(world, InputSnapshot()); }
    static int pixel(World& world, int x, int y) {
        return getpixel(Game::of(world).getFrame(), x, y);
    }

    TempDir dir;
};
} // namespace

TEST_F(FrameClearTest, ACellThatLostItsLandTurnsBlack) {
    auto world = makeWorld(filled(20, 15, 'g'), filled(20, 15, '.'));
    turn(*world);
    ASSERT_EQ(makecol(0, 200, 0), pixel(*world, 125, 125));
    const std::unique_ptr<Element> taken(world->get(0, 2, 2));
    world->set(0, 2, 2, nullptr);
    turn(*world);
    EXPECT_EQ(makecol(0, 0, 0), pixel(*world, 125, 125));
    EXPECT_EQ(makecol(0, 200, 0), pixel(*world, 175, 125));
}

TEST_F(FrameClearTest, TransparentPartsOfATileAreBlackWhereGroundWasBefore) {
    std::vector<std::string> land = filled(20, 15, 'g');
    land[14][19] = 'L';
    auto world = makeWorld(land, filled(20, 15, '.'));
    turn(*world);
    ASSERT_EQ(makecol(0, 200, 0), pixel(*world, 140, 110));
    Element* ground = world->get(0, 2, 2);
    Element* lawn = world->get(0, 19, 14);
    world->set(0, 2, 2, lawn);
    world->set(0, 19, 14, ground);
    turn(*world);
    EXPECT_EQ(makecol(0, 200, 0), pixel(*world, 110, 110));
    EXPECT_EQ(makecol(0, 0, 0), pixel(*world, 140, 110));
}
