// The pass: every element acts, the view follows the avatar, the calendar advances, the mouse
// selects and the frame is drawn.
#include "World.h"

#include "Element.h"
#include "InputLatch.h"
#include "Timer.h"

#include <bit>
#include <cstdint>

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

namespace {
// The first row at or after from that is awake in either of two Lines of a column; rows when
// there is none.
int nextAwakeRow(const Line& first, const Line& second, int from, int rows) {
    const std::size_t words = first.awake.size();
    for (std::size_t word = static_cast<std::size_t>(from) / 64; word < words; ++word) {
        std::uint64_t bits = first.awake[word] | second.awake[word];
        if (word == static_cast<std::size_t>(from) / 64) {
            bits &= ~std::uint64_t{0} << (from % 64);
        }
        if (bits != 0) {
            return static_cast<int>(word * 64) + std::countr_zero(bits);
        }
    }
    return rows;
}
} // namespace

// Columns outer, rows inner, in each cell the element layer before the land. An element that
// steps down or right lands in a cell not yet visited and is run again; that is part of the
// rules. Each cell is read when its turn comes, and so are the marks: a step marks the cell it
// goes to. Cells not marked awake are empty or hold an element that follows the IdleClock.
void World::runGrid() {
    advanceIdleClock();
    for (int column = 0; column < width; ++column) {
        Line& elements = layers[elementLayer].columns[column];
        Line& land = layers[landLayer].columns[column];
        for (int row = nextAwakeRow(elements, land, 0, height); row < height;
             row = nextAwakeRow(elements, land, row + 1, height)) {
            if (elements.isAwake(row)) {
                runCell(elements, row);
            }
            if (land.isAwake(row)) {
                runCell(land, row);
            }
        }
    }
}

// The clock ticks before any element runs, as each of its elements would update in its turn;
// nothing reads their timers or frames during the sweep.
void World::advanceIdleClock() {
    const int secound = calendar->getSecound();
    if (secound != idleClock.secound) {
        idleClock.secound = secound;
        ++idleClock.ticks;
    }
}

// An element that asks to be erased leaves the grid but not the memory: the avatar, the
// selection and other elements' attackers may still refer to it. A cell is put to sleep once it
// is empty or its element follows the clock again.
void World::runCell(Line& line, int row) {
    Element* element = line.cells[row];
    if (element != nullptr && !element->isClocked()) {
        element->run();
        if (element->isToErase()) {
            line.cells[row] = nullptr;
            removed.push_back(element);
        }
        element = line.cells[row];
    }
    if (element == nullptr || element->followClock()) {
        line.sleep(row);
    }
}

void World::wake(const Element* e) {
    for (int layer : {elementLayer, landLayer}) {
        if (get(layer, e->getX(), e->getY()) == e) {
            layers[layer].columns[e->getX()].wake(e->getY());
        }
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
