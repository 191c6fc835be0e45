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

TEST(PaceTest, ThePassesPerSecondAreMeasuredOverQuarterSecondsOfPassesOfOnePace) {
    Pace pace;
    const Pace::Clock::time_point start{};
    for (int pass = 0; pass <= 250; ++pass) {
        pace.count(start + pass * 4ms);
    }
    EXPECT_EQ(250, pace.passesPerSecond());
    // The next window starts at the pass that closed this one.
    for (int pass = 1; pass <= 200; ++pass) {
        pace.count(start + 1s + pass * 5ms);
    }
    EXPECT_EQ(200, pace.passesPerSecond());
    // After a pause of a quarter second or more the measure starts afresh: 9 passes 30 ms apart.
    for (int pass = 0; pass <= 9; ++pass) {
        pace.count(start + 4s + pass * 30ms);
        EXPECT_EQ(pass < 9 ? 200 : 33, pace.passesPerSecond()) << pass;
    }
    // So does a change of pace: the passes before it do not count.
    for (int pass = 0; pass <= 60; ++pass) {
        if (pass == 10) {
            pace.faster();
        }
        pace.count(start + 5s + (pass < 10 ? pass * 30ms : 300ms + pass * 5ms));
    }
    EXPECT_EQ(200, pace.passesPerSecond());
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
