#include "core/InputLatch.h"

#include "core/ControlTable.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>

namespace {
const int scancodeCount = InputSnapshot::scancodeCount;
// The keys whose short presses count, as the table of controls marks them; both mouse buttons
// count too. Taken from the table before the hooks are set, so the hooks only ever read it.
std::bitset<scancodeCount> latchedKeys = ControlTable::latchedKeys();
// The 8th bit of a raw scancode is set on a release.
const int releaseBit = 0x80;
const int noClick = -1;

// The hooks run on the library's input thread (an interrupt on some platforms): they only set
// flags, in lock-free atomics, which the pass reads and clears on the main thread.
static_assert(std::atomic<char>::is_always_lock_free, "the hooks must never wait for a lock");
static_assert(std::atomic<int>::is_always_lock_free, "the hooks must never wait for a lock");
// Keys down by the hook's own count: the repeats of a held key arrive as further presses.
std::atomic<char> hookDown[scancodeCount];
// Presses not yet taken by a pass, counted: taps faster than the passes each count.
std::atomic<int> pending[scancodeCount];
// Where the last left click not yet taken went down, as the library packs it in mouse_pos.
std::atomic<int> pendingClick{noClick};
std::atomic<char> pendingRightClick;
// The window's close button was clicked: every snapshot says so from then on, until remove().
std::atomic<char> closeClicked;
// Which keys the last snapshot saw held; main thread only.
bool heldBefore[scancodeCount];

void keyHook(int scancode) {
    const int k = scancode & (scancodeCount - 1);
    if ((scancode & releaseBit) != 0) {
        hookDown[k] = 0;
        return;
    }
    if (hookDown[k].exchange(1) == 0 && latchedKeys[k]) {
        pending[k].fetch_add(1);
    }
}
END_OF_FUNCTION(keyHook)

// The library calls it with the pointer already moved to where the button went down.
void mouseHook(int flags) {
    if ((flags & MOUSE_FLAG_LEFT_DOWN) != 0) {
        pendingClick = mouse_pos;
    }
    if ((flags & MOUSE_FLAG_RIGHT_DOWN) != 0) {
        pendingRightClick = 1;
    }
}
END_OF_FUNCTION(mouseHook)

void closeHook() {
    closeClicked = 1;
}
END_OF_FUNCTION(closeHook)

// A key pressed since the last snapshot counts in this one, held or not; one held now that the
// last snapshot did not count as down has gone down too, even when no hook reported it. What is
// remembered is what the snapshot counted as down, not the library's key state alone: a press
// that the hook reported before the key state showed it is one press, not a second one when the
// key state catches up.
void takeKeys(InputSnapshot& input) {
    for (int k = 0; k < scancodeCount; ++k) {
        if (!latchedKeys[k]) {
            continue;
        }
        const bool held = key[k] != 0;
        const int latched = pending[k].exchange(0);
        input.down[k] = held || latched > 0;
        input.pressed[k] = latched > 0 || (held && !heldBefore[k]);
        input.presses[k] = static_cast<unsigned char>(
            std::clamp(latched, input.pressed[k] ? 1 : 0, InputSnapshot::mostPresses));
        heldBefore[k] = input.down[k];
    }
}

// A held button selects where the pointer is; a click already let go, where it went down.
void takeButtons(InputSnapshot& input) {
    const bool leftHeld = (mouse_b & 1) != 0;
    const int click = pendingClick.exchange(noClick);
    input.leftButton = leftHeld || click != noClick;
    if (leftHeld || click == noClick) {
        input.pointerX = mouse_x;
        input.pointerY = mouse_y;
    } else {
        input.pointerX = click >> 16;
        input.pointerY = click & 0xFFFF;
    }
    input.rightButton = (mouse_b & 2) != 0 || pendingRightClick.exchange(0) != 0;
}
} // namespace

void InputLatch::install() {
    latchedKeys = ControlTable::latchedKeys();
    LOCK_FUNCTION(keyHook);
    LOCK_FUNCTION(mouseHook);
    LOCK_FUNCTION(closeHook);
    LOCK_VARIABLE(latchedKeys);
    LOCK_VARIABLE(hookDown);
    LOCK_VARIABLE(pending);
    LOCK_VARIABLE(pendingClick);
    LOCK_VARIABLE(pendingRightClick);
    LOCK_VARIABLE(closeClicked);
    keyboard_lowlevel_callback = keyHook;
    mouse_callback = mouseHook;
    set_close_button_callback(closeHook);
}

InputSnapshot InputLatch::take() {
    InputSnapshot input;
    takeKeys(input);
    takeButtons(input);
    input.closeAsked = closeClicked != 0;
    return input;
}

void InputLatch::remove() {
    keyboard_lowlevel_callback = nullptr;
    mouse_callback = nullptr;
    set_close_button_callback(nullptr);
    for (int k = 0; k < scancodeCount; ++k) {
        hookDown[k] = 0;
        pending[k] = 0;
        heldBefore[k] = false;
    }
    pendingClick = noClick;
    pendingRightClick = 0;
    closeClicked = 0;
}
