// Replays every input the fuzzers kept (tests/fuzz/corpus/<target>/) through the same entry
// functions, so the ordinary and the sanitizer builds check them without clang.
#include "BitmapInputs.h"
#include "LoadWorld.h"
#include "MapInputs.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::vector<std::string> corpusFiles(const std::string& target) {
    std::vector<std::string> files;
    const std::string directory = std::string(ORVALLE_CORPUS_DIR) + "/" + target;
    if (DIR* listing = opendir(directory.c_str())) {
        while (dirent* entry = readdir(listing)) {
            if (entry->d_name[0] != '.') {
                files.push_back(directory + "/" + entry->d_name);
            }
        }
        closedir(listing);
    }
    return files;
}

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

// Cells of the map in the file, or -1 when the reader refuses it.
long cellsInFile(const std::string& path) {
    LoadWorld::Status status = LoadWorld::INVALID;
    LoadWorld reader(path, status);
    return status == LoadWorld::LOADED ? static_cast<long>(reader.getWidth()) * reader.getHeight()
                                       : -1;
}
} // namespace

// Reading from memory and from the file must agree on every input.
TEST(CorpusReplay, MapReaderInputs) {
    const std::vector<std::string> files = corpusFiles("read-map");
    ASSERT_FALSE(files.empty());
    int accepted = 0;
    for (const std::string& path : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(path);
        const bool fromMemory = readMapFromMemory(bytes.data(), bytes.size());
        EXPECT_EQ(cellsInFile(path) > 0, fromMemory) << path;
        accepted += fromMemory ? 1 : 0;
    }
    EXPECT_GT(accepted, 0);
}

// Every small map the reader accepts must give a world that runs all its passes.
TEST(CorpusReplay, WorldInputs) {
    const std::vector<std::string> files = corpusFiles("run-world");
    ASSERT_FALSE(files.empty());
    int worlds = 0;
    for (const std::string& path : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(path);
        const long cells = cellsInFile(path);
        const bool runs = cells > 0 && cells <= maxFuzzedCells;
        EXPECT_EQ(runs ? fuzzedWorldPasses : 0, runWorldFromMemory(bytes.data(), bytes.size()))
            << path;
        worlds += runs ? 1 : 0;
    }
    EXPECT_GT(worlds, 0);
}

// No BMP file the check passes may make the library's decoder overrun (BitmapInputs says how
// that is judged); some of the inputs kept must pass the check.
TEST(CorpusReplay, BitmapCheckInputs) {
    const std::vector<std::string> files = corpusFiles("bitmap-check");
    ASSERT_FALSE(files.empty());
    int loaded = 0;
    for (const std::string& path : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(path);
        const BitmapVerdict verdict = checkBitmapFromMemory(bytes.data(), bytes.size());
        EXPECT_NE(BitmapVerdict::violation, verdict.outcome) << path << ": " << verdict.fault;
        loaded += verdict.outcome == BitmapVerdict::loaded ? 1 : 0;
    }
    EXPECT_GT(loaded, 0);
}
