#include "world/WorldGrid.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "elements/Vision.h"

#include <algorithm>
#include <cstddef>

void WorldGrid::shape(int columns, int rows) {
    if (shaped) {
        return;
    }
    shaped = true;
    width = columns;
    height = rows;
    for (Type* layer : {&land, &elements}) {
        layer->columns.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            layer->columns.emplace_back(rows);
        }
    }
}

void WorldGrid::put(int layer, int column, int row, Element* e) {
    writes.push_back(Write{layer, column, row, get(layer, column, row)});
    ++writeCount;
    place(layer, column, row, e, e != nullptr);
}

void WorldGrid::forgetWritesBefore(std::uint64_t count) {
    const std::uint64_t first = writeCount - writes.size();
    if (count > first) {
        writes.erase(writes.begin(),
                     writes.begin() + static_cast<std::ptrdiff_t>(
                                          std::min<std::uint64_t>(count - first, writes.size())));
    }
}

void WorldGrid::place(int layer, int column, int row, Element* e, bool awake) {
    Line& cells = line(layer, column);
    cells.cells[row] = e;
    if (awake) {
        cells.wake(row);
    }
    if (layer == landLayer) {
        cells.setOpen(row, e != nullptr && ElementKind::isWalkable(e->getType()));
    }
}

void WorldGrid::wake(const Element* e) {
    for (int layer : {elementLayer, landLayer}) {
        if (get(layer, e->getX(), e->getY()) == e) {
            line(layer, e->getX()).wake(e->getY());
        }
    }
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

Element* WorldGrid::get(const Element* e, int layer, int direction) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(direction, dx, dy)) {
        return nullptr;
    }
    const int ex = e->getX();
    const int ey = e->getY();
    const bool inside = (dx != 1 || ex < width - 1) && (dx != -1 || ex > 0) &&
                        (dy != 1 || ey < height - 1) && (dy != -1 || ey > 0);
    return inside ? get(layer, ex + dx, ey + dy) : nullptr;
}

Element* WorldGrid::getFront(const Element* e, int layer) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(e->getDirection(), dx, dy)) {
        return nullptr;
    }
    return get(layer, e->getX() + dx, e->getY() + dy);
}

// A step needs walkable land in the next cell and nothing on the element layer there.
bool WorldGrid::move(Element* e, int direction) {
    int dx = 0;
    int dy = 0;
    if (!stepOf(direction, dx, dy)) {
        return false;
    }
    const int nx = e->getX() + dx;
    const int ny = e->getY() + dy;
    if (nx < 0 || nx >= width || ny < 0 || ny >= height || !land.columns[nx].isOpen(ny) ||
        elements.columns[nx].cells[ny] != nullptr) {
        return false;
    }
    put(elementLayer, nx, ny, e);
    put(elementLayer, e->getX(), e->getY(), nullptr);
    e->setX(nx);
    e->setY(ny);
    return true;
}

namespace {
// How the cone of a facing lies on the grid: row d of the cone is d cells along (alongX,
// alongY), and its cells are k cells across it, along (acrossX, acrossY), k from -d to d. The
// diagonal facings look straight down or up.
struct ConeAxes {
    int alongX;
    int alongY;
    int acrossX;
    int acrossY;
};

bool coneAxes(int facing, ConeAxes& axes) {
    switch (facing) {
    case 0:
    case 8:
    case 10: axes = {0, 1, 1, 0}; return true;
    case 2: axes = {1, 0, 0, 1}; return true;
    case 4:
    case 12:
    case 14: axes = {0, -1, 1, 0}; return true;
    case 6: axes = {-1, 0, 0, 1}; return true;
    default: return false;
    }
}

// Calls visit(cx, cy) for each cell of the cone inside a width x height grid: row d holds the
// 2d + 1 cells at offsets -d to +d, scanned in that order.
template <class Visit>
void forEachConeCell(const Viewpoint& from, int width, int height, Visit visit) {
    ConeAxes axes{};
    if (!coneAxes(from.facing, axes)) {
        return;
    }
    for (int d = 1; d <= from.range; ++d) {
        const int rowX = from.x + axes.alongX * d;
        const int rowY = from.y + axes.alongY * d;
        for (int k = -d; k <= d; ++k) {
            const int cx = rowX + axes.acrossX * k;
            const int cy = rowY + axes.acrossY * k;
            if (cx >= 0 && cx < width && cy >= 0 && cy < height) {
                visit(cx, cy);
            }
        }
    }
}
} // namespace

void WorldGrid::see(const Element* e, int range, Vision& vision) const {
    seeNow(Viewpoint{e->getX(), e->getY(), e->getDirection(), range, writeCount}, vision);
}

void WorldGrid::see(const Viewpoint& from, Vision& vision) const {
    if (from.asOf >= writeCount) {
        seeNow(from, vision);
    } else {
        seeThen(from, vision);
    }
}

// Every live creature may look on every call, so the cells are read straight from the columns.
void WorldGrid::seeNow(const Viewpoint& from, Vision& vision) const {
    forEachConeCell(from, width, height, [&](int cx, int cy) {
        vision.add(elements.columns[cx].cells[cy], elementLayer);
        vision.add(land.columns[cx].cells[cy], landLayer);
    });
}

// Rare: a vision read after others moved. Writes older than the ones kept are not asked for.
void WorldGrid::seeThen(const Viewpoint& from, Vision& vision) const {
    const std::uint64_t firstKept = writeCount - writes.size();
    const std::size_t since = static_cast<std::size_t>(std::max(from.asOf, firstKept) - firstKept);
    auto then = [&](int layer, int cx, int cy) {
        for (std::size_t i = since; i < writes.size(); ++i) {
            const Write& w = writes[i];
            if (w.column == cx && w.row == cy && w.layer == layer) {
                return w.before;
            }
        }
        return get(layer, cx, cy);
    };
    forEachConeCell(from, width, height, [&](int cx, int cy) {
        vision.add(then(elementLayer, cx, cy), elementLayer);
        vision.add(then(landLayer, cx, cy), landLayer);
    });
}
