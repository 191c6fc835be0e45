#include "Census.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <algorithm>

namespace {
// Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "," + text.
void appendField(std::string& line, const std::string& field) {
    line += ',';
    line += field;
}
} // namespace

Census::Census(const World& world) : tallies(countedKinds().size()) {
    for (int x = 0; x < world.getWidth(); ++x) {
        for (int y = 0; y < world.getHeight(); ++y) {
            if (const Element* element = world.get(World::elementLayer, x, y)) {
                countOnGrid(*element);
            }
        }
    }
    // Only remains that rotted away leave the grid; they count as dead all the same.
    for (const Element* element : world.getRemoved()) {
        const int kind = slot(*element);
        if (kind >= 0) {
            ++tallies[kind].dead;
        }
    }
}

const std::vector<const ElementKind*>& Census::countedKinds() {
    static const std::vector<const ElementKind*> counted = [] {
        std::vector<const ElementKind*> kinds;
        for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
            if (kind->censusColumn >= 0) {
                kinds.push_back(kind);
            }
        }
        std::stable_sort(kinds.begin(), kinds.end(),
                         [](const ElementKind* a, const ElementKind* b) {
                             return a->censusColumn < b->censusColumn;
                         });
        return kinds;
    }();
    return counted;
}

void Census::countOnGrid(const Element& element) {
    if (ElementKind::isFruitBearing(element.getType())) {
        treeFood += element.getFood();
        treesWithFood += element.getFood() > 0 ? 1 : 0;
    }
    const int kind = slot(element);
    if (kind < 0) {
        return;
    }
    if (element.isAlive()) {
        ++tallies[kind].alive;
        return;
    }
    ++tallies[kind].dead;
    carcassesWithMeat += element.getFood() > 0 ? 1 : 0;
}

int Census::slot(const Element& element) {
    return element.isCreature() ? slot(element.getType()) : -1;
}

int Census::slot(int type) {
    const std::vector<const ElementKind*>& counted = countedKinds();
    const auto place = std::find(counted.begin(), counted.end(), ElementKind::find(type));
    return place != counted.end() ? static_cast<int>(place - counted.begin()) : -1;
}

int Census::getAlive(int type) const {
    const int kind = slot(type);
    return kind >= 0 ? tallies[kind].alive : 0;
}

int Census::getDead(int type) const {
    const int kind = slot(type);
    return kind >= 0 ? tallies[kind].dead : 0;
}

std::string Census::header() {
    std::string line = "pass";
    for (const ElementKind* kind : countedKinds()) {
        appendField(line, kind->plural() + "_alive");
        appendField(line, kind->plural() + "_dead");
    }
    for (const char* column : {"carcasses_with_meat", "trees_with_food", "tree_food"}) {
        appendField(line, column);
    }
    return line;
}

std::string Census::row(long pass) const {
    std::string line = std::to_string(pass);
    for (const Tally& tally : tallies) {
        appendField(line, std::to_string(tally.alive));
        appendField(line, std::to_string(tally.dead));
    }
    appendField(line, std::to_string(carcassesWithMeat));
    appendField(line, std::to_string(treesWithFood));
    appendField(line, std::to_string(treeFood));
    return line;
}
