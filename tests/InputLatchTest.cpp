// Presses between passes, driven through the hooks the library's input handlers call, and the
// end of the world's loop on Escape, or on R after the avatar's death.
#include "InputLatch.h"
#include "TestSupport.h"
#include "Timer.h"
#include "World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const int releaseBit = 0x80;

// A press and its release, both between two passes.
void tap(int scancode) {
    keyboard_lowlevel_callback(scancode);
    keyboard_lowlevel_callback(scancode | releaseBit);
}

// Taps Escape on its third frame, so that run() ends at the start of the fourth pass.
class ThreePassWorld : public World {
  public:
    using World::World;
    void draw() override {
        World::draw();
        if (++frames == 3) {
            tap(KEY_ESC);
        }
    }
    int frames = 0;
};

class InputLatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        releaseInput();
        InputLatch::install();
    }
    void TearDown() override { releaseInput(); }
    TempDir dir;
};
} // namespace

TEST_F(InputLatchTest, ATapOrClickCountsInTheNextPassOnlyAndOnlyForTheControls) {
    const struct {
        int scancode;
        bool counts;
    } cases[] = {{KEY_ESC, true},  {KEY_UP, true}, {KEY_DOWN, true},     {KEY_RIGHT, true},
                 {KEY_LEFT, true}, {KEY_A, true},  {KEY_LCONTROL, true}, {KEY_ALT, true},
                 {KEY_M, true},    {KEY_N, true},  {KEY_R, true},        {KEY_B, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scancode);
        tap(c.scancode);
        EXPECT_FALSE(InputLatch::isDown(c.scancode));
        InputLatch::takePresses();
        EXPECT_EQ(c.counts, InputLatch::isDown(c.scancode));
        InputLatch::takePresses();
        EXPECT_FALSE(InputLatch::isDown(c.scancode));
    }
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    EXPECT_FALSE(InputLatch::isLeftButtonDown());
    InputLatch::takePresses();
    EXPECT_TRUE(InputLatch::isLeftButtonDown());
    InputLatch::takePresses();
    EXPECT_FALSE(InputLatch::isLeftButtonDown());
}

TEST_F(InputLatchTest, APressSeenHeldOrRepeatedWhileHeldDoesNotCountInTheNextPass) {
    InputLatch::takePresses();
    key[KEY_RIGHT] = 1;
    keyboard_lowlevel_callback(KEY_RIGHT);
    EXPECT_TRUE(InputLatch::isDown(KEY_RIGHT));
    // The key's repeats come after the pass read it, then it is let go.
    keyboard_lowlevel_callback(KEY_RIGHT);
    keyboard_lowlevel_callback(KEY_RIGHT);
    key[KEY_RIGHT] = 0;
    keyboard_lowlevel_callback(KEY_RIGHT | releaseBit);
    InputLatch::takePresses();
    EXPECT_FALSE(InputLatch::isDown(KEY_RIGHT));
    // A click seen held likewise.
    mouse_b = 1;
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    EXPECT_TRUE(InputLatch::isLeftButtonDown());
    mouse_b = 0;
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    InputLatch::takePresses();
    EXPECT_FALSE(InputLatch::isLeftButtonDown());
}

// Run ends at the start of a pass: on Escape at any time, on R (a restart) after the avatar's
// death only. Three passes mean that the taps made before it were not taken for an end.
TEST_F(InputLatchTest, RunEndsOnEscapeAndAfterDeathOnRWithTheNoticeDrawnWhileDead) {
    const std::string notice = "You died. R plays again, Escape quits.";
    const int left = World::frameWidth / 2 - text_length(font, notice.c_str()) / 2;
    const int top = (World::frameHeight - text_height(font)) / 2;
    const struct {
        const char* name;
        std::string elements;
        bool dead;
        std::vector<int> taps;
        bool restart;
        int passes;
    } cases[] = {
        {"Escape while alive", "@..", false, {KEY_ESC}, false, 0},
        {"R while alive", "@..", false, {KEY_R}, false, 3},
        {"R after death", "@..", true, {KEY_R}, true, 0},
        {"Escape wins over R", "@..", true, {KEY_R, KEY_ESC}, false, 0},
        {"nothing after death", "@..", true, {}, false, 3},
        {"R without avatar", "C..", false, {KEY_R}, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("orvalle.map", mapText({"ggg"}, {c.elements}));
        ThreePassWorld world(dir.file("orvalle.map"), dir.path());
        if (c.dead) {
            kill(world.getAvatar());
        }
        for (int k : c.taps) {
            tap(k);
        }
        world.run();
        EXPECT_EQ(c.restart, world.isRestartAsked());
        EXPECT_EQ(c.passes, world.frames);
        EXPECT_EQ(c.passes, world.getTimer()->getSecound());
        if (c.passes > 0) {
            EXPECT_EQ(c.dead, differingTextPixels(world.getFrame(), notice, left, top) == 0);
        }
    }
}
