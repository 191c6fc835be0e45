#include "world/LoadWorld.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Reading {
    LoadWorld::Status status;
    int width;
    int height;
    std::vector<int> land;
    std::vector<int> elements;
};

std::vector<int> drain(LoadWorld& reader, int layer, int count) {
    std::vector<int> codes(static_cast<std::size_t>(count));
    for (int& code : codes) {
        code = reader.getNext(layer);
    }
    return codes;
}

// Runs the reader over the text through a temporary stream, never ending the program.
LoadWorld::Status readInto(const std::string& text, LoadWorld*& reader) {
    std::FILE* source = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), source);
    std::rewind(source);
    LoadWorld::Status status;
    reader = new LoadWorld("memory.map", status, source);
    std::fclose(source);
    return status;
}

Reading readText(const std::string& text, int codesToTake = 4) {
    LoadWorld* reader = nullptr;
    LoadWorld::Status status = readInto(text, reader);
    Reading result{status, reader->getWidth(), reader->getHeight(), {}, {}};
    result.land = drain(*reader, 0, codesToTake);
    result.elements = drain(*reader, 1, codesToTake);
    delete reader;
    return result;
}

const std::string twoByTwo = "<world>{[2][2]}<land>{[100][101][102][103]}<element>{[1][0][2][5]}";
} // namespace

TEST(MapReader, ReadsSizeAndBothLayersInFileOrder) {
    Reading r = readText(twoByTwo);
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ(2, r.width);
    EXPECT_EQ(2, r.height);
    EXPECT_EQ((std::vector<int>{100, 101, 102, 103}), r.land);
    EXPECT_EQ((std::vector<int>{1, 0, 2, 5}), r.elements);
}

TEST(MapReader, CodesAfterTheEndReadAsZeroAndResetRewinds) {
    LoadWorld* loaded = nullptr;
    readInto(twoByTwo, loaded);
    LoadWorld& reader = *loaded;
    EXPECT_EQ((std::vector<int>{100, 101, 102, 103, 0, 0}), drain(reader, 0, 6));
    EXPECT_EQ(0, reader.getNext(2));
    reader.reset(0);
    EXPECT_EQ(100, reader.getNext(0));
    EXPECT_EQ(1, reader.getNext(1));
    reader.reset(7);
    EXPECT_EQ(101, reader.getNext(0));
    delete loaded;
}

TEST(MapReader, WorldValuesGiveWidthThenHeight) {
    // A zero leaves the width unset; a third value replaces the height.
    Reading zeroFirst =
        readText("<world>{[0][5][7]}<land>{" + std::string(std::size_t{35} * 5, ' ') + "}");
    EXPECT_EQ(5, zeroFirst.width);
    EXPECT_EQ(7, zeroFirst.height);
    Reading three = readText("<world>{[4][3][2]}");
    EXPECT_EQ(4, three.width);
    EXPECT_EQ(2, three.height);
}

TEST(MapReader, SectionsMayRepeatAndComeInAnyOrder) {
    Reading r = readText("<element>{[1][0]}<land>{[100]}<world>{[2]}<element>{[2][5]}"
                         "<land>{[101][102]}{[103]}<world>{[2]}");
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ((std::vector<int>{100, 101, 102, 103}), r.land);
    EXPECT_EQ((std::vector<int>{1, 0, 2, 5}), r.elements);
}

TEST(MapReader, UnknownTagsKeepTheCurrentSection) {
    Reading r =
        readText("<world>{[2][1]}<land>{[100]}<Land>{[101]}< element>{[102]}<element>{[1][2]}");
    EXPECT_EQ(LoadWorld::INVALID, r.status);
    EXPECT_EQ((std::vector<int>{100, 101, 102, 0}), r.land);
}

TEST(MapReader, ValuesBeforeAnySectionAndOutsideBlocksAreDropped) {
    Reading r = readText("{[7][8]}<notes>{[9]}[5][6] 42 <world>{[1][1]}[3]<land>[4]{[100]}"
                         "<element>{[2]}");
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ((std::vector<int>{100, 0, 0, 0}), r.land);
    EXPECT_EQ((std::vector<int>{2, 0, 0, 0}), r.elements);
}

TEST(MapReader, TagsInsideBlocksAreIgnored) {
    Reading r = readText("<world>{[1][1]}<land>{<element>[100]}<element>{[4]}");
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ(100, r.land[0]);
    EXPECT_EQ(4, r.elements[0]);
}

TEST(MapReader, CloseBraceInsideAValueEndsTheBlockButNotTheValue) {
    // "1" stays in the buffer across the block end; "00" completes it in the next block.
    Reading r = readText("<world>{[1][1]}<land>{[1}{00]}<element>{[3]}");
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ(100, r.land[0]);
}

TEST(MapReader, ValueTextFollowsTheConversionRules) {
    Reading r = readText("<world>{[ 2 ][+2]}<land>{[100abc][ -5][][x]}<element>{[1][0][0][0]}");
    EXPECT_EQ(LoadWorld::LOADED, r.status);
    EXPECT_EQ((std::vector<int>{100, -5, 0, 0}), r.land);
}

TEST(MapReader, TruncatedFileDropsOpenTagOrValueButKeepsClosedValues) {
    Reading openValue = readText("<world>{[1][1]}<land>{[100]}<element>{[1]}<land>{[10");
    EXPECT_EQ(LoadWorld::LOADED, openValue.status);
    Reading openTag = readText("<world>{[1][1]}<land>{[100]}<element>{[1]<wor");
    EXPECT_EQ(LoadWorld::LOADED, openTag.status);
}

TEST(MapReader, RejectsBadSizesAndCounts) {
    EXPECT_EQ(LoadWorld::INVALID, readText("").status);
    EXPECT_EQ(LoadWorld::INVALID, readText("<land>{[100]}<element>{[1]}").status);
    EXPECT_EQ(LoadWorld::INVALID, readText("<world>{[1][0]}").status);
    EXPECT_EQ(LoadWorld::INVALID, readText("<world>{[2][2]}<land>{[100][100][100]}"
                                           "<element>{[0][0][0][0]}")
                                      .status);
    EXPECT_EQ(LoadWorld::INVALID, readText(twoByTwo + "<land>{[100]}").status);
    EXPECT_EQ(LoadWorld::INVALID, readText(twoByTwo + "<element>{[1]}").status);
}

TEST(MapReader, RejectsNegativeAndOverflowingSizes) {
    // -1 x -1 has a product of 1 that matches one code per layer, yet no real world.
    EXPECT_EQ(LoadWorld::INVALID, readText("<world>{[-1][-1]}<land>{[100]}<element>{[1]}").status);
    // 65536 x 65536 wraps to 0 in 32 bits and must not pass for a world without codes.
    EXPECT_EQ(LoadWorld::INVALID, readText("<world>{[65536][65536]}").status);
    EXPECT_EQ(LoadWorld::INVALID,
              readText("<world>{[99999999999][1]}<land>{[1]}<element>{[1]}").status);
}

// Neither a folder, nor a pipe without a writer, nor a device that never ends is read (or waited
// on): each is refused as a missing file is. The endless device comes last, after every failure
// has stopped the test.
TEST(MapReader, MissingFileOrOneThatIsNotARegularFileIsReportedWithoutReading) {
    TempDir dir;
    mkfifo(dir.file("pipe.map").c_str(), 0600);
    for (const std::string& name :
         {dir.file("absent.map"), dir.path(), dir.file("pipe.map"), std::string("/dev/zero")}) {
        LoadWorld::Status status;
        LoadWorld reader(name, status);
        ASSERT_EQ(LoadWorld::CANNOT_OPEN, status) << name;
        EXPECT_EQ(0, reader.getWidth());
    }
}

// The first code of a layer makes room for as many codes as the size asks for, as far as the
// file can hold them (a value takes 2 bytes at least): 3 for a 3 x 1 map, where growing one by
// one would leave room for 4.
TEST(MapReader, MakesRoomForTheCodesAtOnceAsFarAsTheFileHoldsThem) {
    TempDir dir;
    const std::string huge = "<world>{[1000][1000]}<land>{[102]}";
    for (const auto& [text, room] : {std::pair{std::string("<world>{[3][1]}<land>{[1][2][3]}"), 3},
                                     {huge, static_cast<int>(huge.size() / 2)}}) {
        dir.write("sized.map", text);
        LoadWorld::Status status;
        LoadWorld reader(dir.file("sized.map"), status);
        EXPECT_EQ(room, static_cast<int>(reader.takeCodes(0).capacity())) << text;
    }
}

TEST(MapReaderDeathTest, MissingFileEndsTheProgramWithItsMessage) {
    TempDir dir;
    EXPECT_EXIT(LoadWorld(dir.file("absent.map")), ::testing::ExitedWithCode(1),
                "^Error loanding file/tmp/.*/absent\\.map\n$");
}

TEST(MapReaderDeathTest, InvalidFileEndsTheProgramWithItsMessage) {
    TempDir dir;
    dir.write("bad.map", "<world>{[2][2]}<land>{[100]}");
    EXPECT_EXIT(LoadWorld(dir.file("bad.map")), ::testing::ExitedWithCode(1),
                "^Invalid world file: /tmp/.*/bad\\.map\n$");
}

// The same map read from disk as saved on Windows, and with a line break before every number.
TEST(MapReader, ReadsAMapFromDiskWhateverItsLinesEndWith) {
    TempDir dir;
    const std::string text = mapText({"gw", "Lr"}, {"@.", ".C"});
    std::string windows;
    std::string broken;
    for (char c : text) {
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
        broken += c == '[' ? std::string("[\r\n") : std::string(1, c);
    }
    for (const std::string& saved : {text, windows, broken}) {
        dir.write("small.map", saved);
        LoadWorld::Status status;
        LoadWorld reader(dir.file("small.map"), status);
        ASSERT_EQ(LoadWorld::LOADED, status) << saved;
        EXPECT_EQ(2, reader.getHeight());
        EXPECT_EQ((std::vector<int>{102, 300, 104, 103}), drain(reader, 0, 4));
        EXPECT_EQ((std::vector<int>{1, 0, 0, 2}), drain(reader, 1, 4));
    }
}
