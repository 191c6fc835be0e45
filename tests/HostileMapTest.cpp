// Map files are edited by hand and shared: whatever one holds, the reader must accept or refuse
// it without crashing, hanging or using memory out of proportion to it.
#include "GeneratedFile.h"
#include "PeakMemory.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "world/LoadWorld.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {
const std::uint64_t megabyte = 1 << 20;

LoadWorld::Status statusOf(std::FILE* source, int* width = nullptr) {
    LoadWorld::Status status = LoadWorld::LOADED;
    LoadWorld reader("hostile.map", status, source);
    std::fclose(source);
    if (width != nullptr) {
        *width = reader.getWidth();
    }
    return status;
}

LoadWorld::Status statusOf(const std::string& text, int* width = nullptr) {
    std::FILE* source = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), source);
    std::rewind(source);
    return statusOf(source, width);
}

// A map of the given size whose land and element sections hold the given numbers of codes.
std::string mapWithCodes(const std::string& width, const std::string& height, int landCodes,
                         int elementCodes) {
    std::string text = "<world>{[" + width + "][" + height + "]}\n<land>{";
    for (int i = 0; i < landCodes; ++i) {
        text += "[102]";
    }
    text += "}\n<element>{";
    for (int i = 0; i < elementCodes; ++i) {
        text += i == 0 ? "[1]" : "[0]";
    }
    return text + "}\n";
}

std::string valueMap(const std::string& widthValue) {
    return "<world>{[" + widthValue + "][1]}<land>{[100][100]}<element>{[1][0]}";
}
} // namespace

TEST(HostileMap, EmptyFileIsRefused) {
    EXPECT_EQ(LoadWorld::INVALID, statusOf(std::string()));
}

TEST(HostileMap, BinaryGarbageIsRefused) {
    std::mt19937 random(7);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    EXPECT_EQ(LoadWorld::INVALID, statusOf(garbage));
}

TEST(HostileMap, FilesOfOnlyOpeningBracketsOrBracesAreRefused) {
    for (const char* c : {"[", "{", "<"}) {
        GeneratedFile file({{c, megabyte}});
        EXPECT_EQ(LoadWorld::INVALID, statusOf(file.open())) << c;
    }
}

TEST(HostileMap, UnclosedTagsAndValuesAreRefused) {
    const std::string valid = mapWithCodes("2", "1", 2, 2);
    ASSERT_EQ(LoadWorld::LOADED, statusOf(valid));
    EXPECT_EQ(LoadWorld::INVALID, statusOf("<world>{[2][1"));
    EXPECT_EQ(LoadWorld::INVALID, statusOf("<world"));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valid.substr(0, valid.size() - 3)));
    std::string unclosedTag = valid;
    unclosedTag.erase(unclosedTag.find("land>") + 4, 1);
    EXPECT_EQ(LoadWorld::INVALID, statusOf(unclosedTag));
}

TEST(HostileMap, OnlyTheFirst254CharactersOfAHundredThousandCharacterValueCount) {
    int width = 0;
    EXPECT_EQ(LoadWorld::LOADED, statusOf(valueMap("2" + std::string(99999, 'x')), &width));
    EXPECT_EQ(2, width);
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valueMap(std::string(254, ' ') + "2")));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valueMap(std::string(100000, '9')), &width));
    EXPECT_EQ(INT_MAX, width);
}

TEST(HostileMap, NumbersBeyond32BitsDoNotWrapAround) {
    int width = 0;
    // 2^32 + 2 would read as 2 if it wrapped, and the two codes would then fit.
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valueMap("4294967298"), &width));
    EXPECT_EQ(INT_MAX, width);
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valueMap("-4294967294"), &width));
    EXPECT_EQ(INT_MIN, width);
    EXPECT_EQ(LoadWorld::INVALID, statusOf(valueMap("99999999999999999999999999"), &width));
    EXPECT_EQ(INT_MAX, width);
}

TEST(HostileMap, CodesBeyond32BitsAreClampedAndMakeNothing) {
    TempDir dir;
    dir.write("orvalle.map", "<world>{[2][1]}<land>{[4294967396][100]}"
                             "<element>{[-4294967295][1]}");
    LoadWorld reader(dir.file("orvalle.map"));
    EXPECT_EQ(INT_MAX, reader.getNext(0));
    EXPECT_EQ(INT_MIN, reader.getNext(1));
    World world(dir.file("orvalle.map"), dir.path());
    EXPECT_EQ(nullptr, world.get(0, 0, 0));
    EXPECT_EQ(nullptr, world.get(1, 0, 0));
    EXPECT_NE(nullptr, world.getAvatar());
}

TEST(HostileMap, ZeroAndNegativeDimensionsAreRefused) {
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("0", "0", 0, 0)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("0", "5", 0, 0)));
    // Their product is 6, and so is the number of codes.
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("-2", "-3", 6, 6)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("-1", "1", 1, 1)));
}

TEST(HostileMap, DimensionsWhoseProductOverflowsAreRefusedWithoutAllocating) {
    PeakMemory memory;
    // 65536 x 65536 is 2^32 cells, 0 in 32-bit arithmetic: as many as the codes given.
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("65536", "65536", 0, 0)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("2147483647", "2", 0, 0)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("65537", "65537", 1, 1)));
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb(), 4096);
    }
}

TEST(HostileMap, OneCodeTooManyOrTooFewIsRefused) {
    EXPECT_EQ(LoadWorld::LOADED, statusOf(mapWithCodes("3", "2", 6, 6)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("3", "2", 7, 6)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("3", "2", 5, 6)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("3", "2", 6, 7)));
    EXPECT_EQ(LoadWorld::INVALID, statusOf(mapWithCodes("3", "2", 6, 5)));
}

// The reader keeps two codes per cell: 2000 x 2000 (a 32 MB file) needs about 32 MB, plus the
// growth of its two lists. The world itself is measured on a smaller map below.
TEST(HostileMap, A2000By2000MapLoadsInBoundedMemory) {
    const std::uint64_t cells = std::uint64_t{2000} * 2000;
    GeneratedFile file({{"<world>{[2000][2000]}\n<land>{", 1},
                        {"[101]", cells - 1},
                        {"[300]}\n<element>{[1]", 1},
                        {"[0]", cells - 2},
                        {"[5]}\n", 1}});
    PeakMemory memory;
    LoadWorld::Status status = LoadWorld::INVALID;
    std::FILE* source = file.open();
    LoadWorld reader("big.map", status, source);
    std::fclose(source);
    ASSERT_EQ(LoadWorld::LOADED, status);
    EXPECT_EQ(2000, reader.getWidth());
    EXPECT_EQ(2000, reader.getHeight());
    EXPECT_EQ(1, reader.getNext(1));
    EXPECT_EQ(101, reader.getNext(0));
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb(), 100 * 1024);
    }
}

TEST(HostileMap, AWorldNeedsBoundedMemoryPerCell) {
    TempDir dir;
    const int side = 300;
    PeakMemory memory;
    {
        auto world = makeWorld(filled(side, side, 'L'), filled(side, side, '.'));
        passes(*world, 2);
        EXPECT_EQ(side, world->getWidth());
    }
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb() * 1024 / (long{side} * side), 1024);
    }
}

TEST(HostileMap, TwoHundredMegabytesOfValuesOutsideAnySectionAreStreamedAndRefused) {
    GeneratedFile file({{"{[123456789][7]", 200 * megabyte / 15}, {"}", 1}});
    ASSERT_GE(file.size(), 200 * 1000 * 1000u);
    PeakMemory memory;
    EXPECT_EQ(LoadWorld::INVALID, statusOf(file.open()));
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb(), 4096);
    }
}

TEST(HostileMap, ATwoHundredMegabyteValueNeverClosedIsStreamedAndRefused) {
    GeneratedFile file({{"<world>{[", 1}, {"1234567890", 20 * megabyte}});
    PeakMemory memory;
    EXPECT_EQ(LoadWorld::INVALID, statusOf(file.open()));
    if (PeakMemory::isMeaningful()) {
        EXPECT_LT(memory.growthKb(), 4096);
    }
}

TEST(HostileMapDeathTest, AMissingFileEndsTheProgramWithStatus1) {
    TempDir dir;
    EXPECT_EXIT(World(dir.file("missing.map"), dir.path()), ::testing::ExitedWithCode(1),
                "Error loanding file.*/missing\\.map");
}

TEST(HostileMapDeathTest, AnInvalidFileEndsTheProgramWithStatus1) {
    TempDir dir;
    dir.write("bad.map", mapWithCodes("65536", "65536", 0, 0));
    EXPECT_EXIT(World(dir.file("bad.map"), dir.path()), ::testing::ExitedWithCode(1),
                "Invalid world file: .*/bad\\.map");
}

TEST(HostileMap, WorldsWithoutOrWithTwoAvatarsRun) {
    TempDir dir;
    auto lonely = makeWorld(filled(3, 1, 'g'), {"CS."});
    passes(*lonely, 50);
    EXPECT_EQ(nullptr, lonely->getAvatar());
    auto twins = makeWorld(filled(3, 1, 'g'), {"@.@"});
    passes(*twins, 50);
    ASSERT_NE(nullptr, twins->getAvatar());
    EXPECT_EQ(nullptr, twins->get(1, 2, 0));
}

TEST(HostileMap, ASecondMapIsRefusedAndTheGridStaysAsItWas) {
    TempDir dir;
    auto world = makeWorld(filled(2, 2, 'g'), {"@.", ".C"});
    dir.write("big.map", mapText(filled(40, 40, 'g'), filled(40, 40, 'T')));
    ::testing::internal::CaptureStderr();
    world->loadWorld(dir.file("big.map"));
    EXPECT_NE(std::string::npos,
              ::testing::internal::GetCapturedStderr().find("already holds a map"));
    EXPECT_EQ(2, world->getWidth());
    EXPECT_EQ(nullptr, world->get(0, 30, 30));
    EXPECT_EQ(CYCLOPE, world->get(1, 1, 1)->getType());
    passes(*world, 3);
}
