// The pass: every element acts, the view follows the avatar, the calendar advances, the mouse
// selects and the frame is drawn. Around it, the loop that takes the controls, ends the game,
// pauses it and shows the status panel.
#include "world/World.h"

#include "core/InputLatch.h"
#include "core/Timer.h"
#include "elements/Element.h"

#include <bit>
#include <cstdint>

namespace {
const int restMilliseconds = 30;
} // namespace

void World::run() {
    for (;;) {
        const InputSnapshot controls = InputLatch::take();
        if (controls.quits()) {
            return;
        }
        if (!paused && isAvatarDead() && controls.isDown(KEY_R)) {
            restartAsked = true;
            return;
        }
        turn(controls);
        rest(restMilliseconds);
    }
}

// While paused no pass runs, so the calendar, the creatures and every timer stand still; the
// frame is still drawn, for the panel and the pointer.
void World::turn(const InputSnapshot& controls) {
    if (controls.wasPressed(KEY_P)) {
        switchPause();
    }
    if (controls.wasPressed(KEY_H)) {
        panelShown = !panelShown;
    }
    if (paused) {
        draw();
    } else {
        pass(controls);
    }
}

// The music stops where it is and later goes on from there.
void World::switchPause() {
    paused = !paused;
    if (paused) {
        midi_pause();
    } else {
        midi_resume();
    }
}

void World::pass() {
    pass(InputLatch::take());
}

void World::pass(const InputSnapshot& controls) {
    input = controls;
    simulate();
    switchMusicWithoutAvatar();
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
    sweep.running = true;
    for (int column = 0; column < width; ++column) {
        Line& elements = layers[elementLayer].columns[column];
        Line& land = layers[landLayer].columns[column];
        for (int row = nextAwakeRow(elements, land, 0, height); row < height;
             row = nextAwakeRow(elements, land, row + 1, height)) {
            if (elements.isAwake(row)) {
                runCell(elements, column, row, elementLayer);
            }
            if (land.isAwake(row)) {
                runCell(land, column, row, landLayer);
            }
        }
    }
    sweep.running = false;
}

// The clock ticks before any element runs, as each of its elements would update in its turn;
// an element read before its turn comes is worked out as of the tick before (isAheadOfSweep).
void World::advanceIdleClock() {
    const int secound = calendar->getSecound();
    idleClock.tickedThisSweep = secound != idleClock.secound;
    if (idleClock.tickedThisSweep) {
        idleClock.previousSecound = idleClock.secound;
        idleClock.secound = secound;
        ++idleClock.ticks;
    }
}

bool World::isAheadOfSweep(const Element& e) const {
    if (!sweep.running) {
        return false;
    }
    const int column = e.getX();
    const int row = e.getY();
    if (column != sweep.column) {
        return column > sweep.column;
    }
    if (row != sweep.row) {
        return row > sweep.row;
    }
    return sweep.layer == elementLayer && get(landLayer, column, row) == &e;
}

// An element that asks to be erased leaves the grid but not the memory: the avatar, the
// selection and other elements' attackers may still refer to it. A cell is put to sleep once it
// is empty or its element follows the clock again.
void World::runCell(Line& line, int column, int row, int layer) {
    sweep.column = column;
    sweep.row = row;
    sweep.layer = layer;
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
// under the pointer is selected; the right button lets go of the selection.
void World::selectWithMouse() {
    if (input.leftButton) {
        Element* clicked = get(elementLayer, getX() + input.pointerX / cellSize,
                               getY() + input.pointerY / cellSize);
        if (clicked != nullptr) {
            selected = clicked;
        }
    }
    if (input.rightButton) {
        selected = nullptr;
    }
}

// The avatar switches the music while it lives; after its death (or on a map without one) the
// world takes the same keys, in the same order.
void World::switchMusicWithoutAvatar() {
    if (avatar != nullptr && avatar->isAlive()) {
        return;
    }
    if (input.isDown(KEY_M)) {
        setMusic(true);
    } else if (input.isDown(KEY_N)) {
        setMusic(false);
    }
}
