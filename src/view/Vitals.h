#ifndef ORVALLE_VITALS_H
#define ORVALLE_VITALS_H

#include <allegro.h>

class Element;

// What V shows over the view, so that fights and meals can be seen: a health bar over every
// living creature, a red frame around one that a blow just landed on (or whose own blow just
// landed while it was under attack), a yellow mark on one that just took a bite, and the food
// left on every fruit tree and carcass as a bar of its own; a tree eaten bare shows a grey bar.
class Vitals {
  public:
    // The marks of an element whose cell has its top left at (x, y) on the target; nothing for
    // an element that has none (land, walls, bones).
    static void draw(BITMAP* target, const Element& e, int x, int y);

    // How many turns the flash and the mark last after a blow or a bite: long enough to be seen
    // at the normal pace, where a pass takes about 30 ms.
    static constexpr int flashTurns = 6;
    static constexpr int markTurns = 10;
    // The bars: 40 pixels wide over the middle of the cell, their top 12 pixels above it.
    static constexpr int barWidth = 40;
    static constexpr int barHeight = 5;
    static constexpr int barLeft = 5;
    static constexpr int barAbove = 12;

  private:
    static void drawBar(BITMAP* target, int x, int y, int share, int full, int empty);
};

#endif
