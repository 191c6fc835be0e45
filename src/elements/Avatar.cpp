#include "elements/Avatar.h"

#include "core/InputSnapshot.h"
#include "elements/Habitat.h"

Avatar::Avatar(World* owner, const ElementKind& kind) : Element(owner, kind) {}

void Avatar::run() {
    Element::run();
    if (isWalking() || !isAlive()) {
        return;
    }
    actOnKeys();
}

// The first key in this order that is held, or was pressed since the last pass, decides the one
// action of the pass.
void Avatar::actOnKeys() {
    Habitat* here = getHabitat();
    const InputSnapshot& input = here->getInput();
    if (input.isHeld(Action::walkUp)) {
        move(UP);
    } else if (input.isHeld(Action::walkDown)) {
        move(DOWN);
    } else if (input.isHeld(Action::walkRight)) {
        move(RIGHT);
    } else if (input.isHeld(Action::walkLeft)) {
        move(LEFT);
    } else if (input.isHeld(Action::lookAhead)) {
        reloadVision();
    } else if (input.isHeld(Action::hit)) {
        if (Element* front = here->getFront(this, Habitat::elementLayer)) {
            attack(front);
        }
    } else if (input.isHeld(Action::eat)) {
        if (Element* front = here->getFront(this, Habitat::elementLayer)) {
            eat(front);
        }
    } else if (input.isHeld(Action::musicOn)) {
        here->setMusic(true);
    } else if (input.isHeld(Action::musicOff)) {
        here->setMusic(false);
    }
}
