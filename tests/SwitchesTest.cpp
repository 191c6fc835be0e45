// The switches read from their file (the end-to-end check switches-kept plays them across rounds
// and launches, and writes them).
#include "game/Switches.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(SwitchesTest, AFileOfSwitchesIsReadAndAnyOtherIsReportedAndIgnored) {
    TempDir dir;
    const struct {
        const char* content;
        const char* pace;
    } files[] = {{"overview 1\npace x4\n", "x4"},
                 {"overview 1\npace x3\n", nullptr},
                 {"overview yes\n", nullptr},
                 {"overview 1\nsound 1\n", nullptr}};
    for (const auto& f : files) {
        dir.write("switches", f.content);
        testing::internal::CaptureStderr();
        const Switches read(dir.file("switches"));
        EXPECT_EQ(f.pace != nullptr, read.shown.overview) << f.content;
        EXPECT_EQ(f.pace != nullptr ? f.pace : "x1", read.pace) << f.content;
        EXPECT_EQ(f.pace == nullptr,
                  testing::internal::GetCapturedStderr().find("damaged") != std::string::npos);
        // Kept again, the file holds good switches, whatever it held before.
        read.keep();
        testing::internal::CaptureStderr();
        EXPECT_EQ(read.pace, Switches(dir.file("switches")).pace);
        EXPECT_EQ("", testing::internal::GetCapturedStderr()) << f.content;
    }
}
