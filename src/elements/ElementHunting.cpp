// The hunting procedure that the wild creatures share: choose the first element of the vision
// list that suits the mood, then strike, bite or step toward it. Each creature passes its prey.
#include "elements/Element.h"

#include "elements/Habitat.h"
#include "elements/Vision.h"

namespace {
// A creature at this health or below is hungry: it looks for food and ignores every foe.
const int hungerThreshold = 19;
} // namespace

bool Element::hunt(int preyType) {
    Element* target = findTarget(preyType);
    if (target == nullptr) {
        return false;
    }
    actOn(target);
    return true;
}

Element* Element::findTarget(int preyType) {
    Vision* seen = getVision();
    if (seen == nullptr) {
        return nullptr;
    }
    const bool hungry = now().helth <= hungerThreshold;
    for (Element* e = seen->getNext(1); e != nullptr; e = seen->getNext(1)) {
        if (hungry ? isFoodForHungry(e) : isFoeForHealthy(e, preyType)) {
            return e;
        }
    }
    return nullptr;
}

bool Element::isFoodForHungry(const Element* e) const {
    const State& seen = e->now();
    const bool fruitTree = seen.bearsFruit && seen.food > 0;
    const bool carcass = seen.creature && !seen.alive && seen.food > 0;
    return fruitTree || carcass;
}

bool Element::isFoeForHealthy(const Element* e, int preyType) const {
    const State& seen = e->now();
    const bool ownAttacker = now().underAttack && e == now().attacker && seen.alive;
    const bool prey = seen.type == preyType && seen.creature && seen.alive;
    return ownAttacker || prey;
}

// Only the element in front decides between blow and bite; both are aimed at the target.
void Element::actOn(Element* target) {
    Element* front = habitat->getFront(this, Habitat::elementLayer);
    if (front == nullptr) {
        stepToward(target);
    } else if (front->isCreature() && front->getType() != getType()) {
        attack(target);
    } else if (isFoodForHungry(target)) {
        eat(target);
    }
}

void Element::stepToward(const Element* target) {
    const int x = getX();
    const int y = getY();
    if (target->getX() > x) {
        move(RIGHT);
    } else if (target->getX() < x) {
        move(LEFT);
    } else if (target->getY() > y) {
        move(DOWN);
    } else if (target->getY() < y) {
        move(UP);
    }
}
