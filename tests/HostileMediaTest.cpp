// Images and music are files anyone can replace: a broken one must leave the game running with
// the placeholder image or in silence.
#include "PalettedBmp.h"
#include "PeakMemory.h"
#include "TestSupport.h"
#include "images/BitmapFile.h"
#include "images/Images.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes a file into the test's media folder.
void writeFile(const std::string& name, const std::string& bytes) {
    TempDir::current().write(name, bytes);
}

// A valid 24-bit BMP of the given size, as Allegro saves it.
std::string validBmp(int width, int height) {
    BITMAP* bitmap = create_bitmap(width, height);
    clear_to_color(bitmap, makecol(10, 200, 30));
    const std::string path = TempDir::current().file("valid.bmp");
    save_bitmap(path.c_str(), bitmap, nullptr);
    destroy_bitmap(bitmap);
    std::string bytes = readFile(path);
    std::remove(path.c_str());
    return bytes;
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// A Windows BMP of 2 x 2 black pixels of the given depth, with its colour masks after the header
// when its compression is 3 (bit fields).
std::string windowsBmp(int bitsPerPixel, std::uint32_t compression) {
    const std::uint32_t offset = compression == 3 ? 66 : 54;
    const auto rowBytes = static_cast<std::size_t>(2 * bitsPerPixel + 31) / 32 * 4;
    std::string bmp = "BM" + std::string(offset + 2 * rowBytes - 2, '\0');
    // The data offset, the header's size, the width and the height, then one plane.
    put32(bmp, 10, offset);
    put32(bmp, 14, 40);
    put32(bmp, 18, 2);
    put32(bmp, 22, 2);
    put16(bmp, 26, 1);
    put16(bmp, 28, static_cast<std::uint16_t>(bitsPerPixel));
    put32(bmp, 30, compression);
    if (compression == 3) {
        const bool wide = bitsPerPixel == 32;
        put32(bmp, 54, wide ? 0xFF0000 : 0xF800);
        put32(bmp, 58, wide ? 0xFF00 : 0x7E0);
        put32(bmp, 62, wide ? 0xFF : 0x1F);
    }
    put32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    return bmp;
}

// Writes images/avatar0.bmp and reports whether the cache took it instead of the placeholder.
bool avatarImageLoads(const std::string& bytes) {
    writeFile("images/avatar0.bmp", bytes);
    Images images(TempDir::current().path());
    images.add("avatar");
    return images.get("avatar0") != images.get("void") && images.get("avatar0") != nullptr;
}

bool samePixels(BITMAP* a, BITMAP* b) {
    if (a->w != b->w || a->h != b->h) {
        return false;
    }
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (getpixel(a, x, y) != getpixel(b, x, y)) {
                return false;
            }
        }
    }
    return true;
}

// Writes both files as frames of "avatar"; true when the cache loaded both, pixel for pixel equal.
bool loadAsTheSamePicture(const std::string& first, const std::string& second) {
    writeFile("images/avatar0.bmp", first);
    writeFile("images/avatar1.bmp", second);
    Images images(TempDir::current().path());
    images.add("avatar");
    BITMAP* placeholder = images.get("void");
    return images.get("avatar0") != placeholder && images.get("avatar1") != placeholder &&
           samePixels(images.get("avatar0"), images.get("avatar1"));
}

std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (int value : values) {
        result += static_cast<char>(value);
    }
    return result;
}

// Repeats, and stretches of 2 to 11 different indices (odd and even, every length modulo 4 for
// the padding of RLE4), the last of them ending exactly at the right edge.
PalettedPicture sprite() {
    PalettedPicture picture{37, 9, {}};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int index = x < 3 + y ? x + y
                              : x < 20  ? 5
                              : x < 22  ? x - 10
                              : x < 30  ? 9
                                        : x * 7 + y;
            picture.indices.push_back(static_cast<std::uint8_t>(index % 16));
        }
    }
    return picture;
}

class HostileMedia : public ::testing::Test {
  protected:
    TempDir dir;
};
} // namespace

TEST_F(HostileMedia, AValidBmpLoads) {
    EXPECT_TRUE(avatarImageLoads(validBmp(50, 50)));
    // 16 and 32 bits a pixel load plain or with colour masks, 24 bits plain only.
    const struct {
        int bits;
        std::uint32_t compression;
        bool loads;
    } depths[] = {{16, 0, true}, {16, 3, true}, {32, 0, true},
                  {32, 3, true}, {24, 0, true}, {24, 3, false}};
    for (const auto& d : depths) {
        EXPECT_EQ(d.loads, avatarImageLoads(windowsBmp(d.bits, d.compression)))
            << d.bits << " bits, compression " << d.compression;
    }
}

TEST_F(HostileMedia, ATruncatedBmpFallsBackToThePlaceholder) {
    const std::string bmp = validBmp(50, 50);
    EXPECT_FALSE(avatarImageLoads(bmp.substr(0, bmp.size() / 2)));
    EXPECT_FALSE(avatarImageLoads(bmp.substr(0, 30)));
    EXPECT_FALSE(avatarImageLoads(bmp.substr(0, 2)));
    EXPECT_FALSE(avatarImageLoads(std::string()));
}

TEST_F(HostileMedia, GarbageNamedBmpFallsBackToThePlaceholder) {
    std::string garbage(5000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>(i * 7919 % 251);
    }
    EXPECT_FALSE(avatarImageLoads(garbage));
    garbage[0] = 'B';
    garbage[1] = 'M';
    EXPECT_FALSE(avatarImageLoads(garbage));
}

// Allegro would allocate and fill about 2 GB for this 54-byte file, taking tens of seconds.
TEST_F(HostileMedia, ABmpDeclaringHugeDimensionsIsRefusedWithoutAllocating) {
    std::string header = validBmp(1, 1).substr(0, 54);
    put32(header, 18, 20000);
    put32(header, 22, 20000);
    PeakMemory memory;
    EXPECT_FALSE(avatarImageLoads(header));
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb(), 8192);
    }
}

// The pixel bytes of a 24-bit picture, read as RLE8 data, hold runs longer than its rows.
TEST_F(HostileMedia, ARunLengthEncodedBmpIsRefused) {
    std::string bmp = validBmp(50, 50);
    put16(bmp, 28, 8);
    put32(bmp, 30, 1);
    EXPECT_FALSE(avatarImageLoads(bmp));
}

// What picture editors save loads as the same picture uncompressed, up to 2048 pixels a side; so
// do deltas (the pixels skipped keep index 0) and an end of bitmap before the top row.
TEST_F(HostileMedia, ValidRunLengthBmpsLoadAsTheUncompressedPicture) {
    const PalettedPicture moved{4, 3, {5, 6, 7, 0, 0, 0, 0, 4, 3, 3, 0, 0}};
    const PalettedPicture wide{2048, 1, std::vector<std::uint8_t>(2048, 3)};
    const PalettedPicture tall{1, 2048, std::vector<std::uint8_t>(2048, 3)};
    const struct {
        const char* name;
        std::string runLength;
        std::string uncompressed;
    } cases[] = {
        {"RLE8", runLengthBmp(sprite(), 8), uncompressedBmp(sprite(), 8)},
        {"RLE4", runLengthBmp(sprite(), 4), uncompressedBmp(sprite(), 4)},
        {"RLE8 2048 pixels wide", runLengthBmp(wide, 8), uncompressedBmp(wide, 8)},
        {"RLE8 2048 pixels tall", runLengthBmp(tall, 8), uncompressedBmp(tall, 8)},
        {"RLE8 delta",
         bmpWithData(4, 3, 8, BmpCompression::rle8,
                     bytes({2, 3, 0, 2, 1, 1, 1, 4, 0, 0, 0, 3, 5, 6, 7, 0, 0, 1})),
         uncompressedBmp(moved, 8)},
        {"RLE4 delta",
         bmpWithData(4, 3, 4, BmpCompression::rle4,
                     bytes({2, 0x33, 0, 2, 1, 1, 1, 0x44, 0, 0, 0, 3, 0x56, 0x70, 0, 1})),
         uncompressedBmp(moved, 4)},
    };
    for (const auto& bmp : cases) {
        EXPECT_TRUE(loadAsTheSamePicture(bmp.runLength, bmp.uncompressed)) << bmp.name;
    }
}

// Each file would make Allegro's decoder write outside the bitmap, read past the end of the file
// or allocate a bitmap of more than 2048 pixels a side. The first file is the sound one the
// broken ones are made from.
TEST_F(HostileMedia, RunLengthBmpsThatWouldOverrunGetThePlaceholder) {
    const auto rle8 = [](std::initializer_list<int> data) {
        return bmpWithData(4, 2, 8, BmpCompression::rle8, bytes(data));
    };
    const auto rle4 = [](std::initializer_list<int> data) {
        return bmpWithData(4, 2, 4, BmpCompression::rle4, bytes(data));
    };
    const std::string sound = rle8({4, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1});
    ASSERT_TRUE(avatarImageLoads(sound));
    std::string topDown = sound, absurd = sound, wrongDepth = sound, offsetPastEnd = sound,
                offsetInHeader = sound, noWidth = sound, negativeWidth = sound;
    put32(topDown, 22, static_cast<std::uint32_t>(-2));
    put32(absurd, 18, 20000);
    put32(absurd, 22, 20000);
    put16(wrongDepth, 28, 24);
    put32(offsetPastEnd, 10, sound.size() + 1);
    put32(offsetInHeader, 10, 40);
    put32(noWidth, 18, 0);
    put32(negativeWidth, 18, static_cast<std::uint32_t>(-4));
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"run past the row", rle8({5, 7, 0, 1})},
        {"run one pixel past the row", rle8({4, 7, 1, 7, 0, 1})},
        {"absolute run past the row", rle8({2, 7, 0, 3, 1, 2, 3, 0, 0, 1})},
        {"delta past the row, then a pixel", rle8({0, 2, 4, 0, 1, 7, 0, 1})},
        {"delta above the top, then a pixel", rle8({0, 2, 0, 2, 1, 7, 0, 1})},
        {"data ends inside a row", rle8({4, 7, 0, 0, 2, 7})},
        {"data ends inside an absolute run", rle8({0, 4, 1, 2})},
        {"no line end before the file ends", rle8({4, 7})},
        {"RLE4 run past the row", rle4({5, 0x12, 0, 1})},
        {"RLE4 absolute run past the row", rle4({0, 5, 0x12, 0x34, 0x50, 0, 0, 1})},
        {"RLE4 absolute run cut short", rle4({0, 4, 0x12})},
        {"top-down rows", topDown},
        {"20000 x 20000 pixels", absurd},
        {"2049 pixels wide", runLengthBmp({2049, 1, std::vector<std::uint8_t>(2049, 3)}, 8)},
        {"2049 pixels tall", runLengthBmp({1, 2049, std::vector<std::uint8_t>(2049, 3)}, 8)},
        {"RLE8 of 24-bit pixels", wrongDepth},
        {"data offset past the end", offsetPastEnd},
        {"data offset inside the header", offsetInHeader},
        {"no width", noWidth},
        {"a width of less than none", negativeWidth},
    };
    for (const auto& bmp : cases) {
        EXPECT_FALSE(avatarImageLoads(bmp.file)) << bmp.name;
    }
}

// Allegro reads up to the data offset byte by byte, past the end too: 16 s for this one.
TEST_F(HostileMedia, ABmpWhoseDataLiesFarPastItsEndIsRefused) {
    std::string bmp = validBmp(13, 2);
    put32(bmp, 10, 0x76000000);
    EXPECT_FALSE(avatarImageLoads(bmp));
}

// Allegro's 64-bit build reads the height -50 as 2^32 - 50 and asks malloc for about 2^64 bytes
// (a sanitizer build aborts there); the check must not hand such a file over.
TEST_F(HostileMedia, ATopDownBmpIsRefusedBeforeAllegroSeesIt) {
    std::string bmp = validBmp(50, 50);
    put32(bmp, 22, static_cast<std::uint32_t>(-50));
    writeFile("top-down.bmp", bmp);
    EXPECT_FALSE(BitmapFile::isSafeToLoad(TempDir::current().file("top-down.bmp")));
}

// Only the compressions the check knows reach Allegro: one that is none only in its top byte is
// refused, though its pixels fit.
TEST_F(HostileMedia, AnUnknownCompressionIsRefusedBeforeAllegroSeesIt) {
    writeFile("unknown.bmp", windowsBmp(24, 0x1000000));
    EXPECT_FALSE(BitmapFile::isSafeToLoad(TempDir::current().file("unknown.bmp")));
}

TEST_F(HostileMedia, BmpsWithNoPixelsOrUnknownDepthsAreRefused) {
    std::string bmp = validBmp(50, 50);
    put32(bmp, 18, 0);
    EXPECT_FALSE(avatarImageLoads(bmp));
    bmp = validBmp(50, 50);
    put16(bmp, 28, 7);
    EXPECT_FALSE(avatarImageLoads(bmp));
}

// The older OS/2 header has 16-bit sizes; a 24-bit image needs its rows of 3 bytes a pixel, each
// padded to 4 bytes (two rows of 8 bytes for 2 x 2).
TEST_F(HostileMedia, AnOs2BmpLoadsUnlessRowsAreMissing) {
    for (const auto& [width, height] : {std::pair{2, 2}, {258, 2}, {2, 258}}) {
        std::string bmp("BM\0\0\0\0\0\0\0\0\x1a\0\0\0\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0", 26);
        put16(bmp, 18, width);
        put16(bmp, 20, height);
        bmp += std::string(static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height), '\x40');
        put32(bmp, 2, bmp.size());
        EXPECT_TRUE(avatarImageLoads(bmp)) << width << " x " << height;
        EXPECT_FALSE(avatarImageLoads(bmp.substr(0, bmp.size() - 1))) << width << " x " << height;
    }
}

TEST_F(HostileMedia, AWorldWithBrokenImagesRunsAndDraws) {
    const std::string bmp = validBmp(50, 50);
    writeFile("images/avatar0.bmp", bmp.substr(0, 100));
    writeFile("images/ground0.bmp", std::string(3000, 'x'));
    std::string huge = bmp.substr(0, 54);
    put32(huge, 18, 30000);
    writeFile("images/cyclope0.bmp", huge);
    writeFile("images/spider0.bmp", bmp);
    auto world = makeWorld(filled(4, 3, 'g'), {"@...", ".C..", "...S"});
    passes(*world, 20);
    Images* images = world->getImages();
    EXPECT_EQ(images->get("void"), images->get("avatar0"));
    EXPECT_EQ(images->get("void"), images->get("ground0"));
    EXPECT_EQ(images->get("void"), images->get("cyclope0"));
    EXPECT_NE(images->get("void"), images->get("spider0"));
}

TEST_F(HostileMedia, ACorruptMidiLeavesTheWorldSilent) {
    const std::string header("MThd\0\0\0\6\0\1\0\2\0\x60", 14);
    for (const std::string& midi :
         {std::string(4000, '\x90'), header, header + std::string("MTrk\xff\xff\xff\xf0", 8),
          std::string("MThd\xff\xff\xff\xff", 8), std::string()}) {
        writeFile("clkcwhrv.mid", midi);
        auto world = makeWorld(filled(2, 1, 'g'), {"@."});
        passes(*world, 5);
        EXPECT_LT(midi_pos, 0);
    }
}
