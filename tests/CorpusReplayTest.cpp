// Replays every input the fuzzers kept (tests/fuzz/corpus/<target>/) through the same entry
// functions, so the ordinary and the sanitizer builds check them without clang.
#include "BitmapInputs.h"
#include "MapInputs.h"
#include "SaveInputs.h"
#include "TestSupport.h"
#include "world/LoadWorld.h"

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

// Runs check on the bytes of every input kept for the target and returns how many it counted;
// the corpus must not be empty.
template <class Check> int countInputs(const std::string& target, Check check) {
    const std::vector<std::string> files = corpusFiles(target);
    EXPECT_FALSE(files.empty()) << target;
    int counted = 0;
    for (const std::string& path : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(path);
        counted += check(path, bytes) ? 1 : 0;
    }
    return counted;
}
} // namespace

// Reading from memory and from the file must agree on every input.
TEST(CorpusReplay, MapReaderInputs) {
    const int accepted = countInputs("read-map", [](const std::string& path, const auto& bytes) {
        const bool fromMemory = readMapFromMemory(bytes.data(), bytes.size());
        EXPECT_EQ(cellsInFile(path) > 0, fromMemory) << path;
        return fromMemory;
    });
    EXPECT_GT(accepted, 0);
}

// Every small map the reader accepts must give a world that runs all its passes.
TEST(CorpusReplay, WorldInputs) {
    const int worlds = countInputs("run-world", [](const std::string& path, const auto& bytes) {
        const long cells = cellsInFile(path);
        const bool runs = cells > 0 && cells <= maxFuzzedCells;
        EXPECT_EQ(runs ? fuzzedWorldPasses : 0, runWorldFromMemory(bytes.data(), bytes.size()))
            << path;
        return runs;
    });
    EXPECT_GT(worlds, 0);
}

// Every save kept is resumed or refused, and those of the test maps are resumed.
TEST(CorpusReplay, SaveInputs) {
    const int resumed = countInputs("resume-save", [](const std::string&, const auto& bytes) {
        return resumeSaveFromMemory(bytes.data(), bytes.size()) > 0;
    });
    EXPECT_GT(resumed, 0);
}

// No BMP file the check passes may make the library's decoder overrun (BitmapInputs says how
// that is judged); some of the inputs kept must pass the check.
TEST(CorpusReplay, BitmapCheckInputs) {
    const int loaded = countInputs("bitmap-check", [](const std::string& path, const auto& bytes) {
        const BitmapVerdict verdict = checkBitmapFromMemory(bytes.data(), bytes.size());
        EXPECT_NE(BitmapVerdict::violation, verdict.outcome) << path << ": " << verdict.fault;
        return verdict.outcome == BitmapVerdict::loaded;
    });
    EXPECT_GT(loaded, 0);
}
