#ifndef ORVALLE_ACTION_H
#define ORVALLE_ACTION_H

// What the player can ask for with a key: each key of the control table gives one action, and the
// code that acts asks for its action, never for a key.
enum class Action {
    walkUp,
    walkDown,
    walkRight,
    walkLeft,
    lookAhead,
    hit,
    eat,
    musicOn,
    musicOff,
    panel,
    controls,
    vitals,
    overview,
    effects,
    slower,
    faster,
    pause,
    save,
    load,
    playAgain,
    quit,
};

inline constexpr int actionCount = static_cast<int>(Action::quit) + 1;

#endif
