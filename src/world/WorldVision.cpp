// What a creature sees: the cone of cells ahead of it, nearest row first.
#include "world/World.h"

#include "elements/Element.h"
#include "elements/Vision.h"

namespace {
// The cell at distance d ahead and lateral offset k of a viewer at (x, y), per facing. The
// diagonal facings look straight down or up.
bool coneCell(int facing, int x, int y, int d, int k, int& cx, int& cy) {
    switch (facing) {
    case 0:
    case 8:
    case 10:
        cx = x + k;
        cy = y + d;
        return true;
    case 2:
        cx = x + d;
        cy = y + k;
        return true;
    case 4:
    case 12:
    case 14:
        cx = x + k;
        cy = y - d;
        return true;
    case 6:
        cx = x - d;
        cy = y + k;
        return true;
    default: return false;
    }
}
} // namespace

std::unique_ptr<Vision> World::getVision(Element* e, int range) const {
    if (e == nullptr) {
        return nullptr;
    }
    auto vision = std::make_unique<Vision>();
    see(e, range, *vision);
    return vision;
}

// Row d of the cone holds the 2d + 1 cells at offsets -d to +d, scanned in that order. Every
// live creature looks on every call, so the cells are read straight from the columns.
void World::see(Element* e, int range, Vision& vision) const {
    const int ex = e->getX();
    const int ey = e->getY();
    const int facing = e->getDirection();
    for (int d = 1; d <= range; ++d) {
        for (int k = -d; k <= d; ++k) {
            int cx = 0;
            int cy = 0;
            if (!coneCell(facing, ex, ey, d, k, cx, cy)) {
                return;
            }
            if (cx < 0 || cx >= width || cy < 0 || cy >= height) {
                continue;
            }
            vision.add(layers[elementLayer].columns[cx].cells[cy], elementLayer);
            vision.add(layers[landLayer].columns[cx].cells[cy], landLayer);
        }
    }
}
