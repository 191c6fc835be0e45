#include "world/WorldGrid.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "elements/ElementStorage.h"
#include "elements/Vision.h"
#include "world/Cone.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <memory>
#include <utility>

WorldGrid::~WorldGrid() {
    for (Vision* vision : seen.visions) {
        vision->sourceEnds();
    }
}

void WorldGrid::shape(int columns, int rows) {
    shaped = true;
    width = columns;
    height = rows;
    landValues.shape(columns, rows);
    const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    looking.assign(cells / 64 + 2, 0);
    for (Type* layer : {&land, &elements}) {
        // The block holds a pointer per cell, each null as the block starts: the land layer of
        // a world that keeps its land as values is hardly ever written, and takes no memory.
        // NOLINTNEXTLINE(bugprone-sizeof-expression)
        layer->block = HugePageBlock(cells * sizeof(Element*));
        layer->columns.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            layer->columns.emplace_back(layer->cells() + cellIndex(column, 0), rows);
        }
    }
}

// The looks that see the cell are filled before it changes; then the counts of cells of the
// element leaving and of the one coming.
// Land kept as values is made first: the element leaving is the one the cell held all along.
Element* WorldGrid::place(int layer, int column, int row, Element* e, bool awake) {
    if (layer == Habitat::landLayer && landValues.holds(column, row)) {
        makeLand(column, row);
    }
    if (looksWait) {
        settleLooksOver(layer, column, row);
    }
    if (layer == Habitat::landLayer) {
        seen.listWaitingLand();
    }
    Line& cells = line(layer, column);
    Element* leaving = cells.cells[row];
    if (layer == Habitat::landLayer && landValues.wasMadeHere(column, row)) {
        seen.left[cellIndex(column, row)] = leaving;
        landValues.forgetMade(column, row);
    }
    cells.cells[row] = e;
    if (e != nullptr) {
        ++e->cellsHeld();
    }
    if (awake) {
        cells.wake(row);
    }
    if (layer == Habitat::landLayer) {
        cells.setOpen(row, e != nullptr && ElementKind::isWalkable(e->getType()));
    }
    return leftTheGrid(leaving);
}

bool WorldGrid::keepAsValues(const Element& e, int column, int row, long clockTicks) {
    if (e.cellsHeld() != 0 || !landValues.takeOver(e, column, row, clockTicks)) {
        return false;
    }
    land.columns[column].setOpen(row, ElementKind::isWalkable(e.getType()));
    return true;
}

// The element is the world's, as every element standing in its grid; the cell sleeps on, for
// the element follows the idle clock.
Element* WorldGrid::makeLand(int column, int row) const {
    Element* e = landValues.make(owner, column, row);
    land.columns[column].cells[row] = e;
    ++e->cellsHeld();
    e->keeper() = Element::Keeper::world;
    return e;
}

std::unique_ptr<Element> WorldGrid::copyLand(int column, int row) const {
    return landValues.copy(owner, column, row);
}

Element* WorldGrid::SeenLand::landSeenAt(std::size_t cell) {
    const auto column = static_cast<int>(cell / static_cast<std::size_t>(grid.height));
    const auto row = static_cast<int>(cell % static_cast<std::size_t>(grid.height));
    if (grid.landValues.wasMadeHere(column, row) || grid.landValues.holds(column, row)) {
        return grid.get(Habitat::landLayer, column, row);
    }
    const auto found = left.find(cell);
    return found != left.end() ? found->second : nullptr;
}

Element* WorldGrid::empty(int layer, int column, int row) {
    Element*& cell = line(layer, column).cells[row];
    return leftTheGrid(std::exchange(cell, nullptr));
}

Element* WorldGrid::leftTheGrid(Element* leaving) {
    return leaving != nullptr && --leaving->cellsHeld() == 0 ? leaving : nullptr;
}

void WorldGrid::wake(const Element* e) {
    for (int layer : {Habitat::elementLayer, Habitat::landLayer}) {
        if (peek(layer, e->getX(), e->getY()) == e) {
            line(layer, e->getX()).wake(e->getY());
        }
    }
}

namespace {
// The size of the processor's cache lines, in bytes.
constexpr std::size_t cacheLine = 64;
// What a creature's turn reads first: the element, then its vision and the vision's list, which
// the storage carved right after it when the creature was made. The list holds pointers.
constexpr std::size_t creatureBytes =
    ElementStorage::slotSize(sizeof(Element)) + ElementStorage::slotSize(sizeof(Vision)) +
    // NOLINTNEXTLINE(bugprone-sizeof-expression)
    ElementStorage::slotSize(Vision::firstRoom * sizeof(Element*));
} // namespace

// The element's turn reads most of its lines, not only the first. A look that waits reaches no
// farther than waitingReach: the rows it may read in each column around lie within two cache
// lines of that column, the first and the last of them.
void WorldGrid::readyCell(int column, int row) const {
    if (const Element* e = peek(Habitat::elementLayer, column, row)) {
        const char* bytes = reinterpret_cast<const char*>(e);
        for (std::size_t at = 0; at < creatureBytes; at += cacheLine) {
            __builtin_prefetch(bytes + at);
        }
        __builtin_prefetch(bytes + creatureBytes - 1);
        const Element* const* cells = elements.cells();
        const Reach around = reachOf(column, row);
        const std::size_t rows = static_cast<std::size_t>(around.lastRow - around.firstRow);
        for (std::size_t first = cellIndex(around.firstColumn, around.firstRow),
                         end = cellIndex(around.lastColumn + 1, around.firstRow);
             first != end; first += static_cast<std::size_t>(height)) {
            __builtin_prefetch(cells + first);
            __builtin_prefetch(cells + first + rows);
        }
    }
}

WorldGrid::Reach WorldGrid::reachOf(int column, int row) const {
    return Reach{std::max(column - waitingReach, 0), std::min(column + waitingReach, width - 1),
                 std::max(row - waitingReach, 0), std::min(row + waitingReach, height - 1)};
}

bool WorldGrid::stepOf(int direction, int& dx, int& dy) {
    // Down, right, up, left, then the diagonals down-right, down-left, up-right, up-left.
    static const int steps[8][2] = {{0, 1}, {1, 0},  {0, -1}, {-1, 0},
                                    {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    const int lastDirection = 14;
    if (direction < 0 || direction > lastDirection || direction % 2 != 0) {
        return false;
    }
    dx = steps[direction / 2][0];
    dy = steps[direction / 2][1];
    return true;
}

// A neighbour outside the grid reads as empty, as every cell outside does.
Element* WorldGrid::get(const Element* e, int layer, int direction) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(direction, dx, dy)) {
        return nullptr;
    }
    return get(layer, e->getX() + dx, e->getY() + dy);
}

Element* WorldGrid::getFront(const Element* e, int layer) const {
    return get(e, layer, e->getDirection());
}

// A step needs walkable land in the next cell and nothing on the element layer there.
bool WorldGrid::canStep(const Element* e, int direction, int& column, int& row) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(direction, dx, dy)) {
        return false;
    }
    column = e->getX() + dx;
    row = e->getY() + dy;
    return column >= 0 && column < width && row >= 0 && row < height &&
           land.columns[column].isOpen(row) && elements.columns[column].cells[row] == nullptr;
}

// Every live creature may look on every call, so the cells are read straight from the columns.
// The hunt that usually follows reads every element listed: each is asked for as it is listed,
// so that they come together.
void WorldGrid::see(const Viewpoint& from, Vision& vision) const {
    Element* const* cells = elements.cells();
    Cone::forEachCell(from, width, height, [&](int cx, int cy) {
        Element* e = cells[cellIndex(cx, cy)];
        Element::readyForHunt(e);
        vision.add(e, Habitat::elementLayer);
    });
    vision.addLandLater(from, seen);
}

void WorldGrid::SeenLand::listLand(const Viewpoint& from, Vision& vision) {
    Cone::forEachCell(from, grid.width, grid.height, [&](int cx, int cy) {
        if (Element* tile = grid.land.columns[cx].cells[cy]) {
            vision.add(tile, Habitat::landLayer);
        } else if (grid.landValues.holds(cx, cy)) {
            vision.addLandCell(grid.cellIndex(cx, cy), *this);
        }
    });
}

void WorldGrid::SeenLand::listWaitingLand() {
    for (Vision* vision : visions) {
        vision->listLandSeen();
    }
}

// A look that waited from the same cell is replaced: its creature has not left the cell since.
void WorldGrid::look(Sight& s, const Viewpoint& from, bool mayWait) {
    s.from = from;
    if (mayWait && from.range <= waitingReach) {
        s.pending = true;
        looksWait = true;
        setLooking(from.x, from.y, true);
    } else {
        fill(s);
    }
}

// The vision is refilled in place rather than allocated anew.
void WorldGrid::fill(Sight& s) {
    if (s.pending) {
        s.pending = false;
        setLooking(s.from.x, s.from.y, false);
    }
    if (s.vision == nullptr) {
        s.vision = s.beside != nullptr ? std::move(s.beside) : std::make_unique<Vision>();
    } else {
        s.vision->clear();
    }
    see(s.from, *s.vision);
}

// A viewer whose look waits stands at its look's cell, within waitingReach of every cell of its
// cone.
void WorldGrid::settleLooksOver(int layer, int column, int row) {
    if (layer == Habitat::elementLayer) {
        if (const Element* leaving = elements.columns[column].cells[row]) {
            Sight* s = leaving->waitingLook();
            if (s != nullptr && s->from.x == column && s->from.y == row) {
                fill(*s);
            }
        }
    }
    const Reach around = reachOf(column, row);
    for (int c = around.firstColumn; c <= around.lastColumn; ++c) {
        const Element* const* viewers = elements.cells() + cellIndex(c, 0);
        for (std::uint64_t rows = lookingRows(c, around.firstRow, around.lastRow); rows != 0;
             rows &= rows - 1) {
            const int r = around.firstRow + std::countr_zero(rows);
            Sight* s = viewers[r] != nullptr ? viewers[r]->waitingLook() : nullptr;
            if (s == nullptr) {
                setLooking(c, r, false);
            } else if (Cone::holds(s->from, column, row)) {
                fill(*s);
            }
        }
    }
}

void WorldGrid::setLooking(int column, int row, bool v) {
    const std::size_t bit = cellIndex(column, row);
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    std::uint64_t& word = looking[bit / 64];
    word = v ? word | mask : word & ~mask;
}

std::uint64_t WorldGrid::lookingRows(int column, int first, int last) const {
    const std::size_t bit = cellIndex(column, first);
    const std::size_t word = bit / 64;
    const std::size_t shift = bit % 64;
    // The next word's bits come after: shifted in two steps, so that a shift of 0 takes none of
    // them instead of shifting by 64.
    const std::uint64_t bits = looking[word] >> shift | looking[word + 1] << 1 << (63 - shift);
    const int count = last - first + 1;
    return count >= 64 ? bits : bits & ((std::uint64_t{1} << count) - 1);
}
