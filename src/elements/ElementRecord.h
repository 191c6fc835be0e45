#ifndef ORVALLE_ELEMENT_RECORD_H
#define ORVALLE_ELEMENT_RECORD_H

#include "images/Images.h"

// Everything the rules keep of an element, as values, as a save file holds it. The step
// timer, the frame and the second of the last update are what running the element on every
// pass would have left, whether or not it follows the idle clock. The attacker is the
// caller's to name: it is an element like any other (Element::record and restore).
struct ElementRecord {
    const Images::KindFrames* looks;
    // The frame shown: 0..15 one of its frames, or one of the Shown values.
    int shown;
    int lastSecound;
    int time;
    int maxTime;
    int direction;
    int type;
    int counterAttack;
    int counterEat;
    int counterFood;
    int counterUnderAttack;
    int counterHelth;
    int food;
    int counterDead;
    int x;
    int y;
    int visionRange;
    int helth;
    int strong;
    int flags; // the Flag bits

    bool operator==(const ElementRecord&) const = default;

    enum Shown : int { shownMeat = Images::frameCount, shownDead, shownPlaceholder };
    enum Flag : int {
        walkingFlag = 1,
        workingFlag = 2,
        aliveFlag = 4,
        creatureFlag = 8,
        underAttackFlag = 16,
        toEraseFlag = 32,
        bearsFruitFlag = 64,
        restlessFlag = 128
    };
    static constexpr int highestFacing = 7;
};

#endif
