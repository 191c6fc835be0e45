// Runs the tests headless: Allegro without a system driver, drawing into memory bitmaps, with
// `screen` pointed at one of them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        return 2;
    }
    set_color_depth(16);
    screen = create_bitmap(800, 600);
    int result = RUN_ALL_TESTS();
    destroy_bitmap(screen);
    screen = nullptr;
    return result;
}
