#include "Census.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

Census::Census(const World& world) {
    for (int x = 0; x < world.getWidth(); ++x) {
        for (int y = 0; y < world.getHeight(); ++y) {
            if (const Element* element = world.get(1, x, y)) {
                countOnGrid(*element);
            }
        }
    }
    // Only remains that rotted away leave the grid; they count as dead all the same.
    for (const Element* element : world.getRemoved()) {
        const int kind = kindIndex(*element);
        if (kind >= 0) {
            ++kinds[kind].dead;
        }
    }
}

void Census::countOnGrid(const Element& element) {
    if (ElementKind::isFruitBearing(element.getType())) {
        treeFood += element.getFood();
        treesWithFood += element.getFood() > 0 ? 1 : 0;
    }
    const int kind = kindIndex(element);
    if (kind < 0) {
        return;
    }
    if (element.isAlive()) {
        ++kinds[kind].alive;
        return;
    }
    ++kinds[kind].dead;
    carcassesWithMeat += element.getFood() > 0 ? 1 : 0;
}

int Census::kindIndex(const Element& element) {
    return element.isCreature() ? kindIndex(element.getType()) : -1;
}

int Census::kindIndex(int type) {
    const ElementKind* kind = ElementKind::find(type);
    return kind != nullptr ? kind->censusColumn : -1;
}

int Census::getAlive(int type) const {
    const int kind = kindIndex(type);
    return kind >= 0 ? kinds[kind].alive : 0;
}

int Census::getDead(int type) const {
    const int kind = kindIndex(type);
    return kind >= 0 ? kinds[kind].dead : 0;
}

std::string Census::header() {
    return "pass,cyclopes_alive,cyclopes_dead,spiders_alive,spiders_dead,avatars_alive,"
           "avatars_dead,carcasses_with_meat,trees_with_food,tree_food";
}

std::string Census::row(long pass) const {
    std::string text = std::to_string(pass);
    for (const Kind& kind : kinds) {
        text += "," + std::to_string(kind.alive) + "," + std::to_string(kind.dead);
    }
    return text + "," + std::to_string(carcassesWithMeat) + "," + std::to_string(treesWithFood) +
           "," + std::to_string(treeFood);
}
