// orvalle-sim: runs the world's rules headless and prints a census as CSV.
#include "Census.h"
#include "LoadWorld.h"
#include "ProgressLine.h"
#include "SimOptions.h"
#include "World.h"

#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {
// Builds the world with an empty working directory, so that no images and above all no music
// are found: playing the tune needs a timer driver, which a headless run does not have.
std::unique_ptr<World> buildWithoutMedia(const std::string& map) {
    char absolute[PATH_MAX];
    char previous[PATH_MAX];
    char empty[] = "/tmp/orvalle-sim-XXXXXX";
    if (realpath(map.c_str(), absolute) == nullptr ||
        getcwd(previous, sizeof previous) == nullptr || mkdtemp(empty) == nullptr ||
        chdir(empty) != 0) {
        std::perror("orvalle-sim");
        std::exit(1);
    }
    auto world = std::make_unique<World>(absolute);
    if (chdir(previous) != 0 || rmdir(empty) != 0) {
        std::perror("orvalle-sim");
    }
    return world;
}

void run(World& world, const SimOptions& options) {
    std::puts(Census::header().c_str());
    ProgressLine progress(stderr, options.getPasses());
    const auto start = std::chrono::steady_clock::now();
    for (long pass = 1; pass <= options.getPasses(); ++pass) {
        world.simulate();
        if (options.reportsAfter(pass)) {
            std::puts(Census(world).row(pass).c_str());
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        progress.update(pass, elapsed.count());
    }
    progress.finish();
}
} // namespace

int main(int argc, char* argv[]) {
    const SimOptions options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.getOutcome() == SimOptions::HELP) {
        std::fputs(SimOptions::usage(argv[0]).c_str(), stdout);
        return 0;
    }
    if (options.getOutcome() == SimOptions::BAD_USAGE) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", argv[0], options.getError().c_str(),
                     argv[0]);
        return 2;
    }
    // The loader's own check: on a missing or invalid map it prints why and ends with status 1.
    const LoadWorld check(options.getMap());
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "%s: cannot start Allegro\n", argv[0]);
        return 1;
    }
    set_color_depth(16);
    std::unique_ptr<World> world = buildWithoutMedia(options.getMap());
    run(*world, options);
    return 0;
}
