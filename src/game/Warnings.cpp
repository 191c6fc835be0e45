#include "game/Warnings.h"

#include "elements/Element.h"

namespace {
// Below this health the avatar is starving.
const int starvingHelth = Element::maxHelth / 4;
} // namespace

// A loss of health that is no blow's is hunger's.
void Warnings::note(const AvatarEvents::Pass& pass, Clock::time_point now) {
    if (pass.blowTaken) {
        warn(hit, now);
    } else if (!pass.died && pass.helth < starvingHelth && pass.helthBefore >= starvingHelth) {
        warn(starving, now);
    }
}

void Warnings::warn(const char* text, Clock::time_point now) {
    shown = text;
    until = now + shownFor;
}

std::string Warnings::current(Clock::time_point now) const {
    return shown != nullptr && now < until ? shown : "";
}
