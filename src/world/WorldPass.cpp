// The pass: every element acts, the view follows the avatar, the calendar advances, the mouse
// selects and the frame is drawn.
#include "World.h"

#include "Element.h"
#include "Timer.h"

namespace {
const int restMilliseconds = 30;
} // namespace

void World::run() {
    while (!key[KEY_ESC]) {
        pass();
        rest(restMilliseconds);
    }
}

void World::pass() {
    simulate();
    selectWithMouse();
    draw();
    clear_keybuf();
}

void World::simulate() {
    runGrid();
    centreView();
    incTimer();
}

// Columns outer, rows inner. An element that steps down or right lands in a cell not yet
// visited and is run again; that is part of the rules. Each cell is read when its turn comes.
// Land tiles that follow the land clock are not visited: while all of them do, the land layer
// is not read at all.
void World::runGrid() {
    advanceLandClock();
    const bool withLand = landAwake;
    landAwake = false;
    for (int column = 0; column < width; ++column) {
        std::vector<Element*>& elementCells = layers[elementLayer].columns[column].cells;
        std::vector<Element*>& landCells = layers[landLayer].columns[column].cells;
        for (int row = 0; row < height; ++row) {
            runCell(elementCells[row]);
            if (withLand) {
                runLand(landCells[row]);
            }
        }
    }
}

// The clock ticks before any element runs, as every tile would update in its turn; nothing
// reads a land tile's timer or frame during the sweep.
void World::advanceLandClock() {
    const int secound = calendar->getSecound();
    if (secound != landClock.secound) {
        landClock.secound = secound;
        ++landClock.ticks;
    }
}

// A tile that has been run follows the clock again when it can; until then the land layer
// stays in the sweep.
void World::runLand(Element*& cell) {
    Element* tile = cell;
    if (tile == nullptr || (tile->isClocked() && landClock.on)) {
        return;
    }
    runCell(cell);
    if (cell == tile && !tile->followClock()) {
        landAwake = true;
    }
}

void World::setLandClock(bool on) {
    landClock.on = on;
    landAwake = true;
}

// An element that asks to be erased leaves the grid but not the memory: the avatar, the
// selection and other elements' attackers may still refer to it.
void World::runCell(Element*& cell) {
    Element* element = cell;
    if (element == nullptr) {
        return;
    }
    element->run();
    if (element->isToErase()) {
        cell = nullptr;
        removed.push_back(element);
    }
}

void World::centreView() {
    if (avatar == nullptr) {
        return;
    }
    setX(avatar->getX() - getScreenWidth() / 2);
    setY(avatar->getY() - getScreenHeight() / 2);
}

// While the left button is down, the element-layer element under the pointer is selected.
void World::selectWithMouse() {
    if ((mouse_b & 1) == 0) {
        return;
    }
    Element* clicked = get(elementLayer, getX() + mouse_x / cellSize, getY() + mouse_y / cellSize);
    if (clicked != nullptr) {
        selected = clicked;
    }
}
