// An element's state as values, for callers outside the rules: the setters that keep a value in
// its range, the line that describes it, and the record that a save keeps and restores it from.
#include "elements/Element.h"

#include "core/Utils.h"

#include <string>

namespace {
const int maxStrong = 100;
} // namespace

void Element::setDirection(int d) {
    if (d >= 0 && d <= Record::highestFacing) {
        update(&State::direction, d);
    }
}

void Element::setFood(int v) {
    if (v >= 0 && v <= maxFood) {
        update(&State::food, v);
    }
}

void Element::setStrong(int v) {
    if (v >= 0 && v <= maxStrong) {
        update(&State::strong, v);
    }
}

std::string Element::toString() {
    const State& s = now();
    return *s.looks->name + ": live " + decimal(s.alive ? 1 : 0) + " strong " + decimal(s.strong) +
           " helth " + decimal(s.helth) + " food " + decimal(s.food);
}

// The first of its frames that is the image, for frame tables that repeat a bitmap.
Element::Record Element::record() const {
    const State s = unclocked();
    int shown = Record::shownPlaceholder;
    for (int f = Images::frameCount - 1; f >= 0; --f) {
        if ((*s.looks->frames)[f] == s.image) {
            shown = f;
        }
    }
    if (shown == Record::shownPlaceholder && (*s.looks->meat)[0] == s.image) {
        shown = Record::shownMeat;
    } else if (shown == Record::shownPlaceholder && (*s.looks->dead)[0] == s.image) {
        shown = Record::shownDead;
    }
    const int flags =
        (s.walking ? Record::walkingFlag : 0) | (s.working ? Record::workingFlag : 0) |
        (s.alive ? Record::aliveFlag : 0) | (s.creature ? Record::creatureFlag : 0) |
        (s.underAttack ? Record::underAttackFlag : 0) | (s.toErase ? Record::toEraseFlag : 0) |
        (s.bearsFruit ? Record::bearsFruitFlag : 0) | (restless ? Record::restlessFlag : 0);
    return Record{s.looks,
                  shown,
                  s.lastSecound,
                  s.time,
                  s.maxTime,
                  s.direction,
                  s.type,
                  s.counterAttack,
                  s.counterEat,
                  s.counterFood,
                  s.counterUnderAttack,
                  s.counterHelth,
                  s.food,
                  s.counterDead,
                  s.x,
                  s.y,
                  s.visionRange,
                  s.helth,
                  s.strong,
                  flags};
}

// A frame the cache does not hold is shown as the placeholder, as everywhere.
BITMAP* Element::frameShown(const Images::KindFrames& looks, int shown) const {
    BITMAP* frame = nullptr;
    if (shown < Record::shownMeat) {
        frame = (*looks.frames)[shown];
    } else if (shown == Record::shownMeat) {
        frame = (*looks.meat)[0];
    } else if (shown == Record::shownDead) {
        frame = (*looks.dead)[0];
    }
    return frame != nullptr ? frame : placeholder();
}

void Element::restore(const Record& r) {
    wakeUp();
    State& s = change();
    s.looks = r.looks;
    s.image = frameShown(*r.looks, r.shown);
    s.lastSecound = r.lastSecound;
    s.time = r.time;
    s.maxTime = r.maxTime;
    s.direction = r.direction;
    s.type = r.type;
    s.counterAttack = r.counterAttack;
    s.counterEat = r.counterEat;
    s.counterFood = r.counterFood;
    s.counterUnderAttack = r.counterUnderAttack;
    s.counterHelth = r.counterHelth;
    s.food = r.food;
    s.counterDead = r.counterDead;
    s.x = r.x;
    s.y = r.y;
    s.visionRange = r.visionRange;
    s.helth = r.helth;
    s.strong = r.strong;
    s.walking = (r.flags & Record::walkingFlag) != 0;
    s.working = (r.flags & Record::workingFlag) != 0;
    s.alive = (r.flags & Record::aliveFlag) != 0;
    s.creature = (r.flags & Record::creatureFlag) != 0;
    s.underAttack = (r.flags & Record::underAttackFlag) != 0;
    s.toErase = (r.flags & Record::toEraseFlag) != 0;
    s.bearsFruit = (r.flags & Record::bearsFruitFlag) != 0;
    restless = (r.flags & Record::restlessFlag) != 0;
}
