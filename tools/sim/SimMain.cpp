// orvalle-sim: runs the world's rules headless and prints a census as CSV.
#include "Census.h"
#include "ProgressLine.h"
#include "SimOptions.h"
#include "World.h"

#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
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
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "%s: cannot start Allegro\n", argv[0]);
        return 1;
    }
    set_color_depth(16);
    // No images and above all no music: playing the tune needs a timer driver, which a headless
    // run does not have. On a missing or invalid map the loader prints why and ends with status 1.
    World world(options.getMap(), std::nullopt);
    run(world, options);
    return 0;
}
