#include "core/ControlTable.h"

#include <algorithm>

namespace {
using Row = ControlTable::Row;

// The scancodes of a row, as many as it has.
template <class... Scancodes>
constexpr std::array<int, ControlTable::mostKeys> keys(Scancodes... scancodes) {
    static_assert(sizeof...(scancodes) <= ControlTable::mostKeys, "too many keys for one row");
    return {scancodes...};
}

const int noButton = 0;
const bool tapCounts = true;

// The avatar's keys first, in the order in which it tries them.
constexpr Row controls[] = {
    {keys(KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_LEFT), noButton, tapCounts, "Arrow keys",
     "turn and walk one cell (held: one cell every 7 passes)", "walk"},
    {keys(KEY_A), noButton, tapCounts, "A", "look again at what lies ahead", "look ahead"},
    {keys(KEY_LCONTROL), noButton, tapCounts, "Left Control",
     "hit whatever stands in front of you (once per 20 passes)", "hit"},
    {keys(KEY_ALT), noButton, tapCounts, "Alt",
     "eat from a fruit tree or a carcass in front of you, when not at full health", "eat"},
    {keys(KEY_M, KEY_N), noButton, tapCounts, "M / N",
     "music on / off (also after the avatar's death)", "music"},
    {keys(), MOUSE_FLAG_LEFT_DOWN, tapCounts, "Left mouse button",
     "select a creature or thing; its status line shows at the top left", "select"},
    {keys(), MOUSE_FLAG_RIGHT_DOWN, tapCounts, "Right mouse button",
     "clear the selection (with both buttons down, the left one selects)", "unselect"},
    {keys(KEY_H), noButton, tapCounts, "H",
     "show or hide the status panel: your health, the day and time, how many wild creatures "
     "of each kind live, and every control",
     "this panel"},
    {keys(KEY_V), noButton, tapCounts, "V",
     "show or hide the vitals: a health bar over every creature in view, a red frame around one "
     "a blow just landed on, a yellow mark on one eating, the fruit left on every tree (grey when "
     "bare) and the meat on every carcass",
     "vitals"},
    {keys(KEY_O), noButton, tapCounts, "O",
     "show or hide the overview: the whole world in the bottom left corner, its land in their "
     "colours, creatures as dots (you in white), the view as a yellow rectangle",
     "overview"},
    {keys(KEY_OPENBRACE, KEY_CLOSEBRACE), noButton, tapCounts, "[ / ]",
     "slower / faster: x1, x2, x4, x8 and as fast as the machine goes, several passes a frame; "
     "the panel shows the pace and the passes per second",
     "pace"},
    {keys(KEY_P), noButton, tapCounts, "P",
     "pause, and play on: the world and the music stand still, \"Paused. P plays on.\"", "pause"},
    {keys(KEY_F5, KEY_F9), noButton, tapCounts, "F5 / F9",
     "save the world in your data folder / go back to that save (the panel says when it was "
     "saved)",
     "save/load"},
    {keys(KEY_R), noButton, tapCounts, "R",
     "after the avatar's death: play the map again from the start", "play again"},
    {keys(KEY_ESC), noButton, tapCounts, "Escape, or the window's close button", "quit", "quit"},
};

// Every key is a place in the input snapshot.
constexpr bool keysFitTheSnapshot() {
    for (const Row& row : controls) {
        for (const int scancode : row.scancodes) {
            if (scancode < 0 || scancode >= InputSnapshot::scancodeCount) {
                return false;
            }
        }
    }
    return true;
}
static_assert(keysFitTheSnapshot(), "a control's scancode lies outside the input snapshot");
} // namespace

std::span<const int> ControlTable::Row::keyScancodes() const {
    const auto end = std::find(scancodes.begin(), scancodes.end(), noKey);
    return {scancodes.begin(), end};
}

std::span<const ControlTable::Row> ControlTable::rows() {
    return controls;
}

std::bitset<InputSnapshot::scancodeCount> ControlTable::latchedKeys() {
    std::bitset<InputSnapshot::scancodeCount> latched;
    for (const Row& row : controls) {
        if (!row.latched) {
            continue;
        }
        for (const int scancode : row.keyScancodes()) {
            latched.set(scancode);
        }
    }
    return latched;
}
