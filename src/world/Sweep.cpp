#include "world/Sweep.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "world/ElementKeeper.h"
#include "world/WorldGrid.h"

#include <algorithm>

Sweep::Sweep(WorldGrid& cells, ElementKeeper& holder, const Timer& days, IdleClock& kept,
             bool idleClock)
    : grid(cells), keeper(holder), calendar(days), clock(kept) {
    clock.on = idleClock;
}

void Sweep::startClock() {
    clock.secound = calendar.getSecound();
}

// Each cell is read when its turn comes, and so are the marks: a step marks the cell it goes to,
// and an element that steps down or right lands in a cell not yet visited and is run again; that
// is part of the rules. Cells not marked awake are empty or hold an element that follows the
// clock.
void Sweep::run() {
    advanceClock();
    sweepSecound = calendar.getSecound();
    position.running = true;
    for (int column = 0; column < grid.getWidth(); ++column) {
        Line& elements = grid.line(Habitat::elementLayer, column);
        Line& land = grid.line(Habitat::landLayer, column);
        int row = grid.nextAwakeRow(elements, land, 0);
        // The sweep goes through memory in the order in which the creatures stand in the grid,
        // which their walks scramble: no prefetcher of the processor guesses it, and each turn
        // would first wait for its element. So while a cell runs, the sweep asks for what the
        // turn two awake cells on reads (the next one's would not come in time). Which rows are
        // awake ahead is a guess carried from cell to cell, that a turn may make wrong; once it
        // reaches the column's end, the column's last cells ask for nothing.
        const int height = grid.getHeight();
        int ahead = row < height ? grid.nextAwakeRow(elements, land, row + 1) : height;
        for (; row < height; row = grid.nextAwakeRow(elements, land, row + 1)) {
            if (ahead < height) {
                ahead = grid.nextAwakeRow(elements, land, std::max(ahead, row) + 1);
                grid.readyCell(column, ahead);
            }
            if (elements.isAwake(row)) {
                runCell(elements, column, row, Habitat::elementLayer);
            }
            if (land.isAwake(row)) {
                runCell(land, column, row, Habitat::landLayer);
            }
        }
    }
    position.running = false;
}

// An element read before its turn comes is worked out as of the tick before (isAheadOfSweep).
void Sweep::advanceClock() {
    const int secound = calendar.getSecound();
    clock.tickedThisSweep = secound != clock.secound;
    if (clock.tickedThisSweep) {
        clock.previousSecound = clock.secound;
        clock.secound = secound;
        ++clock.ticks;
    }
}

bool Sweep::isAheadOfSweep(const Element& e) const {
    if (!position.running) {
        return false;
    }
    const int column = e.getX();
    const int row = e.getY();
    if (column != position.column) {
        return column > position.column;
    }
    if (row != position.row) {
        return row > position.row;
    }
    return position.layer == Habitat::elementLayer &&
           grid.peek(Habitat::landLayer, column, row) == &e;
}

// An element that asks to be erased leaves the grid but not the world: the avatar, the selection
// and other elements' attackers may still refer to it. A cell is put to sleep once it is empty or
// its element follows the clock again.
void Sweep::runCell(Line& line, int column, int row, int layer) {
    position.column = column;
    position.row = row;
    position.layer = layer;
    Element* element = line.cells[row];
    if (element != nullptr && !element->isClocked()) {
        position.element = element;
        element->run();
        position.element = nullptr;
        if (calendar.getSecound() != sweepSecound) {
            wakeAhead();
            sweepSecound = calendar.getSecound();
        }
        if (element->isToErase()) {
            keeper.takeOff(layer, column, row);
        }
        element = line.cells[row];
    }
    if (element == nullptr || element->followClock()) {
        line.sleep(row);
    }
}

// Rare (the game's own elements never move the calendar), so a walk over the rest of the grid,
// which makes the elements of the land kept as values there: they run in their turn.
void Sweep::wakeAhead() {
    if (position.layer == Habitat::elementLayer) {
        wakeIfClocked(grid.get(Habitat::landLayer, position.column, position.row));
    }
    for (int column = position.column; column < grid.getWidth(); ++column) {
        const int firstRow = column == position.column ? position.row + 1 : 0;
        for (int row = firstRow; row < grid.getHeight(); ++row) {
            wakeIfClocked(grid.get(Habitat::elementLayer, column, row));
            wakeIfClocked(grid.get(Habitat::landLayer, column, row));
        }
    }
}

void Sweep::wakeIfClocked(Element* e) {
    if (e != nullptr && e->isClocked()) {
        e->wakeUp();
    }
}
