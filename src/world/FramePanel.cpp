// The status panel that H shows: the avatar's health as a bar and a number, the calendar's day
// and time, and how many cyclopes and spiders live. It stands in the frame's top right corner on
// a black box of its own, so that it reads over any tile and leaves the status line at the top
// left in view.
#include "world/Frame.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <algorithm>
#include <cstdio>

namespace {
// The library's font is 8 pixels square.
const int glyph = 8;
const int margin = 10;
const int padding = 6;
const int lineHeight = 12;
const int lines = 3;
const int panelWidth = 240;
const int panelLeft = Frame::width - margin - panelWidth;
const int panelRight = Frame::width - margin - 1;
const int panelBottom = margin + 2 * padding + (lines - 1) * lineHeight + glyph - 1;
const int textLeft = panelLeft + padding;
// After the label "health ": one pixel per health point, then the number.
const int barLeft = textLeft + 7 * glyph;
const int barWidth = 100;

int lineTop(int line) {
    return margin + padding + line * lineHeight;
}
} // namespace

void Frame::drawPanel() {
    BITMAP* frame = image.get();
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    rectfill(frame, panelLeft, margin, panelRight, panelBottom, black);
    rect(frame, panelLeft, margin, panelRight, panelBottom, white);
    if (const Element* avatar = world.getAvatar()) {
        drawHealth(avatar->getHelth());
    }
    char text[64];
    const Timer& calendar = *world.getTimer();
    std::snprintf(text, sizeof text, "day %d  %02d:%02d:%02d", calendar.getDay(),
                  calendar.getHour(), calendar.getMinute(), calendar.getSecound());
    textout_ex(frame, font, text, textLeft, lineTop(1), white, black);
    std::snprintf(text, sizeof text, "cyclopes %d  spiders %d", world.countLiving(CYCLOPE),
                  world.countLiving(SPIDER));
    textout_ex(frame, font, text, textLeft, lineTop(2), white, black);
}

// Green for what is left, dark red for what is lost.
void Frame::drawHealth(int helth) {
    BITMAP* frame = image.get();
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    const int top = lineTop(0);
    const int bottom = top + glyph - 1;
    const int left = std::clamp(helth, 0, barWidth);
    textout_ex(frame, font, "health", textLeft, top, white, black);
    rectfill(frame, barLeft, top, barLeft + barWidth - 1, bottom, makecol(96, 0, 0));
    if (left > 0) {
        rectfill(frame, barLeft, top, barLeft + left - 1, bottom, makecol(0, 200, 0));
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d", helth);
    textout_ex(frame, font, number, barLeft + barWidth + glyph, top, white, black);
}
