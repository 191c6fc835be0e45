#include "elements/Spider.h"

Spider::Spider(World* owner, const ElementKind& kind) : Element(owner, kind) {}

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
    case DOWN: setDirection(RIGHT); break;
    case RIGHT: setDirection(UP); break;
    case UP: setDirection(LEFT); break;
    case LEFT: setDirection(DOWN); break;
    default: break;
    }
}
