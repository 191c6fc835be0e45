// Presses between passes, driven through the hooks the library's input handlers call, and the
// end of the world's loop on Escape, or on R after the avatar's death.
#include "core/InputLatch.h"
#include "BigTextPixels.h"
#include "TestSupport.h"
#include "core/ControlTable.h"
#include "core/Timer.h"
#include "game/Game.h"
#include "world/World.h"

#include "elements/Element.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <bitset>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
const int releaseBit = 0x80;

// Lets go of every key and mouse button, and forgets the latched presses.
void letGo() {
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    mouse_b = 0;
    mouse_x = 0;
    mouse_y = 0;
    mouse_pos = 0;
    InputLatch::remove();
}

// A press and its release, both between two passes.
void tap(int scancode) {
    keyboard_lowlevel_callback(scancode);
    keyboard_lowlevel_callback(scancode | releaseBit);
}

// Taps the keys of its script at the end of their frames (Escape at the third unless told
// otherwise, so that run() ends at the start of the fourth pass), and notes at the end of each
// frame whether the page of controls shows. A lost tap ends it at the tenth frame, with a failure.
class ScriptedWorld : public World {
  public:
    using World::World;
    void draw() override {
        World::draw();
        pageShown.push_back(Game::of(*this).isControlsPageShown());
        if (const auto tapped = taps.find(frames()); tapped != taps.end()) {
            tap(tapped->second);
        } else if (frames() == 10) {
            throw std::runtime_error("the taps of the script did not end run()");
        }
    }
    int frames() const { return static_cast<int>(pageShown.size()); }
    std::map<int, int> taps{{3, KEY_ESC}};
    std::vector<bool> pageShown;
};

class InputLatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        letGo();
        InputLatch::install();
    }
    void TearDown() override { letGo(); }
    TempDir dir;
};
} // namespace

TEST_F(InputLatchTest, ATapOrClickCountsInTheNextPassOnlyAndOnlyForTheControls) {
    // Every key of the control table, as its row says, and a key of no row, which never counts.
    struct Case {
        int scancode;
        bool counts;
    };
    std::vector<Case> cases;
    std::bitset<InputSnapshot::scancodeCount> named;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        for (const int scancode : row.keyScancodes()) {
            cases.push_back({scancode, row.latched});
            named.set(scancode);
        }
    }
    int unnamed = ControlTable::noKey + 1;
    while (named[unnamed]) {
        ++unnamed;
    }
    cases.push_back({unnamed, false});
    // Each key twice: the first tap's release lets the key go, so the second counts as well.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.scancode);
            tap(c.scancode);
            const InputSnapshot tapped = InputLatch::take();
            EXPECT_EQ(c.counts, tapped.isDown(c.scancode));
            EXPECT_EQ(c.counts, tapped.wasPressed(c.scancode));
            EXPECT_FALSE(InputLatch::take().isDown(c.scancode));
        }
    }
    // A click selects where it went down, wherever the pointer is when the pass starts.
    mouse_pos = 120 << 16 | 70;
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    mouse_x = 700;
    const InputSnapshot clicked = InputLatch::take();
    EXPECT_TRUE(clicked.leftButton && !clicked.rightButton);
    EXPECT_EQ(120, clicked.pointerX);
    EXPECT_EQ(70, clicked.pointerY);
    mouse_callback(MOUSE_FLAG_RIGHT_DOWN);
    mouse_callback(MOUSE_FLAG_RIGHT_UP);
    const InputSnapshot rightClicked = InputLatch::take();
    EXPECT_TRUE(rightClicked.rightButton && !rightClicked.leftButton);
    EXPECT_EQ(700, rightClicked.pointerX);
    EXPECT_FALSE(InputLatch::take().rightButton);
}

TEST_F(InputLatchTest, APressSeenHeldOrRepeatedWhileHeldDoesNotCountInTheNextPass) {
    key[KEY_RIGHT] = 1;
    keyboard_lowlevel_callback(KEY_RIGHT);
    EXPECT_TRUE(InputLatch::take().wasPressed(KEY_RIGHT));
    // The key's repeats come after the pass read it: still down, but not pressed again.
    keyboard_lowlevel_callback(KEY_RIGHT);
    keyboard_lowlevel_callback(KEY_RIGHT);
    const InputSnapshot held = InputLatch::take();
    EXPECT_TRUE(held.isDown(KEY_RIGHT));
    EXPECT_FALSE(held.wasPressed(KEY_RIGHT));
    key[KEY_RIGHT] = 0;
    keyboard_lowlevel_callback(KEY_RIGHT | releaseBit);
    EXPECT_FALSE(InputLatch::take().isDown(KEY_RIGHT));
    // A click seen held likewise, the left button held being no right one.
    mouse_b = 1;
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    const InputSnapshot leftHeld = InputLatch::take();
    EXPECT_TRUE(leftHeld.leftButton && !leftHeld.rightButton);
    mouse_b = 0;
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    EXPECT_FALSE(InputLatch::take().leftButton);
}

// Taps faster than the passes each count, for the action of their key.
TEST_F(InputLatchTest, EveryTapBetweenTwoPassesCounts) {
    const int faster = ControlTable::firstKeyOf(Action::faster);
    for (int taps = 0; taps < 3; ++taps) {
        tap(faster);
    }
    const InputSnapshot tapped = InputLatch::take();
    EXPECT_EQ(3, tapped.timesPressed(Action::faster));
    EXPECT_EQ(0, tapped.timesPressed(Action::slower));
    EXPECT_EQ(0, InputLatch::take().timesPressed(Action::faster));
}

// A press counts once, whichever of the hook's report and the library's key state comes first,
// and a key held without any report counts as pressed when it is first seen.
TEST_F(InputLatchTest, APressCountsOnceWhicheverOfTheHookAndTheKeyStateComesFirst) {
    const struct {
        const char* name;
        bool reported; // the hook reports the press before the first pass
        bool heldThen; // the library's key state shows it held at the first pass
    } cases[] = {{"reported, then held", true, false},
                 {"reported while held", true, true},
                 {"held without a report", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        letGo();
        InputLatch::install();
        if (c.reported) {
            keyboard_lowlevel_callback(KEY_P);
        }
        key[KEY_P] = c.heldThen ? 1 : 0;
        EXPECT_TRUE(InputLatch::take().wasPressed(KEY_P));
        key[KEY_P] = 1;
        const InputSnapshot later = InputLatch::take();
        EXPECT_TRUE(later.isDown(KEY_P));
        EXPECT_FALSE(later.wasPressed(KEY_P));
    }
}

// Headless, without the hooks' reports: a pass takes what the library's state says.
TEST_F(InputLatchTest, KeysAndButtonsSetBeforeAPassCountWithoutTheHooks) {
    dir.write("orvalle.map", mapText({"ggg"}, {"C@."}));
    World world(dir.file("orvalle.map"), dir.path());
    key[KEY_RIGHT] = 1;
    // The grid is smaller than the screen and sits in its bottom right corner: the cyclope's
    // cell is window cell (13, 11).
    mouse_b = 1;
    mouse_x = 13 * World::cellSize;
    mouse_y = 11 * World::cellSize;
    world.pass(InputLatch::take());
    EXPECT_EQ(2, world.getAvatar()->getX());
    EXPECT_EQ(world.get(World::elementLayer, 0, 0), world.getSelected());
}

// Run ends at the start of a pass: on Escape at any time, on R (a restart) after the avatar's
// death only. Three passes mean that the taps made before it were not taken for an end.
TEST_F(InputLatchTest, RunEndsOnEscapeAndAfterDeathOnRWithTheNoticeDrawnWhileDead) {
    // The notice's first line, in the big font, centred in the upper third.
    const std::string notice = "You died.";
    const int left = World::frameWidth / 2 - 2 * text_length(font, notice.c_str()) / 2;
    const int top = 100;
    const struct {
        const char* name;
        std::string elements;
        bool dead;
        std::vector<int> taps;
        bool restart;
        int passes;
        int passesPerFrame = 1;
    } cases[] = {
        {"Escape while alive", "@..", false, {KEY_ESC}, false, 0},
        {"R while alive", "@..", false, {KEY_R}, false, 3},
        {"R after death", "@..", true, {KEY_R}, true, 0},
        {"Escape wins over R", "@..", true, {KEY_R, KEY_ESC}, false, 0},
        {"nothing after death", "@..", true, {}, false, 3},
        {"R without avatar", "C..", false, {KEY_R}, false, 3},
        {"] at the first pass: two passes a frame", "@..", false, {KEY_CLOSEBRACE}, false, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("orvalle.map", mapText({"ggg"}, {c.elements}));
        ScriptedWorld world(dir.file("orvalle.map"), dir.path());
        if (c.dead) {
            kill(world.getAvatar());
        }
        for (int k : c.taps) {
            tap(k);
        }
        ASSERT_NO_THROW(world.run());
        EXPECT_EQ(c.restart, Game::of(world).isRestartAsked());
        EXPECT_EQ(c.passes, world.frames());
        EXPECT_EQ(c.passes * c.passesPerFrame, world.getTimer()->getSecound());
        if (c.passes > 0) {
            EXPECT_EQ(c.dead,
                      differingBigTextPixels(Game::of(world).getFrame(), notice, left, top) == 0);
        }
    }
}

// F1 opens the page of controls, which stays until Escape closes it; that Escape does not quit,
// the next one does.
TEST_F(InputLatchTest, EscapeClosesThePageOfControlsWithoutQuitting) {
    dir.write("orvalle.map", mapText({"ggg"}, {"@.."}));
    ScriptedWorld world(dir.file("orvalle.map"), dir.path());
    world.taps = {{1, KEY_F1}, {3, KEY_ESC}, {5, KEY_ESC}};
    ASSERT_NO_THROW(world.run());
    EXPECT_EQ((std::vector<bool>{false, true, true, false, false}), world.pageShown);
}

// Escape held or the window's close button clicked ends the game; nothing else does.
TEST(InputSnapshotTest, EscapeOrTheCloseButtonQuits) {
    InputSnapshot closed;
    closed.closeAsked = true;
    EXPECT_TRUE(closed.quits());
    EXPECT_TRUE(InputSnapshot::pressing({Action::quit}).quits());
    EXPECT_FALSE(InputSnapshot::pressing({Action::pause}).quits());
}
