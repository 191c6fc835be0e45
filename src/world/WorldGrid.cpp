// Cells, neighbours and movement between cells.
#include "world/World.h"

#include "elements/Element.h"
#include "elements/ElementArena.h"
#include "elements/ElementKind.h"

#include <memory>
#include <unordered_set>

bool World::isInside(int layer, int column, int row) const {
    return column >= 0 && column < width && row >= 0 && row < height &&
           static_cast<unsigned>(layer) < layers.size();
}

Element* World::get(int layer, int column, int row) const {
    return isInside(layer, column, row) ? layers[layer].columns[column].cells[row] : nullptr;
}

void World::set(int layer, int column, int row, Element* e) {
    if (!isInside(layer, column, row)) {
        return;
    }
    if (e != nullptr && !holdsOthersElements && !arena->owns(e)) {
        holdsOthersElements = true;
    }
    put(layer, column, row, e);
}

void World::put(int layer, int column, int row, Element* e) {
    Line& line = layers[layer].columns[column];
    line.cells[row] = e;
    if (e != nullptr) {
        line.wake(row);
    }
}

// The arena ends what it built; what others built is deleted here, once, even when it stands in
// several cells, and only while it stands in the grid.
void World::deleteOthersElements() {
    std::unordered_set<Element*> seen;
    std::vector<std::unique_ptr<Element>> ending;
    for (const Type& layer : layers) {
        for (const Line& line : layer.columns) {
            for (Element* e : line.cells) {
                if (e != nullptr && !arena->owns(e) && seen.insert(e).second) {
                    ending.emplace_back(e);
                }
            }
        }
    }
}

bool World::stepOf(int direction, int& dx, int& dy) {
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

Element* World::get(Element* e, int layer, int direction) const {
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

Element* World::getFront(Element* e, int layer) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(e->getDirection(), dx, dy)) {
        return nullptr;
    }
    return get(layer, e->getX() + dx, e->getY() + dy);
}

// A step needs walkable land in the next cell and nothing on the element layer there.
bool World::move(Element* e, int direction) {
    Element* land = get(e, landLayer, direction);
    if (land == nullptr || !ElementKind::isWalkable(land->getType()) ||
        get(e, elementLayer, direction) != nullptr) {
        return false;
    }
    int dx = 0;
    int dy = 0;
    stepOf(direction, dx, dy);
    const int nx = e->getX() + dx;
    const int ny = e->getY() + dy;
    put(elementLayer, nx, ny, e);
    put(elementLayer, e->getX(), e->getY(), nullptr);
    e->setX(nx);
    e->setY(ny);
    return true;
}
