#include "elements/Cyclope.h"

#include <cstdlib>

Cyclope::Cyclope(World* owner, const ElementKind& kind) : Element(owner, kind) {}

void Cyclope::run() {
    Element::run();
    if (isWalking() || !isAlive() || hunt(AVATAR)) {
        return;
    }
    // Nothing to hunt: one try in a random axis direction, down, right, up or left.
    move((std::rand() % 4) * 2);
}
