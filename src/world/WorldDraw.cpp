// The frame: land, then elements, into the world buffer; the visible window of the buffer into
// the frame, with the selected element's status line, the status panel, the notice of the pause
// or of the avatar's death and the mouse pointer; the frame to the screen in one copy.
#include "world/World.h"

#include "elements/Element.h"
#include "images/Images.h"

namespace {
const int halfCell = World::cellSize / 2;
// Top left of the status line on the frame.
const int statusX = 10;
const int statusY = 10;
const char* const deathNotice = "You died. R plays again, Escape quits.";
const char* const pauseNotice = "Paused. P plays on.";

// The buffer pixel of a window cell's corner: window cell (0, 0) starts one cell in.
int bufferPixel(int windowCell) {
    return windowCell * World::cellSize + World::cellSize;
}
} // namespace

void World::draw() {
    show_mouse(nullptr);
    clearUncoveredCells();
    drawLand();
    drawElements();
    int sx = cellSize;
    int sy = cellSize;
    viewShift(sx, sy);
    blit(buffer.get(), image.get(), sx, sy, 0, 0, frameWidth, frameHeight);
    if (selected != nullptr) {
        textout_ex(image.get(), font, selected->toString().c_str(), statusX, statusY,
                   makecol(255, 255, 255), makecol(0, 0, 0));
    }
    if (panelShown) {
        drawPanel();
    }
    if (paused) {
        drawNotice(pauseNotice);
    } else if (isAvatarDead()) {
        drawNotice(deathNotice);
    }
    show_mouse(image.get());
    blit(image.get(), screen, 0, 0, 0, 0, frameWidth, frameHeight);
}

// Black where no opaque land tile will cover a window cell, all before any tile is drawn: the
// frame of clearing the whole buffer first, without writing most of its pixels twice.
void World::clearUncoveredCells() {
    const int black = makecol(0, 0, 0);
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            Element* tile = get(landLayer, x + i, y + k);
            if (!coversCell(tile != nullptr ? tile->getImage() : nullptr)) {
                rectfill(buffer.get(), bufferPixel(i), bufferPixel(k),
                         bufferPixel(i) + cellSize - 1, bufferPixel(k) + cellSize - 1, black);
            }
        }
    }
}

bool World::coversCell(BITMAP* tile) const {
    return tile != nullptr && tile->w >= cellSize && tile->h >= cellSize && images->isOpaque(tile);
}

// Window cells -1..16 by -1..12: the visible 16 x 12 plus a margin cell on every side.
void World::drawLand() {
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            if (Element* tile = get(landLayer, x + i, y + k)) {
                images->draw(buffer.get(), tile->getImage(), bufferPixel(i), bufferPixel(k));
            }
        }
    }
}

// An element's sprite starts half a cell above and left of its cell, so a sprite larger than a
// cell can stand out of it.
void World::drawElements() {
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            Element* element = get(elementLayer, x + i, y + k);
            if (element == nullptr || element->getImage() == nullptr) {
                continue;
            }
            int px = bufferPixel(i) - halfCell;
            int py = bufferPixel(k) - halfCell;
            int dx = 0;
            int dy = 0;
            // Half a step behind its new cell while the first half of the step lasts.
            if (element->isWalking() && element->isStep() &&
                stepOf(element->getDirection(), dx, dy)) {
                px -= halfCell * dx;
                py -= halfCell * dy;
            }
            images->draw(buffer.get(), element->getImage(), px, py);
        }
    }
}

// While the avatar is in the first half of a step the view trails it by half a cell, except
// against an edge of the grid, where the view cannot move.
void World::viewShift(int& sx, int& sy) const {
    int dx = 0;
    int dy = 0;
    if (avatar == nullptr || !avatar->isWalking() || !avatar->isStep() ||
        !stepOf(avatar->getDirection(), dx, dy)) {
        return;
    }
    const bool roomX = 0 < x && x < width - getScreenWidth();
    const bool roomY = 0 < y && y < height - getScreenHeight();
    const bool shifts =
        (dy == 0 && roomX) || (dx == 0 && roomY) || (dx != 0 && dy != 0 && roomX && roomY);
    if (shifts) {
        sx = cellSize - halfCell * dx;
        sy = cellSize - halfCell * dy;
    }
}

// In the middle of the frame, over everything else, so that the world stays in view around it.
void World::drawNotice(const char* text) {
    textout_centre_ex(image.get(), font, text, frameWidth / 2,
                      (frameHeight - text_height(font)) / 2, makecol(255, 255, 255),
                      makecol(0, 0, 0));
}
