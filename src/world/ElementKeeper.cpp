#include "world/ElementKeeper.h"

#include "elements/Element.h"
#include "world/WorldGrid.h"

#include <algorithm>

using Keeper = Element::Keeper;

// What the world ends, and what its callers end from now on, no longer tells the world. An element
// that stands in several cells ends with the last of them.
ElementKeeper::~ElementKeeper() {
    for (Element* e : handedBack) {
        e->keeper() = Keeper::nobody;
    }
    for (Element* e : removed) {
        delete e;
    }
    for (int layer : {Habitat::elementLayer, Habitat::landLayer}) {
        for (int column = 0; column < grid.getWidth(); ++column) {
            for (int row = 0; row < grid.getHeight(); ++row) {
                if (Element* left = grid.empty(layer, column, row)) {
                    delete left;
                }
            }
        }
    }
}

void ElementKeeper::build(int layer, int column, int row, Element* e, bool awake) {
    e->keeper() = Keeper::world;
    grid.place(layer, column, row, e, awake);
}

void ElementKeeper::buildLand(int column, int row, Element* e, long clockTicks) {
    const bool awake = !e->followClock();
    if (!awake && grid.keepAsValues(*e, column, row, clockTicks)) {
        delete e;
        return;
    }
    build(Habitat::landLayer, column, row, e, awake);
}

void ElementKeeper::put(int layer, int column, int row, Element* e) {
    if (e != nullptr) {
        takeBack(e);
    }
    if (Element* left = grid.place(layer, column, row, e, e != nullptr)) {
        handBack(left);
    }
}

bool ElementKeeper::move(Element* e, int direction) {
    int column = 0;
    int row = 0;
    if (!grid.canStep(e, direction, column, row)) {
        return false;
    }
    put(Habitat::elementLayer, column, row, e);
    if (grid.isInside(Habitat::elementLayer, e->getX(), e->getY())) {
        put(Habitat::elementLayer, e->getX(), e->getY(), nullptr);
    }
    e->setX(column);
    e->setY(row);
    return true;
}

void ElementKeeper::takeOff(int layer, int column, int row) {
    if (Element* left = grid.place(layer, column, row, nullptr, false)) {
        removed.push_back(left);
    }
}

void ElementKeeper::keepRemoved(Element* e) {
    e->keeper() = Keeper::world;
    removed.push_back(e);
}

void ElementKeeper::forget(const Element& e) {
    handedBack.erase(const_cast<Element*>(&e));
}

// Rare: only callers put elements back, so a walk over the removed is fine.
void ElementKeeper::takeBack(Element* e) {
    if (e->keeper() == Keeper::caller) {
        handedBack.erase(e);
    } else if (e->keeper() == Keeper::world && e->cellsHeld() == 0) {
        if (auto listed = std::find(removed.begin(), removed.end(), e); listed != removed.end()) {
            removed.erase(listed);
        }
    }
    e->keeper() = Keeper::world;
}

// A look of its that waited was filled as it left the cell it looked from (WorldGrid).
void ElementKeeper::handBack(Element* e) {
    e->keeper() = Keeper::caller;
    handedBack.insert(e);
}
