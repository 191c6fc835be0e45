// The status panel that H shows: the avatar's health as a bar and a number, the calendar's day
// and time, and how many wild creatures of each kind of the kinds table live. It stands in the
// frame's top right corner on a black box of its own, so that it reads over any tile and leaves
// the status line at the top left in view.
#include "world/Frame.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// The library's font is 8 pixels square.
const int glyph = 8;
const int margin = 10;
const int padding = 6;
const int lineHeight = 12;
// The health and the calendar come before the counts.
const int linesAboveCounts = 2;
const int panelWidth = 240;
const int panelLeft = Frame::width - margin - panelWidth;
const int panelRight = Frame::width - margin - 1;
const int textLeft = panelLeft + padding;
const std::size_t charactersPerLine = (panelWidth - 2 * padding) / glyph;
// After the label "health ": one pixel per health point, then the number.
const int barLeft = textLeft + 7 * glyph;
const int barWidth = 100;

int lineTop(int line) {
    return margin + padding + line * lineHeight;
}

int panelBottom(int lines) {
    return margin + 2 * padding + (lines - 1) * lineHeight + glyph - 1;
}

// "cyclopes 1  spiders 0": each wild kind in the table's order, on as many lines as the panel's
// width needs.
std::vector<std::string> countLines(const World& world) {
    std::vector<std::string> lines(1);
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        if (!kind->isWild()) {
            continue;
        }
        const std::string count =
            kind->plural() + " " + std::to_string(world.countLiving(kind->type));
        std::string& line = lines.back();
        if (line.empty()) {
            line = count;
        } else if (line.size() + 2 + count.size() <= charactersPerLine) {
            line += "  " + count;
        } else {
            lines.push_back(count);
        }
    }
    return lines;
}
} // namespace

void Frame::drawPanel() {
    BITMAP* frame = image.get();
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    const std::vector<std::string> counts = countLines(world);
    const int bottom = panelBottom(linesAboveCounts + static_cast<int>(counts.size()));
    rectfill(frame, panelLeft, margin, panelRight, bottom, black);
    rect(frame, panelLeft, margin, panelRight, bottom, white);
    if (const Element* avatar = world.getAvatar()) {
        drawHealth(avatar->getHelth());
    }
    char text[64];
    const Timer& calendar = *world.getTimer();
    std::snprintf(text, sizeof text, "day %d  %02d:%02d:%02d", calendar.getDay(),
                  calendar.getHour(), calendar.getMinute(), calendar.getSecound());
    textout_ex(frame, font, text, textLeft, lineTop(1), white, black);
    for (std::size_t line = 0; line < counts.size(); ++line) {
        textout_ex(frame, font, counts[line].c_str(), textLeft,
                   lineTop(linesAboveCounts + static_cast<int>(line)), white, black);
    }
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
