#include "ProgressLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
class ProgressLineTest : public ::testing::Test {
  protected:
    void TearDown() override { std::fclose(file); }

    std::string written() {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
            text.push_back(static_cast<char>(c));
        }
        return text;
    }

    std::FILE* file = std::tmpfile();
};
} // namespace

TEST_F(ProgressLineTest, AShortRunPrintsNothingAtAll) {
    ProgressLine progress(file, 1000);
    progress.update(500, 0.4);
    progress.update(1000, 0.9);
    progress.finish();
    EXPECT_EQ("", written());
}

TEST_F(ProgressLineTest, ALongRunRewritesOneLineAtMostTwiceASecondAndEndsIt) {
    ProgressLine progress(file, 4000);
    progress.update(1000, 1.0);
    progress.update(1100, 1.2);
    progress.update(2000, 1.6);
    progress.update(4000, 2.2);
    progress.finish();
    EXPECT_EQ("\rpass 1000 of 4000 (25%), 1 s\rpass 2000 of 4000 (50%), 2 s"
              "\rpass 4000 of 4000 (100%), 2 s\n",
              written());
}
