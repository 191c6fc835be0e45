#include "Spider.h"

Spider::Spider(World* world) : Element(world, "spider", SPIDER) {
    setCreature(true);
}

void Spider::run() {
    Element::run();
    if (isWalking() || !isAlive() || hunt(CYCLOPE)) {
        return;
    }
    patrol();
}

// Straight on; when blocked, turn to the next of down, right, up, left.
void Spider::patrol() {
    const int heading = getDirection();
    if (move(heading)) {
        return;
    }
    switch (heading) {
    case 0:
    case 2:
    case 4: setDirection(heading + 2); break;
    case 6: setDirection(0); break;
    default: break;
    }
}
