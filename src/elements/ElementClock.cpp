// Following the idle clock: an element that only animates leaves the sweep, and its step timer
// and frame are worked out from the clock when they are read.
#include "Element.h"

#include "World.h"

// Everything else that run() does is a step toward a full counter or a tree's full fruit, and a
// settled element's are full; a creature or a walking element has more to do.
bool Element::isSettled() const {
    return alive && !creature && (type != TREE || food >= maxFood) && !walking && !underAttack &&
           attacker == nullptr && counterAttack == maxCounterAttack &&
           counterEat == maxCounterEat && counterFood == maxCounterFood &&
           counterUnderAttack == maxCounterUnderAttack && counterHelth == maxCounterHelth &&
           0 <= time && time <= maxTime;
}

// The clock advances exactly when a settled element whose last update fell on the clock's
// second would update, so only such an element may follow it.
bool Element::followClock() {
    const IdleClock& clock = world->getIdleClock();
    if (!clock.on) {
        return false;
    }
    if (!clocked && lastSecound == clock.secound && isSettled()) {
        clocked = true;
        clockBase = clock.ticks;
    }
    return clocked;
}

// Makes time, image and lastSecound what the runs skipped would have left, and asks the world
// to run the element again.
void Element::leaveClock() {
    const int stepTime = clockedTime();
    image = clockedImage();
    time = stepTime;
    lastSecound = world->getIdleClock().secound;
    clocked = false;
    world->wake(this);
}

// Each tick is one step of the timer, which runs 0..maxTime and wraps to 0.
int Element::clockedTime() const {
    const long ticks = world->getIdleClock().ticks - clockBase;
    const long cycle = static_cast<long>(maxTime) + 1;
    return static_cast<int>((time + ticks % cycle) % cycle);
}

// Until the first tick the frame is the one the element had; every tick chooses it anew.
BITMAP* Element::clockedImage() const {
    return world->getIdleClock().ticks == clockBase ? image : frameAt(clockedTime());
}
