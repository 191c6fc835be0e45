#ifndef ORVALLE_CONTROLTABLE_H
#define ORVALLE_CONTROLTABLE_H

#include "core/InputSnapshot.h"

#include <array>
#include <bitset>
#include <span>

// The player's controls, one row each as the player reads them. The InputLatch keeps the short
// presses of the keys of every latched row, and the words of the rows are what the README's
// table of controls and the manual page list (a test holds both to them). A new control is a
// row here and the code that acts on its keys.
class ControlTable {
  public:
    static constexpr int noKey = 0; // no key of the library has scancode 0
    static constexpr int mostKeys = 4;

    struct Row {
        // The keys that give the control, in the order the avatar tries them, then noKey; none
        // for a mouse button.
        std::array<int, mostKeys> scancodes;
        // The mouse handler's flag for the button going down, for a mouse button; 0 for keys.
        int mouseFlag;
        // A press that begins and ends between two passes counts, once, in the next one.
        bool latched;
        // The words shown to the player: the keys as they are named, what they do, and the
        // few words of it that the status panel has room for.
        const char* keyNames;
        const char* action;
        const char* hint;

        std::span<const int> keyScancodes() const;
    };

    static std::span<const Row> rows();
    // The scancode of every key of a latched row.
    static std::bitset<InputSnapshot::scancodeCount> latchedKeys();
};

#endif
