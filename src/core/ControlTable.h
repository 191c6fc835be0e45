#ifndef ORVALLE_CONTROLTABLE_H
#define ORVALLE_CONTROLTABLE_H

#include "core/Action.h"
#include "core/InputSnapshot.h"

#include <array>
#include <bitset>
#include <span>
#include <vector>

// The player's controls, one row each as the player reads them, binding each key to the action it
// gives. The code that acts asks the input for its action (InputSnapshot::isHeld), so a key
// changed here changes the game; the InputLatch keeps the short presses of the keys of every
// latched row; and the words of the rows are what the status panel, the README's table of
// controls and the manual page list (a test holds both to them). A new control is a row here, an
// action, and the code that acts on the action.
class ControlTable {
  public:
    static constexpr int noKey = 0; // no key of the library has scancode 0
    static constexpr int mostKeys = 4;

    struct Key {
        int scancode;
        Action action;
    };

    struct Row {
        // The keys of the row and the action each gives, in the order the avatar tries them,
        // then noKey; none for a mouse button.
        std::array<Key, mostKeys> keys;
        // The mouse handler's flag for the button going down, for a mouse button; 0 for keys.
        int mouseFlag;
        // A press that begins and ends between two passes counts, once, in the next one.
        bool latched;
        // The words shown to the player: the keys as they are named, what they do, and the
        // few words of it that the status panel has room for.
        const char* keyNames;
        const char* action;
        const char* hint;

        std::vector<int> keyScancodes() const;
    };

    static std::span<const Row> rows();
    // The scancode of every key of a latched row.
    static std::bitset<InputSnapshot::scancodeCount> latchedKeys();
    // The scancodes of the keys that give an action.
    static const std::bitset<InputSnapshot::scancodeCount>& keysOf(Action action);
    // The first key that gives an action, in the table's order.
    static int firstKeyOf(Action action);
    // Gives an action to another key, in place of every key the table gave it: a key map of one's
    // own. The InputLatch takes the latched keys anew when it is next installed.
    static void rebind(Action action, int scancode);
};

#endif
