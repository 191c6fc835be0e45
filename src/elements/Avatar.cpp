#include "Avatar.h"

#include "Vision.h"
#include "World.h"

Avatar::Avatar(World* owner) : Element(owner, ElementKind::of(AVATAR)) {}

void Avatar::run() {
    Element::run();
    if (isWalking() || !isAlive()) {
        return;
    }
    actOnKeys();
}

// The first held key in this order decides the one action of the pass.
void Avatar::actOnKeys() {
    World* here = getWorld();
    if (key[KEY_UP]) {
        move(UP);
    } else if (key[KEY_DOWN]) {
        move(DOWN);
    } else if (key[KEY_RIGHT]) {
        move(RIGHT);
    } else if (key[KEY_LEFT]) {
        move(LEFT);
    } else if (key[KEY_A]) {
        delete getVision();
        setVision(here->getVision(this, getVisionRange()));
    } else if (key[KEY_LCONTROL]) {
        if (Element* front = here->getFront(this, World::elementLayer)) {
            attack(front);
        }
    } else if (key[KEY_ALT]) {
        if (Element* front = here->getFront(this, World::elementLayer)) {
            eat(front);
        }
    } else if (key[KEY_M]) {
        here->setMusic(true);
    } else if (key[KEY_N]) {
        here->setMusic(false);
    }
}
