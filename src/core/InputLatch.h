#ifndef ORVALLE_INPUTLATCH_H
#define ORVALLE_INPUTLATCH_H

#include "core/InputSnapshot.h"

// The one reader of the library's input state. It keeps the presses of the game's controls that
// begin and end between two passes: the library's `key` array and `mouse_b` only say what is
// held at the moment they are read, so such a press would never be seen; latched, it counts once
// in the next pass, as if held then. It also keeps where a click went down, and the window's
// close button.
//
// The library's input handlers report every key and button event to hooks that install() sets;
// the pass takes its snapshot at its start. Without the hooks (headless runs) the snapshot says
// what the library's state says alone.
class InputLatch {
  public:
    // Hooks into the library's keyboard and mouse handlers, once both are installed, and into
    // the window's close button.
    static void install();
    // Called at the start of a pass: the controls held now, plus the presses latched since the
    // last call, which count in this pass only.
    static InputSnapshot take();
    // Unhooks, and forgets every press.
    static void remove();
};

#endif
