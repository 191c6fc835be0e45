// Building the grid from a map file: one element of its kind per code.
#include "world/MapBuilder.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/ElementKeeper.h"
#include "world/LoadWorld.h"
#include "world/World.h"
#include "world/WorldGrid.h"

#include <cstdlib>
#include <numeric>
#include <utility>

namespace {
// A land tile's step timer bound is the default plus a random 0 to 3, so tiles animate out of
// step with one another.
int randomLandMaxTime() {
    const int shortest = 10;
    const int spread = 4;
    return std::rand() % spread + shortest;
}
} // namespace

// The map's codes go as soon as what they name is known: a dense map's layer of codes is as
// large as the grid's layer of cells, and both layers' codes and the placements held together
// made the largest part of what loading needs beyond the world itself.
MapBuilder::Residents MapBuilder::build(LoadWorld& reader) {
    const std::vector<Placement> placements = inSweepOrder(reader.takeCodes(Habitat::elementLayer));
    createElements(placements);
    createLandLayer(reader.takeCodes(Habitat::landLayer));
    return std::move(residents);
}

// The elements of the element layer in the order in which the sweep visits them, columns outer
// and rows inner, so that the sweep reads its elements as one stream. The map lists the cells row
// by row, and in that order the first avatar wins; its cells are read twice, first to count the
// elements of each column, then to put each where its column starts.
std::vector<MapBuilder::Placement> MapBuilder::inSweepOrder(const std::vector<int>& codes) const {
    std::vector<std::size_t> columnStart(static_cast<std::size_t>(grid.getWidth()) + 1, 0);
    forEachElementOf(codes, [&](const Placement& placed) { ++columnStart[placed.column + 1]; });
    std::partial_sum(columnStart.begin(), columnStart.end(), columnStart.begin());
    std::vector<Placement> inColumns(columnStart.back());
    forEachElementOf(
        codes, [&](const Placement& placed) { inColumns[columnStart[placed.column]++] = placed; });
    return inColumns;
}

template <class Visit>
void MapBuilder::forEachElementOf(const std::vector<int>& codes, Visit visit) const {
    bool avatarSeen = false;
    std::size_t cell = 0;
    for (int row = 0; row < grid.getHeight(); ++row) {
        for (int column = 0; column < grid.getWidth(); ++column, ++cell) {
            const ElementKind* kind = ElementKind::find(Habitat::elementLayer, codes[cell]);
            if (kind != nullptr && !(kind->type == AVATAR && std::exchange(avatarSeen, true))) {
                visit(Placement{column, row, kind});
            }
        }
    }
}

// The creatures first: the sweep runs them on every pass and passes most things by, so the
// creatures lie back to back in its order, and the things after them.
void MapBuilder::createElements(const std::vector<Placement>& inColumns) {
    for (bool creatures : {true, false}) {
        for (const Placement& placed : inColumns) {
            if (placed.kind->creature == creatures) {
                build(placed);
            }
        }
    }
}

void MapBuilder::build(const Placement& placed) {
    Element* element = buildAt(*placed.kind, placed.column, placed.row);
    if (placed.kind->type == AVATAR) {
        residents.avatar = element;
    } else if (placed.kind->creature) {
        residents.wildCreatures.push_back(element);
    }
    place(Habitat::elementLayer, placed.column, placed.row, element);
}

// Row by row, as the map lists the cells, so that the tiles draw their random step times in
// that order. The sweep does not visit the land: its tiles follow the clock from the start.
void MapBuilder::createLandLayer(const std::vector<int>& codes) {
    std::size_t cell = 0;
    for (int row = 0; row < grid.getHeight(); ++row) {
        for (int column = 0; column < grid.getWidth(); ++column, ++cell) {
            if (const ElementKind* kind = ElementKind::find(Habitat::landLayer, codes[cell])) {
                Element* tile = buildAt(*kind, column, row);
                tile->setMaxTime(randomLandMaxTime());
                place(Habitat::landLayer, column, row, tile);
            }
        }
    }
}

void MapBuilder::place(int layer, int column, int row, Element* e) {
    if (layer == Habitat::landLayer) {
        keeper.buildLand(column, row, e, world.getIdleClock().ticks);
    } else {
        keeper.build(layer, column, row, e, !e->followClock());
    }
}

Element* MapBuilder::buildAt(const ElementKind& kind, int column, int row) {
    Element* element = kind.build(&world, kind);
    element->setX(column);
    element->setY(row);
    return element;
}
