#include "MapInputs.h"

#include "game/Game.h"
#include "world/LoadWorld.h"
#include "world/World.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {
// Every so many passes a full pass draws the frame as well.
const int drawnPassEvery = 100;

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
    if (!readMap(data, size, cells) || cells > maxFuzzedCells) {
        return 0;
    }
    const std::string mapFile = temporaryFileWith(data, size, ".map");
    if (mapFile.empty()) {
        return 0;
    }
    std::srand(1);
    World world(mapFile, std::nullopt);
    Game& game = Game::of(world);
    for (int pass = 1; pass <= fuzzedWorldPasses; ++pass) {
        if (pass % drawnPassEvery == 0) {
            game.turn(world, InputSnapshot());
        } else {
            world.pass(InputSnapshot());
        }
    }
    std::remove(mapFile.c_str());
    return fuzzedWorldPasses;
}

void startHeadlessAllegro() {
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::abort();
    }
    set_color_depth(16);
    screen = create_bitmap(800, 600);
}

std::string temporaryFileWith(const std::uint8_t* data, std::size_t size,
                              const std::string& extension) {
    std::string name = "/tmp/orvalle-fuzzed-XXXXXX" + extension;
    const int descriptor = mkstemps(name.data(), static_cast<int>(extension.size()));
    if (descriptor < 0) {
        return "";
    }
    std::FILE* file = fdopen(descriptor, "wb");
    const bool written = file != nullptr && std::fwrite(data, 1, size, file) == size;
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        std::remove(name.c_str());
        return "";
    }
    return name;
}
