// The speed of the world: a full pass, the sweep of the rules on tiled and random maps, a frame of
// drawing, building a world and its map, and a vision rebuild.
#include "BenchDir.h"
#include "TiledMap.h"
#include "elements/Element.h"
#include "elements/Vision.h"
#include "game/Game.h"
#include "world/LoadWorld.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {
const char* const dataFolder = ORVALLE_DATA_DIR;
const char* const shippedMap = ORVALLE_DATA_DIR "/orvalle.map";
// A random world changes as it runs (its creatures scatter, hunt and die, its carcasses rot), and
// a pass costs more later than early on, so every build times the same passes of it: a count of
// its own per build would compare a faster build's later passes with a slower one's early ones.
const int randomWorldPasses = 200;

struct MapFile {
    std::string name;
    std::size_t bytes;
};

// The shipped map repeated to size x size, written once per run.
const MapFile& tiledMap(int size) {
    static std::map<int, MapFile> written;
    auto found = written.find(size);
    if (found != written.end()) {
        return found->second;
    }
    const BenchDir& dir = BenchDir::get();
    static const TiledMap source(shippedMap);
    const std::string name = "tiled" + std::to_string(size) + ".map";
    const std::size_t bytes = dir.write(name, source.text(size, size));
    return written[size] = MapFile{dir.file(name), bytes};
}

// The map that tools/map/random_map.py makes for size x size and seed 1, written once per run: a
// world alive everywhere, with about 3.5% of its cells holding a creature.
const std::string& randomMap(int size) {
    static std::map<int, std::string> written;
    auto found = written.find(size);
    if (found != written.end()) {
        return found->second;
    }
    const std::string name = BenchDir::get().file("random" + std::to_string(size) + ".map");
    const std::string command = "python3 " ORVALLE_SOURCE_DIR "/tools/map/random_map.py " +
                                std::to_string(size) + " " + std::to_string(size) + " 1 > " + name;
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "orvalle-bench: %s failed\n", command.c_str());
        std::exit(2);
    }
    return written[size] = name;
}

// The shipped world with its images and music (which stays silent without a sound driver).
std::unique_ptr<World> shippedWorld() {
    return std::make_unique<World>(shippedMap, dataFolder);
}

std::size_t fileSize(const char* name) {
    std::FILE* file = std::fopen(name, "rb");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return static_cast<std::size_t>(size);
}

// Builds worlds on a map; only the building is timed, not the tearing down.
void buildWorlds(benchmark::State& state, const std::string& map, std::size_t bytes) {
    for (auto _ : state) {
        auto world = std::make_unique<World>(map, dataFolder);
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// The counter per_cell is the time divided by the cells of one layer.
void countPerCell(benchmark::State& state, int size) {
    state.counters["per_cell"] = benchmark::Counter(static_cast<double>(size) * size,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
// The living creatures on the element layer.
int livingCreatures(const World& world) {
    int count = 0;
    for (int x = 0; x < world.getWidth(); ++x) {
        for (int y = 0; y < world.getHeight(); ++y) {
            const Element* e = world.get(World::elementLayer, x, y);
            count += e != nullptr && e->isCreature() && e->isAlive() ? 1 : 0;
        }
    }
    return count;
}
} // namespace

static void BM_PassShippedMap(benchmark::State& state) {
    auto world = shippedWorld();
    Game& game = Game::of(*world);
    for (auto _ : state) {
        game.turn(*world, InputSnapshot());
    }
}
BENCHMARK(BM_PassShippedMap)->Unit(benchmark::kMicrosecond);

static void BM_DrawShippedMap(benchmark::State& state) {
    auto world = shippedWorld();
    for (auto _ : state) {
        world->draw();
    }
}
BENCHMARK(BM_DrawShippedMap)->Unit(benchmark::kMicrosecond);

// The sweep of a tiled world; with the second argument 0 the idle clock is off and every
// element runs on every pass, as a yardstick.
static void BM_SimulateTiled(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    World world(tiledMap(size).name, dataFolder, state.range(1) != 0);
    for (auto _ : state) {
        world.pass(InputSnapshot());
    }
    countPerCell(state, size);
}
BENCHMARK(BM_SimulateTiled)
    ->ArgsProduct({{64, 256, 1024, 2048}, {1}})
    ->Args({1024, 0})
    ->Unit(benchmark::kMicrosecond);

// The sweep of a random world, where the creatures' own rules are most of the work. The counter
// per_creature is the time divided by the creatures alive when the world was built.
static void BM_SimulateRandom(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    World world(randomMap(size), dataFolder);
    const int creatures = livingCreatures(world);
    for (auto _ : state) {
        world.pass(InputSnapshot());
    }
    countPerCell(state, size);
    state.counters["per_creature"] = benchmark::Counter(
        creatures, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SimulateRandom)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(2048)
    ->Iterations(randomWorldPasses)
    ->Unit(benchmark::kMillisecond);

// A full pass, sweep and drawing, of a random_map.py world, as the game plays it.
static void BM_PassRandom(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    World world(randomMap(size), dataFolder);
    Game& game = Game::of(world);
    for (auto _ : state) {
        game.turn(world, InputSnapshot());
    }
    countPerCell(state, size);
}
BENCHMARK(BM_PassRandom)->Arg(2048)->Iterations(randomWorldPasses)->Unit(benchmark::kMillisecond);

// A full pass, sweep and drawing, of a tiled world.
static void BM_PassTiled(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    World world(tiledMap(size).name, dataFolder);
    Game& game = Game::of(world);
    for (auto _ : state) {
        game.turn(world, InputSnapshot());
    }
    countPerCell(state, size);
}
BENCHMARK(BM_PassTiled)->Arg(1024)->Unit(benchmark::kMillisecond);

static void BM_VisionRange3(benchmark::State& state) {
    auto world = shippedWorld();
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::unique_ptr<Vision>(world->getVision(world->getAvatar(), 3)));
    }
}
BENCHMARK(BM_VisionRange3);

static void BM_BuildShippedWorld(benchmark::State& state) {
    buildWorlds(state, shippedMap, fileSize(shippedMap));
}
BENCHMARK(BM_BuildShippedWorld)->Unit(benchmark::kMillisecond);

static void BM_BuildTiledWorld(benchmark::State& state) {
    const MapFile& map = tiledMap(static_cast<int>(state.range(0)));
    buildWorlds(state, map.name, map.bytes);
}
BENCHMARK(BM_BuildTiledWorld)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);

// Ending a random_map.py world, as Escape does before the program ends; only the ending is
// timed.
static void BM_EndRandomWorld(benchmark::State& state) {
    const std::string& map = randomMap(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto world = std::make_unique<World>(map, dataFolder);
        state.ResumeTiming();
        world.reset();
    }
}
BENCHMARK(BM_EndRandomWorld)->Arg(2048)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_LoadTiledMap1024(benchmark::State& state) {
    const MapFile& map = tiledMap(1024);
    for (auto _ : state) {
        LoadWorld::Status status;
        LoadWorld reader(map.name, status);
        benchmark::DoNotOptimize(status);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.bytes));
}
BENCHMARK(BM_LoadTiledMap1024)->Unit(benchmark::kMillisecond);
