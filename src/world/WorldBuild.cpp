// Building the grid from a map file: one element of its kind per code.
#include "World.h"

#include "Element.h"
#include "ElementArena.h"
#include "ElementKind.h"
#include "LoadWorld.h"

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
} // namespace

void World::loadWorld(std::string fileName) {
    if (!layers.empty()) {
        std::fprintf(stderr, "Not loading %s: this world already holds a map\n", fileName.c_str());
        return;
    }
    LoadWorld reader(std::move(fileName));
    height = reader.getHeight();
    width = reader.getWidth();
    // The file lists the cells row by row, and in that order the first avatar wins and the land
    // tiles draw their random step times.
    const std::size_t cells = static_cast<std::size_t>(width) * height;
    std::vector<int> elementCodes(cells);
    std::vector<int> landCodes(cells);
    std::vector<int> landTimes(cells);
    bool avatarSeen = false;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        elementCodes[cell] = reader.getNext(elementLayer);
        if (elementCodes[cell] == AVATAR) {
            elementCodes[cell] = avatarSeen ? 0 : AVATAR;
            avatarSeen = true;
        }
        landCodes[cell] = reader.getNext(landLayer);
        landTimes[cell] =
            ElementKind::find(landLayer, landCodes[cell]) != nullptr ? randomLandMaxTime() : 0;
    }
    createInSweepOrder(elementCodes, landCodes, landTimes);
}

// Columns outer, rows inner, the element before the land: the order in which runGrid visits them.
void World::createInSweepOrder(const std::vector<int>& elementCodes,
                               const std::vector<int>& landCodes,
                               const std::vector<int>& landTimes) {
    layers.resize(2);
    for (Type& layer : layers) {
        layer.columns.assign(width, Line{std::vector<Element*>(height, nullptr)});
    }
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row) {
            const std::size_t cell = static_cast<std::size_t>(row) * width + column;
            layers[elementLayer].columns[column].cells[row] =
                createElement(elementCodes[cell], column, row);
            layers[landLayer].columns[column].cells[row] =
                createLand(landCodes[cell], column, row, landTimes[cell]);
        }
    }
}

// The first avatar is recorded and the view placed on it.
Element* World::createElement(int code, int column, int row) {
    const ElementKind* kind = ElementKind::find(elementLayer, code);
    if (kind == nullptr) {
        return nullptr;
    }
    Element* element = kind->build(*arena, this, *kind);
    element->setX(column);
    element->setY(row);
    if (code == AVATAR) {
        avatar = element;
        setX(column - getScreenWidth() / 2);
        setY(row - getScreenHeight() / 2);
    }
    return element;
}

Element* World::createLand(int code, int column, int row, int maxTime) {
    const ElementKind* kind = ElementKind::find(landLayer, code);
    if (kind == nullptr) {
        return nullptr;
    }
    Element* tile = kind->build(*arena, this, *kind);
    tile->setX(column);
    tile->setY(row);
    tile->setMaxTime(maxTime);
    return tile;
}
