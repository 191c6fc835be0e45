// The pass: every element acts, the view follows the avatar, the calendar advances, the mouse
// selects and the frame is drawn.
#include "World.h"

#include "Element.h"
#include "InputLatch.h"

namespace {
const int restMilliseconds = 30;
} // namespace

void World::run() {
    for (;;) {
        InputLatch::takePresses();
        if (InputLatch::isDown(KEY_ESC)) {
            return;
        }
        if (isAvatarDead() && InputLatch::isDown(KEY_R)) {
            restartAsked = true;
            return;
        }
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
void World::runGrid() {
    for (int column = 0; column < width; ++column) {
        std::vector<Element*>& elementCells = layers[elementLayer].columns[column].cells;
        std::vector<Element*>& landCells = layers[landLayer].columns[column].cells;
        for (int row = 0; row < height; ++row) {
            runCell(elementCells[row]);
            runCell(landCells[row]);
        }
    }
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

// While the left button is down, or after a click since the last pass, the element-layer element
// under the pointer is selected.
void World::selectWithMouse() {
    if (!InputLatch::isLeftButtonDown()) {
        return;
    }
    Element* clicked = get(elementLayer, getX() + mouse_x / cellSize, getY() + mouse_y / cellSize);
    if (clicked != nullptr) {
        selected = clicked;
    }
}
