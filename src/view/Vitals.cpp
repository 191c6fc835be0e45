#include "view/Vitals.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <algorithm>

namespace {
const int cellSize = World::cellSize;
// The mark: a dot in the cell's top right corner, clear of the bars of the cells beside it.
const int markRadius = 4;
const int markInset = 6;
} // namespace

void Vitals::draw(BITMAP* target, const Element& e, int x, int y) {
    const int barX = x + barLeft;
    const int barY = y - barAbove;
    if (e.isCreature() && e.isAlive()) {
        drawBar(target, barX, barY, e.getHelth() * barWidth / Element::maxHelth, makecol(0, 200, 0),
                makecol(96, 0, 0));
        if (e.turnsSinceBlowLanded() < flashTurns) {
            const int red = makecol(255, 0, 0);
            rect(target, x, y, x + cellSize - 1, y + cellSize - 1, red);
            rect(target, x + 1, y + 1, x + cellSize - 2, y + cellSize - 2, red);
        }
        if (e.turnsSinceBite() < markTurns) {
            circlefill(target, x + cellSize - markInset, y + markInset, markRadius,
                       makecol(255, 230, 0));
        }
        return;
    }
    const bool carcass = e.isCreature() && e.getFood() > 0;
    if (ElementKind::isFruitBearing(e.getType()) || carcass) {
        const int food = std::max(e.getFood(), 0);
        // Rounded up: a tree with any fruit left shows some.
        drawBar(target, barX, barY, (food * barWidth + Element::maxFood - 1) / Element::maxFood,
                makecol(255, 150, 0), food > 0 ? makecol(80, 40, 0) : makecol(128, 128, 128));
    }
}

// A black frame around the bar; the share of its width from the left in full, the rest in empty.
void Vitals::drawBar(BITMAP* target, int x, int y, int share, int full, int empty) {
    const int filled = std::clamp(share, 0, barWidth);
    rect(target, x - 1, y - 1, x + barWidth, y + barHeight, makecol(0, 0, 0));
    rectfill(target, x, y, x + barWidth - 1, y + barHeight - 1, empty);
    if (filled > 0) {
        rectfill(target, x, y, x + filled - 1, y + barHeight - 1, full);
    }
}
