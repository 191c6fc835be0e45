#include "Element.h"

#include "Timer.h"
#include "Utils.h"
#include "Vision.h"
#include "World.h"

#include <string>
#include <utility>

namespace {
const int maxHelth = 100;
const int maxStrong = 100;
const int initialStrong = 10;
const int initialMaxTime = 10;
const int initialVisionRange = 3;
const int biteSize = 10;
// Facings that setDirection stores: the four axes and the diagonals' codes below 8.
const int highestFacing = 7;
} // namespace

Element::Element(World* owner, const std::string& kindName, int typeCode)
    : Element(owner, typeCode, owner->getImages()->getKindFrames(kindName)) {}

// The kind's frames come from the world, which looked them up once for every element of it.
Element::Element(World* owner, const ElementKind& kind)
    : Element(owner, kind.type, owner->getKindFrames(kind)) {
    setCreature(kind.creature);
    setWorking(kind.working);
    setMaxTime(kind.maxTime);
}

Element::Element(World* owner, int typeCode, const Images::KindFrames& frames)
    : world(owner), looks(&frames), image((*frames.frames)[0]), lastSecound(0), time(0),
      maxTime(initialMaxTime), direction(0), type(typeCode), counterAttack(maxCounterAttack),
      counterEat(maxCounterEat), counterFood(maxCounterFood),
      counterUnderAttack(maxCounterUnderAttack), counterHelth(maxCounterHelth), attacker(nullptr),
      food(maxFood), walking(false), working(true), alive(true), creature(false),
      underAttack(false), toErase(false), clocked(false), counterDead(0), x(0), y(0),
      visionRange(initialVisionRange), helth(maxHelth), strong(initialStrong), vision(nullptr),
      clockBase(0) {
    lastSecound = world->getTimer()->getSecound();
}

Element::~Element() {
    delete vision;
}

void Element::run() {
    wake();
    const int secound = world->getTimer()->getSecound();
    if (secound != lastSecound) {
        if (alive) {
            lastSecound = secound;
            incTimer();
            showCurrentFrame();
        } else if (creature) {
            image = food > 0 ? looks->meat : looks->dead;
        }
    }
    incCounterAttack();
    incCounterEat();
    incCounterFood();
    incCounterUnderAttack();
    incCounterDead();
    incCounterHelth();
    incFood();
    if (creature && alive) {
        reloadVision();
    }
}

// The standing frame of the facing, or the stepping one after it during the first half of the
// step timer's cycle while walking or animating in place.
void Element::showCurrentFrame() {
    image = frameAt(time);
}

BITMAP* Element::frameAt(int stepTime) const {
    const bool stepping = stepTime < maxTime / 2 && (walking || working);
    BITMAP* frame = (*looks->frames)[direction + (stepping ? 1 : 0)];
    return frame != nullptr ? frame : placeholder();
}

BITMAP* Element::placeholder() const {
    return world->getImages()->get("void");
}

bool Element::move(int towards) {
    wake();
    setDirection(towards);
    const bool moved = world->move(this, towards);
    if (moved) {
        walking = true;
    }
    resetTime();
    return moved;
}

int Element::eat(Element* meal) {
    wake();
    if (counterEat != maxCounterEat || helth >= maxHelth) {
        return 0;
    }
    if (meal->isEatenBy(this) != 1) {
        return 0;
    }
    counterEat = 0;
    incHelth();
    return 1;
}

int Element::isEatenBy(Element* /*eater*/) {
    wake();
    const bool edible = creature ? (!alive && food > 0) : (type == TREE && food > 0);
    if (!edible) {
        return 0;
    }
    food -= biteSize;
    return 1;
}

bool Element::attack(Element* target) {
    wake();
    if (counterAttack != maxCounterAttack) {
        return false;
    }
    const bool hit = target->areAttackedBy(this) == 1;
    if (hit) {
        counterUnderAttack = 0;
    }
    counterAttack = 0;
    return hit;
}

int Element::areAttackedBy(Element* hitter) {
    if (!creature) {
        return 0;
    }
    underAttack = true;
    attacker = hitter;
    // A victim at least as strong as its attacker takes two points, a weaker one only one.
    const bool asStrong = strong + helth >= hitter->strong + hitter->helth;
    decHelth();
    if (asStrong) {
        decHelth();
    }
    counterUnderAttack = 0;
    return 1;
}

void Element::incHelth() {
    if (helth <= maxHelth - 1) {
        ++helth;
    }
}

void Element::decHelth() {
    wake();
    if (helth > 0) {
        --helth;
        return;
    }
    alive = false;
    walking = false;
    working = false;
}

void Element::incTimer() {
    wake();
    if (++time > maxTime) {
        time = 0;
        walking = false;
    }
}

// Creatures look every pass: the vision is refilled in place rather than allocated anew.
void Element::reloadVision() {
    if (vision == nullptr) {
        vision = world->getVision(this, visionRange);
        return;
    }
    vision->clear();
    world->see(this, visionRange, *vision);
}

void Element::loadImages(const std::string& kindName) {
    wake();
    looks = &world->getImages()->getKindFrames(kindName);
}

void Element::incCounterAttack() {
    if (counterAttack < maxCounterAttack) {
        ++counterAttack;
    }
}

void Element::incCounterEat() {
    if (counterEat < maxCounterEat) {
        ++counterEat;
    }
}

void Element::incCounterFood() {
    if (counterFood < maxCounterFood) {
        ++counterFood;
    }
}

void Element::incCounterUnderAttack() {
    if (counterUnderAttack < maxCounterUnderAttack) {
        ++counterUnderAttack;
        return;
    }
    attacker = nullptr;
    underAttack = false;
}

void Element::incCounterDead() {
    if (alive || food != 0) {
        return;
    }
    if (++counterDead >= maxCounterDead) {
        toErase = true;
    }
}

void Element::incCounterHelth() {
    if (counterHelth < maxCounterHelth) {
        ++counterHelth;
    } else if (creature) {
        decHelth();
        counterHelth = 0;
    }
}

void Element::incFood() {
    if (alive && type == TREE && food < maxFood && counterFood == maxCounterFood) {
        ++food;
        counterFood = 0;
    }
}

void Element::setDirection(int d) {
    wake();
    if (d >= 0 && d <= highestFacing) {
        direction = d;
    }
}

void Element::setFood(int v) {
    wake();
    if (v >= 0 && v <= maxFood) {
        food = v;
    }
}

void Element::setStrong(int v) {
    if (v >= 0 && v <= maxStrong) {
        strong = v;
    }
}

std::string Element::toString() {
    return *looks->name + ": live " + decimal(alive ? 1 : 0) + " strong " + decimal(strong) +
           " helth " + decimal(helth) + " food " + decimal(food);
}
