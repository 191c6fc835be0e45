#include "view/Overview.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "world/Scene.h"

#include <algorithm>
#include <cstdlib>

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
    // The view's rectangle, clipped to the picture: a world smaller than the view shows whole.
    const int x0 = std::max(toPixels(scene.getX()), 0);
    const int y0 = std::max(toPixels(scene.getY()), 0);
    const int x1 = std::min(toPixels(scene.getX() + World::screenColumns), picture->w) - 1;
    const int y1 = std::min(toPixels(scene.getY() + World::screenRows), picture->h) - 1;
    rect(frame, left + x0, top + y0, left + x1, top + y1, makecol(255, 255, 0));
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

// One cell of each block of cells: what stands on it, else its land, else black.
void Overview::refresh(const Scene& scene) {
    const int black = makecol(0, 0, 0);
    for (int row = 0; row < scene.getHeight(); row += cellsPerPixel) {
        for (int column = 0; column < scene.getWidth(); column += cellsPerPixel) {
            Element* thing = scene.get(Habitat::elementLayer, column, row);
            BITMAP* look = thing == nullptr || thing->isCreature() ? scene.getLandImage(column, row)
                                                                   : thing->getImage();
            const int x = toPixels(column);
            const int y = toPixels(row);
            rectfill(picture.get(), x, y, x + cellPixels - 1, y + cellPixels - 1,
                     look != nullptr ? colourOf(look) : black);
        }
    }
    drawCreatures(scene);
}

// A dot of half a cell, two pixels at least, in the middle of the creature's cell.
void Overview::drawCreatures(const Scene& scene) {
    const int size = std::max(cellPixels / 2, 2);
    const auto dot = [&](const Element& creature, int colour) {
        const int x = toPixels(creature.getX()) + (cellPixels - size) / 2;
        const int y = toPixels(creature.getY()) + (cellPixels - size) / 2;
        rectfill(picture.get(), x, y, x + size - 1, y + size - 1, colour);
    };
    const int red = makecol(255, 0, 0);
    for (const Element* creature : scene.getWildCreatures()) {
        if (creature->isAlive()) {
            dot(*creature, red);
        }
    }
    if (const Element* avatar = scene.getAvatar(); avatar != nullptr && avatar->isAlive()) {
        dot(*avatar, makecol(255, 255, 255));
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
