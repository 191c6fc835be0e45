// Runs the benchmarks headless: Allegro without a system driver, drawing into memory bitmaps,
// with `screen` pointed at one of them.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        return 2;
    }
    set_color_depth(16);
    screen = create_bitmap(800, 600);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    destroy_bitmap(screen);
    screen = nullptr;
    return 0;
}
