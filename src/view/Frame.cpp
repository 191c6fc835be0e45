// Drawing the frame: the world buffer, the window of it that the player sees, and what stands
// over it.
#include "view/Frame.h"

#include "elements/Element.h"
#include "images/Images.h"
#include "view/Vitals.h"
#include "world/Scene.h"

#include <algorithm>
#include <iterator>

namespace {
const int halfCell = Frame::cellSize / 2;
// The world buffer holds one cell more than the view on every side.
const int bufferWidth = Frame::width + 2 * Frame::cellSize;
const int bufferHeight = Frame::height + 2 * Frame::cellSize;
// Top left of the status line on the frame.
const int statusX = 10;
const int statusY = 10;
// The notices' top, a sixth of the way down: well above the avatar's head at the centre.
const int noticeTop = Frame::height / 6;
const int noticePadding = 6;
const int noticeLineHeight = 20;

// The buffer pixel of a window cell's corner: window cell (0, 0) starts one cell in.
int bufferPixel(int windowCell) {
    return windowCell * Frame::cellSize + Frame::cellSize;
}
} // namespace

Frame::Frame()
    : image(create_bitmap(width, height)), buffer(create_bitmap(bufferWidth, bufferHeight)) {}

// The mouse pointer is drawn onto the frame; take it off before the frame goes away, or the
// library would later restore the pointer's background into freed memory.
Frame::~Frame() {
    show_mouse(nullptr);
}

void Frame::draw(const Scene& scene, const Overlay& overlay) {
    show_mouse(nullptr);
    clearUncoveredCells(scene);
    drawLand(scene);
    drawElements(scene);
    if (overlay.shown.vitals) {
        drawVitals(scene);
    }
    int sx = cellSize;
    int sy = cellSize;
    viewShift(scene, sx, sy);
    blit(buffer.get(), image.get(), sx, sy, 0, 0, width, height);
    if (Element* selected = scene.getSelected()) {
        textout_ex(image.get(), font, selected->toString().c_str(), statusX, statusY,
                   makecol(255, 255, 255), makecol(0, 0, 0));
    }
    if (overlay.shown.panel) {
        drawPanel(scene, overlay);
    }
    if (overlay.shown.overview) {
        overview.draw(image.get(), scene);
    }
    if (!overlay.notice.empty()) {
        drawNotice(overlay.notice, overlay.shown.panel);
    }
    if (overlay.controlsPage) {
        controlsPage.draw(image.get());
    }
    show_mouse(image.get());
    blit(image.get(), screen, 0, 0, 0, 0, width, height);
}

// Black where no opaque land tile will cover a window cell, all before any tile is drawn: the
// frame of clearing the whole buffer first, without writing most of its pixels twice.
void Frame::clearUncoveredCells(const Scene& scene) {
    const int black = makecol(0, 0, 0);
    for (int i = -1; i <= Frame::screenColumns; ++i) {
        for (int k = -1; k <= Frame::screenRows; ++k) {
            Element* tile = scene.get(Habitat::landLayer, scene.getX() + i, scene.getY() + k);
            if (!coversCell(scene, tile != nullptr ? tile->getImage() : nullptr)) {
                rectfill(buffer.get(), bufferPixel(i), bufferPixel(k),
                         bufferPixel(i) + cellSize - 1, bufferPixel(k) + cellSize - 1, black);
            }
        }
    }
}

bool Frame::coversCell(const Scene& scene, BITMAP* tile) const {
    return tile != nullptr && tile->w >= cellSize && tile->h >= cellSize &&
           scene.getImages().isOpaque(tile);
}

// Window cells -1..16 by -1..12: the visible 16 x 12 plus a margin cell on every side.
void Frame::drawLand(const Scene& scene) {
    for (int i = -1; i <= Frame::screenColumns; ++i) {
        for (int k = -1; k <= Frame::screenRows; ++k) {
            if (Element* tile = scene.get(Habitat::landLayer, scene.getX() + i, scene.getY() + k)) {
                scene.getImages().draw(buffer.get(), tile->getImage(), bufferPixel(i),
                                       bufferPixel(k));
            }
        }
    }
}

// Every element in the window cells -1..16 by -1..12 with the buffer pixel where its sprite
// starts: half a cell above and left of its cell, so that a sprite larger than a cell can stand
// out of it, and half a step behind its new cell while the first half of a step lasts.
template <class Visit> void Frame::forEachElementInView(const Scene& scene, Visit visit) {
    for (int i = -1; i <= Frame::screenColumns; ++i) {
        for (int k = -1; k <= Frame::screenRows; ++k) {
            Element* element = scene.get(Habitat::elementLayer, scene.getX() + i, scene.getY() + k);
            if (element == nullptr) {
                continue;
            }
            int px = bufferPixel(i) - halfCell;
            int py = bufferPixel(k) - halfCell;
            int dx = 0;
            int dy = 0;
            if (element->isWalking() && element->isStep() &&
                World::stepOf(element->getDirection(), dx, dy)) {
                px -= halfCell * dx;
                py -= halfCell * dy;
            }
            visit(*element, px, py);
        }
    }
}

void Frame::drawElements(const Scene& scene) {
    forEachElementInView(scene, [this, &scene](Element& element, int px, int py) {
        if (BITMAP* sprite = element.getImage()) {
            scene.getImages().draw(buffer.get(), sprite, px, py);
        }
    });
}

// Over every sprite, so that no neighbour hides a bar; the marks go with the sprite's cell.
void Frame::drawVitals(const Scene& scene) {
    forEachElementInView(scene, [this](const Element& element, int px, int py) {
        Vitals::draw(buffer.get(), element, px + halfCell, py + halfCell);
    });
}

// While the avatar is in the first half of a step the view trails it by half a cell, except
// against an edge of the grid, where the view cannot move. An element keeps a facing of 0 to 7,
// so the step the view follows runs along an axis.
void Frame::viewShift(const Scene& scene, int& sx, int& sy) const {
    int dx = 0;
    int dy = 0;
    const Element* avatar = scene.getAvatar();
    const int x = scene.getX();
    const int y = scene.getY();
    if (avatar == nullptr || !avatar->isWalking() || !avatar->isStep() ||
        !World::stepOf(avatar->getDirection(), dx, dy)) {
        return;
    }
    const bool roomX = 0 < x && x < scene.getWidth() - Frame::screenColumns;
    const bool roomY = 0 < y && y < scene.getHeight() - Frame::screenRows;
    if ((dy == 0 && roomX) || (dx == 0 && roomY)) {
        sx = cellSize - halfCell * dx;
        sy = cellSize - halfCell * dy;
    }
}

// Each line centred in the upper third of the frame, over everything else, on a black box of its
// own: the avatar stands at the centre, and the world stays in view around the notice. With the
// panel down the right side, the notice is centred in what the panel leaves free.
void Frame::drawNotice(const std::vector<std::string>& lines, bool besidePanel) {
    const int centre = besidePanel ? panelLeft / 2 : width / 2;
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, BigText::width(line));
    }
    const int bottom = noticeTop + static_cast<int>(lines.size() - 1) * noticeLineHeight +
                       BigText::height() + noticePadding - 1;
    rectfill(image.get(), centre - widest / 2 - noticePadding, noticeTop - noticePadding,
             centre + widest / 2 + noticePadding - 1, bottom, makecol(0, 0, 0));
    int top = noticeTop;
    for (const std::string& line : lines) {
        bigText.draw(image.get(), line, centre - BigText::width(line) / 2, top,
                     makecol(255, 255, 255), makecol(0, 0, 0));
        top += noticeLineHeight;
    }
}
