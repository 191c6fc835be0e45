#include "core/ControlTable.h"

#include <algorithm>
#include <iterator>

namespace {
using Row = ControlTable::Row;
using Key = ControlTable::Key;
using Keys = std::bitset<InputSnapshot::scancodeCount>;

// The keys of a row, as many as it has, each with the action it gives.
template <class... Bound> constexpr std::array<Key, ControlTable::mostKeys> keys(Bound... bound) {
    static_assert(sizeof...(bound) <= ControlTable::mostKeys, "too many keys for one row");
    return {bound...};
}

const int noButton = 0;
const bool tapCounts = true;

// The avatar's keys first, in the order in which it tries them.
constexpr Row defaults[] = {
    {keys(Key{KEY_UP, Action::walkUp}, Key{KEY_DOWN, Action::walkDown},
          Key{KEY_RIGHT, Action::walkRight}, Key{KEY_LEFT, Action::walkLeft}),
     noButton, tapCounts, "Arrow keys", "turn and walk one cell (held: one cell every 7 passes)",
     "walk"},
    {keys(Key{KEY_A, Action::lookAhead}), noButton, tapCounts, "A", "look again at what lies ahead",
     "look ahead"},
    {keys(Key{KEY_LCONTROL, Action::hit}), noButton, tapCounts, "Left Control",
     "hit whatever stands in front of you (once per 20 passes)", "hit"},
    {keys(Key{KEY_ALT, Action::eat}), noButton, tapCounts, "Alt",
     "eat from a fruit tree or a carcass in front of you, when not at full health", "eat"},
    {keys(Key{KEY_M, Action::musicOn}, Key{KEY_N, Action::musicOff}), noButton, tapCounts, "M / N",
     "music on / off (also after the avatar's death)", "music"},
    {keys(), MOUSE_FLAG_LEFT_DOWN, tapCounts, "Left mouse button",
     "select a creature or thing; its status line shows at the top left", "select"},
    {keys(), MOUSE_FLAG_RIGHT_DOWN, tapCounts, "Right mouse button",
     "clear the selection (with both buttons down, the left one selects)", "unselect"},
    {keys(Key{KEY_H, Action::panel}), noButton, tapCounts, "H",
     "show or hide the status panel: your health, the day and time, how many wild creatures "
     "of each kind live, and the pace",
     "status"},
    {keys(Key{KEY_F1, Action::controls}, Key{KEY_SLASH, Action::controls}), noButton, tapCounts,
     "F1 or ?", "show or hide this list of controls (Escape closes it too)", "this page"},
    {keys(Key{KEY_V, Action::vitals}), noButton, tapCounts, "V",
     "show or hide the vitals: a health bar over every creature in view, a red frame around one "
     "a blow just landed on, a yellow mark on one eating, the fruit left on every tree (grey when "
     "bare) and the meat on every carcass",
     "vitals"},
    {keys(Key{KEY_O, Action::overview}), noButton, tapCounts, "O",
     "show or hide the overview: the whole world in the bottom left corner, its land in their "
     "colours, creatures as red dots or, on a big world, a red tint where they crowd, you in a "
     "black ring, the view as a yellow rectangle",
     "overview"},
    {keys(Key{KEY_E, Action::effects}), noButton, tapCounts, "E",
     "sound effects on / off: a blow landed by or on you, a bite, your death", "sounds"},
    {keys(Key{KEY_OPENBRACE, Action::slower}, Key{KEY_CLOSEBRACE, Action::faster}), noButton,
     tapCounts, "[ / ]",
     "slower / faster: x1, x2, x4, x8 and as fast as the machine goes, several passes a frame; "
     "the panel shows the pace and the passes per second",
     "pace"},
    {keys(Key{KEY_P, Action::pause}), noButton, tapCounts, "P",
     "pause, and play on: the world and the music stand still, \"Paused. P plays on.\"", "pause"},
    {keys(Key{KEY_F5, Action::save}, Key{KEY_F9, Action::load}), noButton, tapCounts, "F5 / F9",
     "save the world in your data folder / go back to that save (the panel says when it was "
     "saved)",
     "save/load"},
    {keys(Key{KEY_R, Action::playAgain}), noButton, tapCounts, "R",
     "after the avatar's death: play the map again from the start", "play again"},
    {keys(Key{KEY_ESC, Action::quit}), noButton, tapCounts, "Escape, or the window's close button",
     "quit", "quit"},
};

// Every key is a place in the input snapshot, and every action has a key.
constexpr bool keysFitTheSnapshot() {
    for (const Row& row : defaults) {
        for (const Key& bound : row.keys) {
            if (bound.scancode < 0 || bound.scancode >= InputSnapshot::scancodeCount) {
                return false;
            }
        }
    }
    return true;
}
static_assert(keysFitTheSnapshot(), "a control's scancode lies outside the input snapshot");

constexpr bool everyActionHasAKey() {
    for (int action = 0; action < actionCount; ++action) {
        bool found = false;
        for (const Row& row : defaults) {
            for (const Key& bound : row.keys) {
                found = found || (bound.scancode != ControlTable::noKey &&
                                  static_cast<int>(bound.action) == action);
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}
static_assert(everyActionHasAKey(), "an action of the game has no key in the control table");

// The table as it binds now: as built, or with a key given another action since.
std::array<Row, std::size(defaults)>& current() {
    static std::array<Row, std::size(defaults)> rows = std::to_array(defaults);
    return rows;
}

std::array<Keys, actionCount> bindingsOf(const std::array<Row, std::size(defaults)>& rows) {
    std::array<Keys, actionCount> keysOfAction;
    for (const Row& row : rows) {
        for (const Key& bound : row.keys) {
            if (bound.scancode != ControlTable::noKey) {
                keysOfAction[static_cast<std::size_t>(bound.action)].set(bound.scancode);
            }
        }
    }
    return keysOfAction;
}

std::array<Keys, actionCount>& bindings() {
    static std::array<Keys, actionCount> keysOfAction = bindingsOf(current());
    return keysOfAction;
}
} // namespace

std::vector<int> ControlTable::Row::keyScancodes() const {
    std::vector<int> scancodes;
    for (const Key& bound : keys) {
        if (bound.scancode != noKey) {
            scancodes.push_back(bound.scancode);
        }
    }
    return scancodes;
}

std::span<const ControlTable::Row> ControlTable::rows() {
    return current();
}

std::bitset<InputSnapshot::scancodeCount> ControlTable::latchedKeys() {
    Keys latched;
    for (const Row& row : current()) {
        if (!row.latched) {
            continue;
        }
        for (const int scancode : row.keyScancodes()) {
            latched.set(scancode);
        }
    }
    return latched;
}

const std::bitset<InputSnapshot::scancodeCount>& ControlTable::keysOf(Action action) {
    return bindings()[static_cast<std::size_t>(action)];
}

int ControlTable::firstKeyOf(Action action) {
    for (const Row& row : current()) {
        for (const Key& bound : row.keys) {
            if (bound.scancode != noKey && bound.action == action) {
                return bound.scancode;
            }
        }
    }
    return noKey;
}

void ControlTable::rebind(Action action, int scancode) {
    if (scancode <= noKey || scancode >= InputSnapshot::scancodeCount) {
        return;
    }
    for (Row& row : current()) {
        for (Key& bound : row.keys) {
            if (bound.scancode != noKey && bound.action == action) {
                bound.scancode = scancode;
            }
        }
    }
    bindings() = bindingsOf(current());
}
