// The pace that [ and ] step through: the passes of a frame, the rest between frames, and the
// passes per second measured.
#include "game/Pace.h"

#include "TestSupport.h"
#include "core/ControlTable.h"
#include "game/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(PaceTest, BracketsStepThroughThePacesAndAFrameRunsThePassesOfItsPace) {
    Pace pace;
    pace.slower();
    const struct {
        const char* name;
        int passes;
    } steps[] = {{"x1", 1}, {"x2", 2}, {"x4", 4}, {"x8", 8}};
    for (const auto& step : steps) {
        EXPECT_EQ(step.name, pace.name());
        EXPECT_TRUE(pace.rests());
        EXPECT_TRUE(pace.wantsAnother(step.passes - 1, 1s)) << step.name;
        EXPECT_FALSE(pace.wantsAnother(step.passes, 0ms)) << step.name;
        pace.faster();
    }
    // The fastest runs passes for a frame's time, 30 ms, and does not rest.
    pace.faster();
    EXPECT_EQ("max", pace.name());
    EXPECT_FALSE(pace.rests());
    EXPECT_TRUE(pace.wantsAnother(100000, 29ms));
    EXPECT_FALSE(pace.wantsAnother(1, 30ms));
    pace.slower();
    EXPECT_EQ("x8", pace.name());
}

TEST(PaceTest, ThePassesPerSecondAreMeasuredOverQuarterSecondsAndFollowAChangeOfPace) {
    Pace pace;
    const Pace::Clock::time_point start{};
    for (int pass = 0; pass <= 50; ++pass) {
        pace.count(start + pass * 5ms);
    }
    EXPECT_EQ(200, pace.passesPerSecond());
    // The next window starts at the pass that closed this one.
    for (int pass = 1; pass <= 25; ++pass) {
        pace.count(start + 250ms + pass * 10ms);
    }
    EXPECT_EQ(100, pace.passesPerSecond());
    // A pause of a window or more, or a change of pace, starts the measure afresh: 10 passes
    // 30 ms apart then close the next window.
    for (const bool changed : {false, true}) {
        const Pace::Clock::time_point at = start + (changed ? 9s : 5s);
        for (int pass = 0; pass <= 50; ++pass) {
            pace.count(at + pass * 5ms);
        }
        ASSERT_EQ(200, pace.passesPerSecond());
        if (changed) {
            pace.faster();
        }
        const Pace::Clock::time_point next = at + (changed ? 255ms : 1255ms);
        for (int pass = 0; pass <= 9; ++pass) {
            pace.count(next + pass * 30ms);
            EXPECT_EQ(pass < 9 ? 200 : 33, pace.passesPerSecond()) << changed << pass;
        }
    }
}

// In the game, ] and [ step the pace of the loop.
TEST(PaceTest, TheBracketKeysStepTheGamesPace) {
    TempDir dir;
    auto world = makeWorld({"g"}, {"@"});
    Game& game = Game::of(*world);
    game.turn(*world, InputSnapshot::pressing({Action::faster}));
    EXPECT_EQ("x2", game.getPace().name());
    game.turn(*world, InputSnapshot::pressing({Action::slower}));
    EXPECT_EQ("x1", game.getPace().name());
    // Three taps between two passes are three steps.
    InputSnapshot taps = InputSnapshot::pressing({Action::faster});
    taps.presses[ControlTable::firstKeyOf(Action::faster)] = 3;
    game.turn(*world, taps);
    EXPECT_EQ("x8", game.getPace().name());
}
