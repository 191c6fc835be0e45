#ifndef ORVALLE_INPUTSNAPSHOT_H
#define ORVALLE_INPUTSNAPSHOT_H

#include "core/Action.h"

#include <allegro.h>

#include <array>
#include <bitset>
#include <initializer_list>

// What the player's controls say for one pass, taken once at its start: the rules read this
// value, never the library's input state, so a pass sees one consistent set of controls and a
// headless caller can hand a pass any controls it likes.
struct InputSnapshot {
    // A raw scancode is 7 bits.
    static constexpr int scancodeCount = 128;

    // Held at the snapshot, or pressed (and perhaps let go) since the last one.
    std::bitset<scancodeCount> down;
    // Went down since the last snapshot: what the switches (pause, status panel) act on, once
    // per press however long it is held.
    std::bitset<scancodeCount> pressed;
    // How often each key went down since the last snapshot: several times when taps come faster
    // than the passes.
    static constexpr int mostPresses = 255;
    std::array<unsigned char, scancodeCount> presses{};
    bool leftButton = false;
    bool rightButton = false;
    // Where the left button went down in the frame's pixels, or where the pointer is while the
    // button is held.
    int pointerX = 0;
    int pointerY = 0;
    // The window's close button was clicked.
    bool closeAsked = false;

    bool isDown(int scancode) const { return down[scancode]; }
    bool wasPressed(int scancode) const { return pressed[scancode]; }
    // Whether a key that the control table gives the action is held, or went down.
    bool isHeld(Action action) const;
    bool wasPressed(Action action) const;
    int timesPressed(Action action) const;
    // The quit key and the close button end the game alike.
    bool quits() const { return isHeld(Action::quit) || closeAsked; }

    // The keys going down now, as a tap or the start of a hold gives them.
    static InputSnapshot pressing(std::initializer_list<int> scancodes);
    // The first key that the control table gives each action, going down now.
    static InputSnapshot pressing(std::initializer_list<Action> actions);
};

#endif
