#include "game/AvatarEvents.h"

#include "elements/Element.h"
#include "world/World.h"

namespace {
// A blow of this pass reads 0 turns ago on the one it landed on, or 1 when the hitter's turn came
// before the victim's.
bool justHit(const Element& victim, const Element* hitter) {
    return victim.getAttacker() != nullptr &&
           (hitter == nullptr || victim.getAttacker() == hitter) &&
           victim.turnsSinceBlowLanded() <= 1;
}
} // namespace

// A loss of health while a blow has just landed is the blow's (the counter also restarts on a
// blow of the avatar's own that lands: with a loss to hunger in that very pass, it reads as a
// blow taken).
AvatarEvents::Pass AvatarEvents::note(const World& world) {
    Element* avatar = world.getAvatar();
    if (avatar == nullptr) {
        return {};
    }
    Pass pass;
    pass.helthBefore = helthBefore;
    pass.helth = avatar->getHelth();
    const bool alive = avatar->isAlive();
    const bool lost = helthBefore >= 0 && pass.helth < helthBefore;
    pass.blowTaken = alive && lost && justHit(*avatar, nullptr);
    const Element* front = world.getFront(avatar, Habitat::elementLayer);
    pass.blowLanded = avatar->turnsSinceBlow() == 0 && front != nullptr && front->isCreature() &&
                      justHit(*front, avatar);
    pass.bite = avatar->turnsSinceBite() == 0;
    pass.died = aliveBefore && !alive;
    helthBefore = pass.helth;
    aliveBefore = alive;
    return pass;
}
