// orvalle-sim: runs the world's rules headless and prints a census as CSV.
#include "Census.h"
#include "ProgressLine.h"
#include "SimOptions.h"
#include "world/SaveFile.h"
#include "world/World.h"

#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {
// 0 when everything written to standard output reached it, otherwise the error number.
int flushError() {
    return std::fflush(stdout) == 0 ? 0 : errno;
}

// Runs the passes and writes the census; 0, or the error number of the first write that failed.
// A failed write ends the run: a full disk or a closed pipe must not pass for a whole census.
int run(World& world, const SimOptions& options) {
    if (std::puts(Census::header().c_str()) == EOF) {
        return errno;
    }
    ProgressLine progress(stderr, options.getPasses());
    const auto start = std::chrono::steady_clock::now();
    int error = 0;
    for (long pass = 1; pass <= options.getPasses() && error == 0; ++pass) {
        world.pass(InputSnapshot());
        if (options.reportsAfter(pass) &&
            std::puts(Census(world).row(world.getPasses()).c_str()) == EOF) {
            error = errno;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        progress.update(pass, elapsed.count());
    }
    progress.finish();
    return error != 0 ? error : flushError();
}

// The world of the save or of the map; null, with the reason told, when the save is refused. On a
// missing or invalid map the loader prints why and ends with status 1.
std::unique_ptr<World> startingWorld(const char* program, const SimOptions& options) {
    // No images and above all no music: playing the tune needs a timer driver, which a headless
    // run does not have.
    if (!options.getLoad()) {
        return std::make_unique<World>(options.getMap(), std::nullopt);
    }
    try {
        return SaveFile::resume(*options.getLoad(), std::nullopt).world;
    } catch (const SaveFile::Refused& refusal) {
        std::fprintf(stderr, "%s: %s\n", program, refusal.what());
        return nullptr;
    }
}

// True when there is no save to write, or it was written.
bool saveAfterRun(const char* program, const World& world, const SimOptions& options) {
    if (!options.getSave()) {
        return true;
    }
    const std::string failed = SaveFile::write(world, *options.getSave());
    if (!failed.empty()) {
        std::fprintf(stderr, "%s: cannot save into %s: %s\n", program, options.getSave()->c_str(),
                     failed.c_str());
    }
    return failed.empty();
}

// The exit status after writing to standard output: 1, with the reason, when a write failed.
int exitStatus(const char* program, int writeError) {
    if (writeError == 0) {
        return 0;
    }
    std::fprintf(stderr, "%s: cannot write to the standard output: %s\n", program,
                 std::strerror(writeError));
    return 1;
}

// Prints text that stands for the whole answer, such as the help: the exit status tells whether
// all of it was written.
int print(const char* program, const std::string& text) {
    const bool put = std::fputs(text.c_str(), stdout) != EOF;
    return exitStatus(program, put ? flushError() : errno);
}
} // namespace

int main(int argc, char* argv[]) {
    const SimOptions options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.getOutcome() == SimOptions::HELP) {
        return print(argv[0], SimOptions::usage(argv[0]));
    }
    if (options.getOutcome() == SimOptions::KINDS) {
        return print(argv[0], SimOptions::kindsTable());
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
    if (options.getSeed()) {
        std::srand(*options.getSeed());
    }
    const std::unique_ptr<World> world = startingWorld(argv[0], options);
    if (world == nullptr) {
        return 1;
    }
    const int status = exitStatus(argv[0], run(*world, options));
    return saveAfterRun(argv[0], *world, options) ? status : 1;
}
