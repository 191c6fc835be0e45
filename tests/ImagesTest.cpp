#include "images/Images.h"
#include "TestSupport.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {
// Writes images//<name><frame>.bmp for each frame; frame f is 10 + f pixels wide, so a loaded
// bitmap tells by its width which file it came from.
void writeFrames(const std::string& name, const std::vector<int>& frames) {
    for (int frame : frames) {
        BITMAP* bitmap = create_bitmap(10 + frame, 5);
        clear_to_color(bitmap, makecol(10 * frame, 20, 30));
        saveImage(name + std::to_string(frame), bitmap);
        destroy_bitmap(bitmap);
    }
}

// The file frame a bitmap was loaded from, -1 for the placeholder, -2 for none.
int fileFrame(Images& images, BITMAP* bitmap) {
    if (bitmap == images.get("void")) {
        return -1;
    }
    return bitmap == nullptr ? -2 : bitmap->w - 10;
}

int sourceFrame(Images& images, const std::string& key) {
    return fileFrame(images, images.get(key));
}

std::array<int, Images::frameCount> sourceFrames(Images& images, const std::string& name) {
    std::array<int, Images::frameCount> frames;
    for (int frame = 0; frame < Images::frameCount; ++frame) {
        frames[frame] = sourceFrame(images, name + std::to_string(frame));
    }
    return frames;
}
} // namespace

TEST(ImageCache, PlaceholderIsAMagentaSquareWithAWhiteCross) {
    Images images;
    BITMAP* placeholder = images.get("void");
    ASSERT_NE(nullptr, placeholder);
    EXPECT_EQ(50, placeholder->w);
    EXPECT_EQ(50, placeholder->h);
    const int white = makecol(255, 255, 255);
    // Both diagonals, corner to corner, every pixel of them.
    for (int x = 1; x < 50; ++x) {
        EXPECT_EQ(white, getpixel(placeholder, x, x)) << x;
        EXPECT_EQ(white, getpixel(placeholder, x, 50 - x)) << x;
    }
    EXPECT_EQ(white, getpixel(placeholder, 0, 0));
    EXPECT_EQ(makecol(255, 0, 255), getpixel(placeholder, 25, 5));
    EXPECT_FALSE(images.isOpaque(placeholder));
}

TEST(ImageCache, MissingFramesFollowTheFallbackChain) {
    struct Case {
        std::vector<int> files;
        std::array<int, Images::frameCount> shown;
    };
    const Case cases[] = {
        {{0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{0, 1, 2, 3}, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 0, 1, 0, 1, 0, 1}},
        {{0, 4, 5}, {0, 0, 0, 0, 4, 5, 0, 0, 0, 0, 0, 0, 4, 5, 4, 5}},
        {{0, 1}, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}},
        {{3}, {-1, -1, -1, 3, -1, -1, -1, 3, -1, -1, -1, -1, -1, -1, -1, -1}},
        {{}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFrames("avatar", c.files);
        Images images(dir.path());
        images.add("avatar");
        EXPECT_EQ(c.shown, sourceFrames(images, "avatar")) << c.files.size() << " files";
    }
}

TEST(ImageCache, UnknownKeysGiveNull) {
    TempDir dir;
    Images images(dir.path());
    images.add("avatar");
    EXPECT_EQ(nullptr, images.get("avatar16"));
    EXPECT_EQ(nullptr, images.get("Avatar0"));
    EXPECT_EQ(nullptr, images.get("cyclope0"));
}

TEST(ImageCache, UnreadableFilesFallBack) {
    TempDir dir;
    writeFrames("wall", {0});
    dir.write("images/wall1.bmp", "BM this is not a bitmap");
    dir.write("images/wall2.bmp", "");
    Images images(dir.path());
    images.add("wall");
    EXPECT_EQ(0, sourceFrame(images, "wall1"));
    EXPECT_EQ(0, sourceFrame(images, "wall2"));
}

TEST(ImageCache, KeysArePlainConcatenationsAndTheLaterStoreWins) {
    // Frame 10 of "a" and frame 0 of "a1" share the key "a10".
    TempDir dir;
    writeFrames("a", {0});
    Images images(dir.path());
    images.add("a");
    EXPECT_EQ(0, sourceFrame(images, "a10"));
    images.add("a1");
    EXPECT_EQ(-1, sourceFrame(images, "a10"));
    images.add("a");
    EXPECT_EQ(0, sourceFrame(images, "a10"));
}

TEST(ImageCache, FrameTablesFollowTheKeys) {
    TempDir dir;
    writeFrames("fire", {0, 1});
    Images images(dir.path());
    images.add("fire");
    const Images::Frames& frames = images.getFrames("fire");
    EXPECT_EQ(images.get("fire0"), frames[0]);
    EXPECT_EQ(images.get("fire1"), frames[1]);
    EXPECT_EQ(images.get("fire15"), frames[15]);
    EXPECT_EQ(nullptr, images.getFrames("unknown")[0]);
}

TEST(ImageCache, BitmapsWithoutMaskPixelsAreOpaque) {
    TempDir dir;
    writeFrames("rocks", {0});
    Images images(dir.path());
    images.add("rocks");
    EXPECT_TRUE(images.isOpaque(images.get("rocks0")));
    EXPECT_FALSE(images.isOpaque(images.get("void")));
}

// Elements built before a set is added again keep showing the frames they were built with.
TEST(ImageCache, AddingASetAgainLeavesWhatWasHandedOutAndGivesNewRecords) {
    // The set added again, and the file of frame 1 of the newest record's frames, meat and dead.
    const std::pair<const char*, std::array<int, 3>> cases[] = {
        {"cyclope", {1, 0, 0}}, {"meat", {0, 1, 0}}, {"dead", {0, 0, 1}}, {"spider", {0, 0, 0}}};
    for (const auto& [readded, shown] : cases) {
        SCOPED_TRACE(readded);
        TempDir dir;
        Images images(dir.path());
        for (const char* set : {"cyclope", "spider", "meat", "dead"}) {
            writeFrames(set, {0});
            images.add(set);
        }
        // A spider that took the looks of a cyclope.
        const Images::KindFrames& held = images.getKindFrames("spider", "cyclope");
        const Images::Frames& heldTable = images.getFrames(readded);
        const std::array before{*held.frames, *held.meat, *held.dead, heldTable};
        const unsigned revision = images.revision();
        writeFrames(readded, {1});
        images.add(readded);
        EXPECT_EQ(before, (std::array{*held.frames, *held.meat, *held.dead, heldTable}));
        const Images::KindFrames& newest = images.getKindFrames("spider", "cyclope");
        EXPECT_EQ("spider", *newest.name);
        EXPECT_EQ(shown, (std::array{fileFrame(images, (*newest.frames)[1]),
                                     fileFrame(images, (*newest.meat)[1]),
                                     fileFrame(images, (*newest.dead)[1])}));
        EXPECT_EQ(1, fileFrame(images, images.getFrames(readded)[1]));
        EXPECT_LT(revision, images.revision());
    }
}
