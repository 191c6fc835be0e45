#ifndef ORVALLE_INPUTLATCH_H
#define ORVALLE_INPUTLATCH_H

// Keeps the presses of the game's controls that begin and end between two passes. The library's
// `key` array and `mouse_b` only say what is held at the moment they are read, so such a press
// would never be seen; latched, it counts once in the next pass, as if held then.
//
// The library's input handlers report every key and button event to hooks that install() sets;
// the pass takes the latched presses at its start and reads the controls through isDown and
// isLeftButtonDown. Without the hooks (headless runs) both read the library's state alone.
class InputLatch {
  public:
    // Hooks into the library's keyboard and mouse handlers, once both are installed.
    static void install();
    // Called at the start of a pass: the presses latched since the last call count in this pass;
    // the ones the last pass counted are dropped.
    static void takePresses();
    // Whether the key is held now or counts from a press taken at the start of this pass.
    static bool isDown(int scancode);
    // The same for the left mouse button.
    static bool isLeftButtonDown();
    // Unhooks, and forgets every press.
    static void remove();
};

#endif
