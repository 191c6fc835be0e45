// The switches the player sets, kept in their file across rounds and launches.
#include "game/Switches.h"
#include "TestSupport.h"
#include "game/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

TEST(SwitchesTest, AFileOfSwitchesIsReadAndAnyOtherIsReportedAndIgnored) {
    TempDir dir;
    const struct {
        const char* content;
        bool overview;
        const char* pace;
        bool damaged;
    } files[] = {
        {"overview 1\npace x4\n", true, "x4", false}, {"panel 0\n", false, "x1", false},
        {"overview 1\npace x3\n", false, "x1", true}, {"overview yes\n", false, "x1", true},
        {"overview 1\nsound 1\n", false, "x1", true}, {"\x7f\x45LF", false, "x1", true}};
    for (const auto& f : files) {
        dir.write("switches", f.content);
        testing::internal::CaptureStderr();
        const Switches read(dir.file("switches"));
        EXPECT_EQ(f.overview, read.shown.overview) << f.content;
        EXPECT_EQ(f.pace, read.pace) << f.content;
        EXPECT_EQ(f.damaged,
                  testing::internal::GetCapturedStderr().find("damaged") != std::string::npos);
    }
}

// What H, O and ] switch is written at once, and a game that starts with it shows the same.
TEST(SwitchesTest, AGameKeepsEveryChangeAndTheNextOneStartsWithIt) {
    TempDir dir;
    Switches kept(dir.file("orvalle/switches"));
    auto world = makeWorld({"g"}, {"@"});
    Game::of(*world).keepSwitchesIn(kept);
    Game::of(*world).turn(*world, InputSnapshot::pressing({Action::panel, Action::faster}));
    EXPECT_EQ("panel 1\nvitals 0\noverview 0\neffects 1\npace x2\n",
              contentOf(dir.file("orvalle/switches")));
    Switches again(dir.file("orvalle/switches"));
    auto next = makeWorld({"g"}, {"@"});
    Game::of(*next).keepSwitchesIn(again);
    EXPECT_TRUE(Game::of(*next).isPanelShown());
    EXPECT_EQ("x2", Game::of(*next).getPace().name());
}
