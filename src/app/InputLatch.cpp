#include "InputLatch.h"

#include <allegro.h>

#include <atomic>

namespace {
// The controls whose short presses count: Escape, the avatar's keys in their table's order, and
// R (play again after death). The left mouse button counts too.
const int latchedKeys[] = {KEY_ESC,      KEY_UP,  KEY_DOWN, KEY_RIGHT, KEY_LEFT, KEY_A,
                           KEY_LCONTROL, KEY_ALT, KEY_M,    KEY_N,     KEY_R};

// A raw scancode is 7 bits; the 8th is set on a release.
const int scancodeCount = 0x80;
const int releaseBit = 0x80;

// The hooks run on the library's input thread (an interrupt on some platforms): they only set
// flags, in lock-free atomics, which the pass reads and clears on the main thread.
static_assert(std::atomic<char>::is_always_lock_free, "the hooks must never wait for a lock");
// Keys down by the hook's own count: the repeats of a held key arrive as further presses.
std::atomic<char> hookDown[scancodeCount];
// Presses not yet taken by a pass, nor seen held by one.
std::atomic<char> pending[scancodeCount];
std::atomic<char> pendingClick;
// What the current pass counts, taken at its start; main thread only.
bool taken[scancodeCount];
bool takenClick;

bool isLatched(int scancode) {
    for (int k : latchedKeys) {
        if (k == scancode) {
            return true;
        }
    }
    return false;
}
END_OF_FUNCTION(isLatched)

void keyHook(int scancode) {
    const int k = scancode & (scancodeCount - 1);
    if ((scancode & releaseBit) != 0) {
        hookDown[k] = 0;
        return;
    }
    if (hookDown[k].exchange(1) == 0 && isLatched(k)) {
        pending[k] = 1;
    }
}
END_OF_FUNCTION(keyHook)

void mouseHook(int flags) {
    if ((flags & MOUSE_FLAG_LEFT_DOWN) != 0) {
        pendingClick = 1;
    }
}
END_OF_FUNCTION(mouseHook)
} // namespace

void InputLatch::install() {
    LOCK_FUNCTION(isLatched);
    LOCK_FUNCTION(keyHook);
    LOCK_FUNCTION(mouseHook);
    LOCK_VARIABLE(latchedKeys);
    LOCK_VARIABLE(hookDown);
    LOCK_VARIABLE(pending);
    LOCK_VARIABLE(pendingClick);
    keyboard_lowlevel_callback = keyHook;
    mouse_callback = mouseHook;
}

void InputLatch::takePresses() {
    for (int k : latchedKeys) {
        taken[k] = pending[k].exchange(0) != 0;
    }
    takenClick = pendingClick.exchange(0) != 0;
}

// A press seen held has counted: it must not count again in the next pass.
bool InputLatch::isDown(int scancode) {
    if (key[scancode]) {
        pending[scancode] = 0;
        return true;
    }
    return taken[scancode];
}

bool InputLatch::isLeftButtonDown() {
    if ((mouse_b & 1) != 0) {
        pendingClick = 0;
        return true;
    }
    return takenClick;
}

void InputLatch::remove() {
    keyboard_lowlevel_callback = nullptr;
    mouse_callback = nullptr;
    for (int k = 0; k < scancodeCount; ++k) {
        hookDown[k] = 0;
        pending[k] = 0;
        taken[k] = false;
    }
    pendingClick = 0;
    takenClick = false;
}
