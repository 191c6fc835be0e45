// Building the grid from a map file: one element of its kind per code.
#include "world/World.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementArena.h"
#include "elements/ElementKind.h"
#include "world/LoadWorld.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
// A land tile's step timer bound is the default plus a random 0 to 3, so tiles animate out of
// step with one another.
int randomLandMaxTime() {
    const int shortest = 10;
    const int spread = 4;
    return std::rand() % spread + shortest;
}

// An element of the element layer, on its way from the map's row order to the sweep's order.
struct Placement {
    int column;
    int row;
    const ElementKind* kind;
};
} // namespace

void World::loadWorld(std::string fileName) {
    if (!layers.empty()) {
        std::fprintf(stderr, "Not loading %s: this world already holds a map\n", fileName.c_str());
        return;
    }
    LoadWorld reader(std::move(fileName));
    height = reader.getHeight();
    width = reader.getWidth();
    layers.resize(2);
    for (Type& layer : layers) {
        layer.columns.reserve(width);
        for (int column = 0; column < width; ++column) {
            layer.columns.emplace_back(height);
        }
    }
    // Whatever only animates follows the clock from the second at which it is built.
    idleClock.secound = calendar->getSecound();
    createElements(reader.takeCodes(elementLayer));
    createLandLayer(reader.takeCodes(landLayer));
}

// The element layer first and in the order in which runGrid visits it, columns outer and rows
// inner, so that the sweep reads its elements as one stream. The map lists the cells row by row,
// and in that order the first avatar wins; the few occupied cells are then sorted into columns.
void World::createElements(const std::vector<int>& codes) {
    std::vector<Placement> inRows;
    std::vector<std::size_t> columnStart(static_cast<std::size_t>(width) + 1, 0);
    bool avatarSeen = false;
    std::size_t cell = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column, ++cell) {
            const ElementKind* kind = ElementKind::find(elementLayer, codes[cell]);
            if (kind == nullptr || (kind->type == AVATAR && std::exchange(avatarSeen, true))) {
                continue;
            }
            inRows.push_back(Placement{column, row, kind});
            ++columnStart[column + 1];
        }
    }
    for (int column = 0; column < width; ++column) {
        columnStart[column + 1] += columnStart[column];
    }
    std::vector<Placement> inColumns(inRows.size());
    arena->reserve(inColumns.size());
    for (const Placement& placed : inRows) {
        inColumns[columnStart[placed.column]++] = placed;
    }
    for (const Placement& placed : inColumns) {
        place(elementLayer, placed.column, placed.row,
              createElement(*placed.kind, placed.column, placed.row));
    }
}

// Row by row, as the map lists the cells, so that the tiles draw their random step times in
// that order. The sweep does not visit the land: its tiles follow the clock from the start.
void World::createLandLayer(const std::vector<int>& codes) {
    arena->reserve(codes.size());
    std::size_t cell = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column, ++cell) {
            if (const ElementKind* kind = ElementKind::find(landLayer, codes[cell])) {
                place(landLayer, column, row, createLand(*kind, column, row, randomLandMaxTime()));
            }
        }
    }
}

// Only what cannot follow the clock is marked for the sweep.
void World::place(int layer, int column, int row, Element* e) {
    Line& line = layers[layer].columns[column];
    line.cells[row] = e;
    if (!e->followClock()) {
        line.wake(row);
    }
}

// The first avatar is recorded and the view placed on it; the other creatures are listed.
Element* World::createElement(const ElementKind& kind, int column, int row) {
    Element* element = buildAt(kind, column, row);
    if (kind.type == AVATAR) {
        avatar = element;
        setX(column - getScreenWidth() / 2);
        setY(row - getScreenHeight() / 2);
    } else if (kind.creature) {
        wildCreatures.push_back(element);
    }
    return element;
}

Element* World::createLand(const ElementKind& kind, int column, int row, int maxTime) {
    Element* tile = buildAt(kind, column, row);
    tile->setMaxTime(maxTime);
    return tile;
}

Element* World::buildAt(const ElementKind& kind, int column, int row) {
    Element* element = kind.build(*arena, this, kind);
    element->setX(column);
    element->setY(row);
    return element;
}
