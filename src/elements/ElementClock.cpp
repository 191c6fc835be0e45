// Following the idle clock: an element that only animates leaves the sweep, and its step timer
// and frame are worked out from the clock when they are read.
#include "elements/Element.h"

#include "elements/Habitat.h"
#include "elements/IdleClock.h"
#include "elements/SweepBooks.h"

#include <typeinfo>

// Everything else that run() does is a step toward a full counter or a tree's full fruit, and a
// settled element's are full; a creature or a walking element has more to do.
bool Element::isSettled() const {
    const State& s = now();
    return s.alive && !s.creature && (!s.bearsFruit || s.food >= maxFood) && !s.walking &&
           !s.underAttack && s.attacker == nullptr && s.counterAttack == maxCounterAttack &&
           s.counterEat == maxCounterEat && s.counterFood == maxCounterFood &&
           s.counterUnderAttack == maxCounterUnderAttack && s.counterHelth == maxCounterHelth &&
           0 <= s.time && s.time <= s.maxTime;
}

// The clock stands for Element::run() alone: a class of its own, whatever its run() does, is
// run on every pass.
bool Element::isPlainElement() const {
    return typeid(*this) == typeid(Element);
}

// The clock advances exactly when a settled element whose last update fell on the clock's
// second would update, so only such an element may follow it.
bool Element::followClock() {
    if (clocked || restless || !isSettled()) {
        return clocked;
    }
    const IdleClock& clock = habitat->books().getIdleClock();
    // The class check last: comparing type names costs more than every other test.
    if (clock.on && now().lastSecound == clock.secound && isPlainElement()) {
        clocked = true;
        clockBase = clock.ticks;
    }
    return clocked;
}

bool Element::followClockSince(long ticks) {
    if (!clocked && !restless && isSettled() && isPlainElement()) {
        clocked = true;
        clockBase = ticks;
    }
    return clocked;
}

void Element::wakeUp() {
    if (clocked) {
        leaveClock();
    }
}

void Element::stayAwake() {
    restless = true;
    wakeUp();
}

// Makes time, image and lastSecound what the runs so far would have left, and asks the world to
// run the element again.
void Element::leaveClock() {
    const State left = unclocked();
    clocked = false;
    change() = left;
    habitat->books().wake(this);
}

// Ahead of a sweep that ticked, the element has yet to make this pass's update: its last one
// fell on the second before.
Element::State Element::unclocked() const {
    State s = now();
    if (!clocked) {
        return s;
    }
    const IdleClock& clock = habitat->books().getIdleClock();
    const long ticks = clockedTicks();
    const bool updateDue = ticks < clock.ticks - clockBase;
    s.image = imageAfter(ticks);
    s.time = timeAfter(ticks);
    s.lastSecound = updateDue ? clock.previousSecound : clock.secound;
    return s;
}

// The frame is drawn on every pass: the world's books are reached once.
long Element::clockedTicks() const {
    SweepBooks& books = habitat->books();
    const IdleClock& clock = books.getIdleClock();
    const long ticks = clock.ticks - clockBase;
    return ticks > 0 && clock.tickedThisSweep && books.isAheadOfSweep(*this) ? ticks - 1 : ticks;
}

// Each tick is one step of the timer, which runs 0..maxTime and wraps to 0.
int Element::timeAfter(long ticks) const {
    const long cycle = static_cast<long>(now().maxTime) + 1;
    return static_cast<int>((now().time + ticks % cycle) % cycle);
}

// Until the first tick the frame is the one the element had; every tick chooses it anew.
BITMAP* Element::imageAfter(long ticks) const {
    return ticks == 0 ? now().image : frameAt(timeAfter(ticks));
}
