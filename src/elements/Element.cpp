#include "Element.h"

#include "Timer.h"
#include "Utils.h"
#include "Vision.h"
#include "World.h"

#include <utility>

namespace {
const int hungerThreshold = 19;
const int maxHelth = 100;
const int biteSize = 10;
} // namespace

Element::Element(World* world, std::string name, int type)
    : world(world), images(nullptr), image(nullptr), lastSecound(0), time(0), maxTime(10),
      direction(0), type(type), counterAttack(maxCounterAttack), counterEat(maxCounterEat),
      counterFood(maxCounterFood), counterUnderAttack(maxCounterUnderAttack),
      counterHelth(maxCounterHelth), attacker(nullptr), food(100), walking(false), working(true),
      alive(true), creature(false), underAttack(false), toErase(false), counterDead(0), x(0), y(0),
      imageMeat(nullptr), imageDead(nullptr), name(std::move(name)), visionRange(3),
      helth(maxHelth), strong(10), vision(nullptr) {
    loadImages(this->name);
    image = (*images)[direction];
    lastSecound = world->getTimer()->getSecound();
}

Element::~Element() {
    delete vision;
}

void Element::run() {
    const int secound = world->getTimer()->getSecound();
    if (secound != lastSecound) {
        if (alive) {
            lastSecound = secound;
            incTimer();
            showCurrentFrame();
        } else if (creature) {
            image = food > 0 ? imageMeat : imageDead;
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

void Element::showCurrentFrame() {
    // Computed without branches: whether a tile shows its step frame differs from tile to tile,
    // so a branch here would be mispredicted on every other element of the sweep.
    const int stepping = static_cast<int>(isStep()) & static_cast<int>(walking | working);
    BITMAP* frame = (*images)[direction + stepping];
    image = frame != nullptr ? frame : placeholder();
}

BITMAP* Element::placeholder() const {
    return world->getImages()->get("void");
}

bool Element::move(int direction) {
    setDirection(direction);
    const bool moved = world->move(this, direction);
    if (moved) {
        walking = true;
    }
    resetTime();
    return moved;
}

int Element::eat(Element* food) {
    if (counterEat != maxCounterEat || helth >= maxHelth) {
        return 0;
    }
    if (food->isEatenBy(this) != 1) {
        return 0;
    }
    counterEat = 0;
    incHelth();
    return 1;
}

int Element::isEatenBy(Element* /*eater*/) {
    const bool edible = creature ? (!alive && food > 0) : (type == TREE && food > 0);
    if (!edible) {
        return 0;
    }
    food -= biteSize;
    return 1;
}

bool Element::attack(Element* target) {
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

int Element::areAttackedBy(Element* attacker) {
    if (!creature) {
        return 0;
    }
    underAttack = true;
    this->attacker = attacker;
    // A victim at least as strong as its attacker takes two points, a weaker one only one.
    const bool asStrong = strong + helth >= attacker->strong + attacker->helth;
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
    if (helth > 0) {
        --helth;
        return;
    }
    alive = false;
    walking = false;
    working = false;
}

void Element::incTimer() {
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

void Element::loadImages(std::string name) {
    Images* cache = world->getImages();
    images = &cache->getFrames(name);
    imageDead = cache->get("dead0");
    imageMeat = cache->get("meat0");
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
    if (alive && type == TREE && food <= 99 && counterFood == maxCounterFood) {
        ++food;
        counterFood = 0;
    }
}

void Element::setDirection(int d) {
    if (d >= 0 && d <= 7) {
        direction = d;
    }
}

void Element::setFood(int v) {
    if (v >= 0 && v <= 100) {
        food = v;
    }
}

void Element::setStrong(int v) {
    if (v >= 0 && v <= 100) {
        strong = v;
    }
}

std::string Element::toString() {
    return name + ": live " + decimal(alive ? 1 : 0) + " strong " + decimal(strong) + " helth " +
           decimal(helth) + " food " + decimal(food);
}

Element* Element::findTarget(int preyType) {
    if (vision == nullptr) {
        return nullptr;
    }
    const bool hungry = helth <= hungerThreshold;
    for (Element* e = vision->getNext(1); e != nullptr; e = vision->getNext(1)) {
        if (hungry ? isFoodForHungry(e) : isFoeForHealthy(e, preyType)) {
            return e;
        }
    }
    return nullptr;
}

bool Element::isFoodForHungry(const Element* e) const {
    const bool fruitTree = e->type == TREE && e->food > 0;
    const bool carcass = e->creature && !e->alive && e->food > 0;
    return fruitTree || carcass;
}

bool Element::isFoeForHealthy(const Element* e, int preyType) const {
    const bool ownAttacker = underAttack && e == attacker && e->alive;
    const bool prey = e->type == preyType && e->creature && e->alive;
    return ownAttacker || prey;
}

bool Element::hunt(int preyType) {
    Element* target = findTarget(preyType);
    if (target == nullptr) {
        return false;
    }
    actOn(target);
    return true;
}

// Only the element in front decides between blow and bite; both are aimed at the target.
void Element::actOn(Element* target) {
    Element* front = world->getFront(this, 1);
    if (front == nullptr) {
        stepToward(target);
    } else if (front->creature && front->type != type) {
        attack(target);
    } else if (isFoodForHungry(target)) {
        eat(target);
    }
}

void Element::stepToward(const Element* target) {
    if (target->x > x) {
        move(2);
    } else if (target->x < x) {
        move(6);
    } else if (target->y > y) {
        move(0);
    } else if (target->y < y) {
        move(4);
    }
}
