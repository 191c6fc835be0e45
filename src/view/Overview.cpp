#include "view/Overview.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "world/Scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// A span of pixels grown about its middle to at least `least`.
void widen(int& low, int& high, int least) {
    const int missing = least - (high - low + 1);
    if (missing > 0) {
        low -= missing / 2;
        high += missing - missing / 2;
    }
}
} // namespace

void Overview::draw(BITMAP* frame, const Scene& scene) {
    const int now = scene.getCalendar().valueOf();
    if (picture == nullptr) {
        shape(scene);
    }
    if (picture == nullptr) {
        return;
    }
    if (!drawn || std::abs(now - drawnAt) >= refreshPasses) {
        refresh(scene);
        drawn = true;
        drawnAt = now;
    }
    const int left = margin;
    const int top = frame->h - margin - picture->h;
    blit(picture.get(), frame, 0, 0, left, top, picture->w, picture->h);
    rect(frame, left - 1, top - 1, left + picture->w, top + picture->h, makecol(255, 255, 255));
    drawView(frame, scene, left, top);
    drawAvatar(frame, scene, left, top);
}

// The view's rectangle, clipped to the picture: a world smaller than the view shows whole.
void Overview::drawView(BITMAP* frame, const Scene& scene, int left, int top) const {
    int x0 = toPixels(scene.getX());
    int y0 = toPixels(scene.getY());
    int x1 = toPixels(scene.getX() + World::screenColumns) - 1;
    int y1 = toPixels(scene.getY() + World::screenRows) - 1;
    widen(x0, x1, leastViewPixels);
    widen(y0, y1, leastViewPixels);
    rect(frame, left + std::max(x0, 0), top + std::max(y0, 0), left + std::min(x1, picture->w - 1),
         top + std::min(y1, picture->h - 1), makecol(255, 255, 0));
}

// A white mark of 3 x 3 pixels in a black ring, in the middle of the avatar's cell.
void Overview::drawAvatar(BITMAP* frame, const Scene& scene, int left, int top) const {
    const Element* avatar = scene.getAvatar();
    if (avatar == nullptr || !avatar->isAlive()) {
        return;
    }
    const int x = left + toPixels(avatar->getX()) + cellPixels / 2;
    const int y = top + toPixels(avatar->getY()) + cellPixels / 2;
    rectfill(frame, x - 2, y - 2, x + 2, y + 2, makecol(0, 0, 0));
    rectfill(frame, x - 1, y - 1, x + 1, y + 1, makecol(255, 255, 255));
}

void Overview::shape(const Scene& scene) {
    const int w = scene.getWidth();
    const int h = scene.getHeight();
    if (w <= 0 || h <= 0) {
        return;
    }
    cellPixels = std::max(std::min(mostWidth / w, mostHeight / h), 1);
    cellsPerPixel = std::max((w + mostWidth - 1) / mostWidth, (h + mostHeight - 1) / mostHeight);
    const int pixelsWide = cellPixels * ((w + cellsPerPixel - 1) / cellsPerPixel);
    const int pixelsHigh = cellPixels * ((h + cellsPerPixel - 1) / cellsPerPixel);
    picture.reset(create_bitmap(pixelsWide, pixelsHigh));
}

int Overview::toPixels(int cells) const {
    return cells * cellPixels / cellsPerPixel;
}

// One cell of each block of cells: what stands on it, else its land, else black; tinted by the
// creatures of the block where they are not dots.
void Overview::refresh(const Scene& scene) {
    const int black = makecol(0, 0, 0);
    const bool dots = cellPixels >= leastDotCell;
    const std::vector<int> crowds = dots ? std::vector<int>() : crowding(scene);
    std::size_t block = 0;
    for (int row = 0; row < scene.getHeight(); row += cellsPerPixel) {
        for (int column = 0; column < scene.getWidth(); column += cellsPerPixel, ++block) {
            Element* thing = scene.get(Habitat::elementLayer, column, row);
            BITMAP* look = thing == nullptr || thing->isCreature() ? scene.getLandImage(column, row)
                                                                   : thing->getImage();
            int colour = look != nullptr ? colourOf(look) : black;
            if (!dots) {
                colour = tinted(colour, crowds[block]);
            }
            const int x = toPixels(column);
            const int y = toPixels(row);
            rectfill(picture.get(), x, y, x + cellPixels - 1, y + cellPixels - 1, colour);
        }
    }
    if (dots) {
        drawCreatures(scene);
    }
}

std::vector<int> Overview::crowding(const Scene& scene) const {
    const int blocksWide = (scene.getWidth() + cellsPerPixel - 1) / cellsPerPixel;
    const int blocksHigh = (scene.getHeight() + cellsPerPixel - 1) / cellsPerPixel;
    std::vector<int> crowds(static_cast<std::size_t>(blocksWide) * blocksHigh);
    for (const Element* creature : scene.getWildCreatures()) {
        const int x = creature->getX() / cellsPerPixel;
        const int y = creature->getY() / cellsPerPixel;
        if (creature->isAlive() && x >= 0 && x < blocksWide && y >= 0 && y < blocksHigh) {
            ++crowds[static_cast<std::size_t>(y) * blocksWide + x];
        }
    }
    return crowds;
}

// Towards red by the share of the block's cells that creatures hold, most (three fifths) from a
// quarter on: a crowded block reads red, and its land still shows through.
int Overview::tinted(int colour, int creatures) const {
    const double share = static_cast<double>(creatures) / (cellsPerPixel * cellsPerPixel);
    const double red = 0.6 * std::min(4 * share, 1.0);
    const auto mix = [red](int channel, int towards) {
        return static_cast<int>(std::lround(channel * (1 - red) + towards * red));
    };
    return makecol(mix(getr(colour), 255), mix(getg(colour), 0), mix(getb(colour), 0));
}

// A dot of half a cell in the middle of each wild creature's cell.
void Overview::drawCreatures(const Scene& scene) {
    const int size = cellPixels / 2;
    const int red = makecol(255, 0, 0);
    for (const Element* creature : scene.getWildCreatures()) {
        if (creature->isAlive()) {
            const int x = toPixels(creature->getX()) + (cellPixels - size) / 2;
            const int y = toPixels(creature->getY()) + (cellPixels - size) / 2;
            rectfill(picture.get(), x, y, x + size - 1, y + size - 1, red);
        }
    }
}

int Overview::colourOf(BITMAP* look) {
    if (const auto known = colours.find(look); known != colours.end()) {
        return known->second;
    }
    const int mask = bitmap_mask_color(look);
    long r = 0;
    long g = 0;
    long b = 0;
    long opaque = 0;
    for (int y = 0; y < look->h; ++y) {
        for (int x = 0; x < look->w; ++x) {
            const int pixel = getpixel(look, x, y);
            if (pixel != mask) {
                r += getr(pixel);
                g += getg(pixel);
                b += getb(pixel);
                ++opaque;
            }
        }
    }
    const int colour = opaque > 0
                           ? makecol(static_cast<int>(r / opaque), static_cast<int>(g / opaque),
                                     static_cast<int>(b / opaque))
                           : makecol(0, 0, 0);
    colours.emplace(look, colour);
    return colour;
}
