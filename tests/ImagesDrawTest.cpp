#include "TestSupport.h"
#include "images/Images.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
// A 100 x 100 sprite: mask colour with a ring, a block and a stray pixel, so that it has runs of
// every length; and an opaque 50 x 50 tile with a gradient.
void writeImages() {
    BITMAP* sprite = solidBitmap(100, 100, makecol(255, 0, 255));
    circle(sprite, 50, 50, 30, makecol(250, 200, 10));
    rectfill(sprite, 10, 60, 39, 89, makecol(0, 0, 255));
    putpixel(sprite, 99, 0, makecol(255, 255, 255));
    saveImage("cyclope0", sprite);
    destroy_bitmap(sprite);
    BITMAP* tile = create_bitmap(50, 50);
    for (int y = 0; y < 50; ++y) {
        hline(tile, 0, y, 49, makecol(y * 5, 100, 250 - y * 5));
    }
    saveImage("ground0", tile);
    destroy_bitmap(tile);
}

BITMAP* patterned() {
    BITMAP* target = create_bitmap(160, 120);
    for (int x = 0; x < target->w; ++x) {
        vline(target, x, 0, target->h - 1, makecol(x, 255 - x, 77));
    }
    return target;
}

int differences(BITMAP* a, BITMAP* b) {
    int count = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            count += getpixel(a, x, y) != getpixel(b, x, y) ? 1 : 0;
        }
    }
    return count;
}

class ImagesDrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeImages();
        images.add("cyclope");
        images.add("ground");
    }

    // Draws the bitmap through the cache and through draw_sprite at each place, on equal
    // backgrounds, and counts the pixels that differ.
    int differencesFromDrawSprite(BITMAP* bitmap) {
        const int places[][2] = {{0, 0}, {30, 10}, {-20, -35}, {110, 90}, {150, -5}};
        int count = 0;
        for (const auto& place : places) {
            BITMAP* cached = patterned();
            BITMAP* masked = patterned();
            images.draw(cached, bitmap, place[0], place[1]);
            draw_sprite(masked, bitmap, place[0], place[1]);
            count += differences(cached, masked);
            destroy_bitmap(cached);
            destroy_bitmap(masked);
        }
        return count;
    }

    TempDir dir;
    Images images{dir.path()};
};
} // namespace

TEST_F(ImagesDrawTest, AnOpaqueTileIsCopiedWithTheSamePixels) {
    ASSERT_TRUE(images.isOpaque(images.get("ground0")));
    EXPECT_EQ(0, differencesFromDrawSprite(images.get("ground0")));
}

TEST_F(ImagesDrawTest, ASpriteOfTheCacheLeavesOutExactlyItsMaskPixels) {
    ASSERT_FALSE(images.isOpaque(images.get("cyclope0")));
    EXPECT_EQ(0, differencesFromDrawSprite(images.get("cyclope0")));
    EXPECT_EQ(0, differencesFromDrawSprite(images.get("void")));
}

TEST_F(ImagesDrawTest, ABitmapFromElsewhereIsDrawnMaskedToo) {
    BITMAP* foreign = create_bitmap(40, 40);
    clear_to_color(foreign, bitmap_mask_color(foreign));
    rectfill(foreign, 5, 5, 20, 30, makecol(10, 20, 30));
    EXPECT_EQ(0, differencesFromDrawSprite(foreign));
    destroy_bitmap(foreign);
}

TEST_F(ImagesDrawTest, NoBitmapDrawsNothing) {
    BITMAP* target = patterned();
    BITMAP* untouched = patterned();
    images.draw(target, nullptr, 0, 0);
    EXPECT_EQ(0, differences(target, untouched));
    destroy_bitmap(target);
    destroy_bitmap(untouched);
}
