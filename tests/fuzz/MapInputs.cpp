#include "MapInputs.h"

#include "LoadWorld.h"
#include "World.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
// Every so many passes a full pass draws the frame as well.
const int drawnPassEvery = 100;
const char* const fuzzedMapFile = "fuzzed.map";

std::FILE* openMemory(const std::uint8_t* data, std::size_t size) {
    // An empty input still needs a valid buffer address.
    static std::uint8_t nothing = 0;
    return fmemopen(size == 0 ? &nothing : const_cast<std::uint8_t*>(data), size, "rb");
}

bool readMap(const std::uint8_t* data, std::size_t size, long& cells) {
    std::FILE* source = openMemory(data, size);
    if (source == nullptr) {
        return false;
    }
    LoadWorld::Status status = LoadWorld::INVALID;
    LoadWorld reader("memory", status, source);
    std::fclose(source);
    cells =
        status == LoadWorld::LOADED ? static_cast<long>(reader.getWidth()) * reader.getHeight() : 0;
    return status == LoadWorld::LOADED;
}
} // namespace

bool readMapFromMemory(const std::uint8_t* data, std::size_t size) {
    long cells = 0;
    return readMap(data, size, cells);
}

int runWorldFromMemory(const std::uint8_t* data, std::size_t size) {
    long cells = 0;
    if (!readMap(data, size, cells) || cells > maxFuzzedCells ||
        !writeInputFile(fuzzedMapFile, data, size)) {
        return 0;
    }
    std::srand(1);
    World world(fuzzedMapFile);
    for (int pass = 1; pass <= fuzzedWorldPasses; ++pass) {
        if (pass % drawnPassEvery == 0) {
            world.pass();
        } else {
            world.simulate();
        }
    }
    std::remove(fuzzedMapFile);
    return fuzzedWorldPasses;
}

void startHeadlessAllegro() {
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::abort();
    }
    set_color_depth(16);
    screen = create_bitmap(800, 600);
}

void enterEmptyDirectory() {
    char pattern[] = "/tmp/orvalle-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        std::abort();
    }
}

bool writeInputFile(const char* name, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}
