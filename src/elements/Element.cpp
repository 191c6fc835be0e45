#include "elements/Element.h"

#include "core/Timer.h"
#include "elements/ElementStorage.h"
#include "elements/Habitat.h"
#include "elements/SweepBooks.h"
#include "elements/Vision.h"

#include <string>
#include <utility>

namespace {
const int initialStrong = 10;
const int initialMaxTime = 10;
const int initialVisionRange = 3;
const int biteSize = 10;
} // namespace

Element::Element(World* owner, const std::string& kindName, int typeCode)
    : Element(owner, typeCode, Habitat::of(owner)->getImages()->getKindFrames(kindName)) {}

// The kind's frames come from the world, which looked them up once for every element of it. A
// creature's first vision is made now, so that the storage carves it right after the creature.
Element::Element(World* owner, const ElementKind& kind)
    : Element(owner, kind.type, Habitat::of(owner)->getKindFrames(kind)) {
    setCreature(kind.creature);
    if (kind.creature) {
        sight.beside = std::make_unique<Vision>();
    }
    setWorking(kind.working);
    setMaxTime(kind.maxTime);
}

Element::Element(World* owner, int typeCode, const Images::KindFrames& frames)
    : habitat(Habitat::of(owner)), clocked(false), restless(false),
      guarded(initialState(typeCode, frames)), clockBase(0) {
    change().lastSecound = habitat->getTimer()->getSecound();
}

Element::State Element::initialState(int typeCode, const Images::KindFrames& frames) {
    State s{};
    s.looks = &frames;
    s.image = (*frames.frames)[0];
    s.maxTime = initialMaxTime;
    s.type = typeCode;
    s.bearsFruit = ElementKind::isFruitBearing(typeCode);
    s.counterAttack = maxCounterAttack;
    s.counterEat = maxCounterEat;
    s.counterFood = maxCounterFood;
    s.counterUnderAttack = maxCounterUnderAttack;
    s.counterHelth = maxCounterHelth;
    s.food = maxFood;
    s.working = true;
    s.alive = true;
    s.visionRange = initialVisionRange;
    s.helth = maxHelth;
    s.strong = initialStrong;
    return s;
}

// An element that the world handed back to a caller is forgotten by the world when it ends.
Element::~Element() {
    if (endedBy == Keeper::caller) {
        habitat->books().forget(*this);
    }
}

void Element::run() {
    State& s = change();
    const int secound = habitat->getTimer()->getSecound();
    if (secound != s.lastSecound) {
        if (s.alive) {
            s.lastSecound = secound;
            incTimer();
            s.image = frameAt(s.time);
        } else if (s.creature) {
            s.image = s.food > 0 ? (*s.looks->meat)[0] : (*s.looks->dead)[0];
        }
    }
    incCounterAttack();
    incCounterEat();
    incCounterFood();
    incCounterUnderAttack();
    incCounterDead();
    incCounterHelth();
    incFood();
    if (s.creature && s.alive) {
        reloadVision();
    }
}

// The standing frame of the facing, or the stepping one after it during the first half of the
// step timer's cycle while walking or animating in place.
BITMAP* Element::frameAt(int stepTime) const {
    const State& s = now();
    const bool stepping = stepTime < s.maxTime / 2 && (s.walking || s.working);
    BITMAP* frame = (*s.looks->frames)[s.direction + (stepping ? 1 : 0)];
    return frame != nullptr ? frame : placeholder();
}

BITMAP* Element::placeholder() const {
    return habitat->getImages()->get("void");
}

bool Element::move(int towards) {
    setDirection(towards);
    const bool moved = habitat->move(this, towards);
    if (moved) {
        change().walking = true;
    }
    resetTime();
    return moved;
}

int Element::eat(Element* meal) {
    if (now().counterEat != maxCounterEat || now().helth >= maxHelth) {
        return 0;
    }
    if (meal->isEatenBy(this) != 1) {
        return 0;
    }
    change().counterEat = 0;
    incHelth();
    return 1;
}

int Element::isEatenBy(Element* /*eater*/) {
    const State& s = now();
    const bool edible = s.creature ? (!s.alive && s.food > 0) : (s.bearsFruit && s.food > 0);
    if (!edible) {
        return 0;
    }
    change().food -= biteSize;
    return 1;
}

bool Element::attack(Element* target) {
    if (now().counterAttack != maxCounterAttack) {
        return false;
    }
    const bool hit = target->areAttackedBy(this) == 1;
    State& s = change();
    if (hit) {
        s.counterUnderAttack = 0;
    }
    s.counterAttack = 0;
    return hit;
}

int Element::areAttackedBy(Element* hitter) {
    if (!now().creature) {
        return 0;
    }
    State& s = change();
    s.underAttack = true;
    s.attacker = hitter;
    // A victim at least as strong as its attacker takes two points, a weaker one only one.
    const bool asStrong = s.strong + s.helth >= hitter->now().strong + hitter->now().helth;
    decHelth();
    if (asStrong) {
        decHelth();
    }
    s.counterUnderAttack = 0;
    return 1;
}

void Element::incHelth() {
    if (now().helth <= maxHelth - 1) {
        ++change().helth;
    }
}

void Element::decHelth() {
    if (now().helth > 0) {
        --change().helth;
        return;
    }
    update(&State::alive, false);
    update(&State::walking, false);
    update(&State::working, false);
}

void Element::incTimer() {
    State& s = change();
    if (++s.time > s.maxTime) {
        s.time = 0;
        s.walking = false;
    }
}

// Whoever holds the vision it held had it from getVision(), which filled it.
void Element::setVision(Vision* v) {
    sight.pending = false;
    static_cast<void>(sight.vision.release());
    sight.vision.reset(v);
}

void* Element::operator new(std::size_t size) {
    return ElementStorage::allocate(size);
}

void Element::operator delete(void* e, std::size_t size) noexcept {
    ElementStorage::release(e, size);
}

World* Element::getWorld() const {
    return Habitat::worldOf(habitat);
}

Vision* Element::getVision() const {
    if (sight.pending) {
        habitat->books().settle(sight);
    }
    return sight.vision.get();
}

void Element::reloadVision() {
    habitat->books().look(*this, sight);
}

// The frames change, the kind and its name stay.
void Element::loadImages(const std::string& kindName) {
    update(&State::looks, &habitat->getImages()->getKindFrames(*now().looks->name, kindName));
}

void Element::incCounterAttack() {
    if (now().counterAttack < maxCounterAttack) {
        ++change().counterAttack;
    }
}

void Element::incCounterEat() {
    if (now().counterEat < maxCounterEat) {
        ++change().counterEat;
    }
}

void Element::incCounterFood() {
    if (now().counterFood < maxCounterFood) {
        ++change().counterFood;
    }
}

void Element::incCounterUnderAttack() {
    if (now().counterUnderAttack < maxCounterUnderAttack) {
        ++change().counterUnderAttack;
        return;
    }
    update(&State::attacker, static_cast<Element*>(nullptr));
    update(&State::underAttack, false);
}

void Element::incCounterDead() {
    if (now().alive || now().food != 0) {
        return;
    }
    State& s = change();
    if (++s.counterDead >= maxCounterDead) {
        s.toErase = true;
    }
}

void Element::incCounterHelth() {
    if (now().counterHelth < maxCounterHelth) {
        ++change().counterHelth;
    } else if (now().creature) {
        decHelth();
        change().counterHelth = 0;
    }
}

void Element::incFood() {
    const State& s = now();
    if (s.alive && s.bearsFruit && s.food < maxFood && s.counterFood == maxCounterFood) {
        State& changed = change();
        ++changed.food;
        changed.counterFood = 0;
    }
}

void Element::resetTime() {
    if (getTime() != 0) {
        change().time = 0;
    }
}
