#include "game/Warnings.h"

#include "elements/Element.h"

namespace {
// Below this health the avatar is starving.
const int starvingHelth = Element::maxHelth / 4;
} // namespace

// A blow of this pass reads 0 turns ago while the avatar is under attack, or 1 when the hitter's
// turn came before the avatar's; a loss of health without one is hunger's. (The counter also
// restarts on a blow of the avatar's own that lands: with a hunger loss in that very pass, it
// reads as a blow taken.)
void Warnings::note(const Element& avatar, Clock::time_point now) {
    const int helth = avatar.getHelth();
    const bool lost = helthBefore >= 0 && helth < helthBefore;
    const bool blow = lost && avatar.getAttacker() != nullptr && avatar.turnsSinceBlowLanded() <= 1;
    if (avatar.isAlive() && blow) {
        warn(hit, now);
    } else if (avatar.isAlive() && lost && helth < starvingHelth && helthBefore >= starvingHelth) {
        warn(starving, now);
    }
    helthBefore = helth;
}

void Warnings::warn(const char* text, Clock::time_point now) {
    shown = text;
    until = now + shownFor;
}

std::string Warnings::current(Clock::time_point now) const {
    return shown != nullptr && now < until ? shown : "";
}
