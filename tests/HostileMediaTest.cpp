// Images and music are files anyone can replace: a broken one must leave the game running with
// the placeholder image or in silence.
#include "Images.h"
#include "PeakMemory.h"
#include "TestSupport.h"
#include "World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

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

// Writes images/avatar0.bmp and reports whether the cache took it instead of the placeholder.
bool avatarImageLoads(const std::string& bytes) {
    writeFile("images/avatar0.bmp", bytes);
    Images images(TempDir::current().path());
    images.add("avatar");
    return images.get("avatar0") != images.get("void") && images.get("avatar0") != nullptr;
}

class HostileMedia : public ::testing::Test {
  protected:
    TempDir dir;
};
} // namespace

TEST_F(HostileMedia, AValidBmpLoads) {
    EXPECT_TRUE(avatarImageLoads(validBmp(50, 50)));
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

// Allegro's run-length decoder writes outside the bitmap when the data holds more line ends
// than the image has lines.
TEST_F(HostileMedia, ARunLengthEncodedBmpIsRefused) {
    std::string bmp = validBmp(50, 50);
    put16(bmp, 28, 8);
    put32(bmp, 30, 1);
    EXPECT_FALSE(avatarImageLoads(bmp));
}

TEST_F(HostileMedia, BmpsWithNoPixelsOrUnknownDepthsAreRefused) {
    std::string bmp = validBmp(50, 50);
    put32(bmp, 18, 0);
    EXPECT_FALSE(avatarImageLoads(bmp));
    bmp = validBmp(50, 50);
    put16(bmp, 28, 7);
    EXPECT_FALSE(avatarImageLoads(bmp));
}

// The older OS/2 header has 16-bit sizes; a 2 x 2 24-bit image needs two rows of 8 bytes.
TEST_F(HostileMedia, AnOs2BmpLoadsUnlessRowsAreMissing) {
    std::string bmp("BM\0\0\0\0\0\0\0\0\x1a\0\0\0\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0", 26);
    bmp += std::string(16, '\x40');
    put32(bmp, 2, bmp.size());
    EXPECT_TRUE(avatarImageLoads(bmp));
    EXPECT_FALSE(avatarImageLoads(bmp.substr(0, bmp.size() - 1)));
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
