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
    if (input.isDown(KEY_UP)) {
        move(UP);
    } else if (input.isDown(KEY_DOWN)) {
        move(DOWN);
    } else if (input.isDown(KEY_RIGHT)) {
        move(RIGHT);
    } else if (input.isDown(KEY_LEFT)) {
        move(LEFT);
    } else if (input.isDown(KEY_A)) {
        reloadVision();
    } else if (input.isDown(KEY_LCONTROL)) {
        if (Element* front = here->getFront(this, Habitat::elementLayer)) {
            attack(front);
        }
    } else if (input.isDown(KEY_ALT)) {
        if (Element* front = here->getFront(this, Habitat::elementLayer)) {
            eat(front);
        }
    } else if (input.isDown(KEY_M)) {
        here->setMusic(true);
    } else if (input.isDown(KEY_N)) {
        here->setMusic(false);
    }
}
