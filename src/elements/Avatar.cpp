#include "Avatar.h"

#include "Vision.h"
#include "World.h"

Avatar::Avatar(World* world) : Element(world, "avatar", AVATAR) {
    setCreature(true);
    setWorking(false);
    setMaxTime(6);
}

void Avatar::run() {
    Element::run();
    if (isWalking() || !isAlive()) {
        return;
    }
    actOnKeys();
}

// The first held key in this order decides the one action of the pass.
void Avatar::actOnKeys() {
    World* world = getWorld();
    if (key[KEY_UP]) {
        move(4);
    } else if (key[KEY_DOWN]) {
        move(0);
    } else if (key[KEY_RIGHT]) {
        move(2);
    } else if (key[KEY_LEFT]) {
        move(6);
    } else if (key[KEY_A]) {
        delete getVision();
        setVision(world->getVision(this, getVisionRange()));
    } else if (key[KEY_LCONTROL]) {
        if (Element* front = world->getFront(this, 1)) {
            attack(front);
        }
    } else if (key[KEY_ALT]) {
        if (Element* front = world->getFront(this, 1)) {
            eat(front);
        }
    } else if (key[KEY_M]) {
        world->setMusic(true);
    } else if (key[KEY_N]) {
        world->setMusic(false);
    }
}
