// The status panel that H shows: the avatar's health as a bar and a number, the calendar's day
// and time, how many wild creatures of each kind of the kinds table live, the pace with the
// passes per second it gives, and what the last save did. It stands down the frame's right side
// on a black box of its own, in the big font, so that it reads over any tile and leaves both the
// status line at the top left and the avatar at the centre in view.
#include "view/Frame.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "view/TextWrap.h"
#include "world/Scene.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// The library's font is 8 pixels square; the panel draws it twice as big.
const int glyph = 8 * BigText::scale;
const int margin = 10;
const int padding = 8;
const int lineHeight = glyph + 4;
const int panelLeft = Frame::panelLeft;
const int panelRight = World::frameWidth - margin - 1;
const int textLeft = panelLeft + padding;
const std::size_t charactersPerLine = (panelRight + 1 - padding - textLeft) / glyph;
// After the label "health ": one pixel per health point, then the number.
const int barLeft = textLeft + 7 * glyph;
const int barWidth = Element::maxHelth;

int lineTop(int line) {
    return margin + padding + line * lineHeight;
}

// "cyclopes 1  spiders 0": each wild kind in the table's order.
std::vector<std::string> countLines(const Scene& scene) {
    std::vector<std::string> counts;
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        if (kind->isWild()) {
            counts.push_back(kind->plural() + " " + std::to_string(scene.countLiving(kind->type)));
        }
    }
    return TextWrap::pack(counts, "  ", charactersPerLine);
}
} // namespace

void Frame::drawPanel(const Scene& scene, const Overlay& overlay) {
    BITMAP* frame = image.get();
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    std::vector<std::string> status = {scene.getCalendar().dayAndTime()};
    for (const std::string& line : countLines(scene)) {
        status.push_back(line);
    }
    status.push_back(overlay.paceLine);
    for (const std::string& line :
         TextWrap::pack(TextWrap::words(overlay.note), " ", charactersPerLine)) {
        if (!line.empty()) {
            status.push_back(line);
        }
    }
    // The health, then the status lines.
    const int lines = 1 + static_cast<int>(status.size());
    const int bottom = lineTop(lines - 1) + glyph + padding - 1;
    rectfill(frame, panelLeft, margin, panelRight, bottom, black);
    rect(frame, panelLeft, margin, panelRight, bottom, white);
    if (const Element* avatar = scene.getAvatar()) {
        drawHealth(avatar->getHelth());
    }
    int line = 1;
    for (const std::string& text : status) {
        bigText.draw(frame, text, textLeft, lineTop(line++), white, black);
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
    bigText.draw(frame, "health", textLeft, top, white, black);
    rectfill(frame, barLeft, top, barLeft + barWidth - 1, bottom, makecol(96, 0, 0));
    if (left > 0) {
        rectfill(frame, barLeft, top, barLeft + left - 1, bottom, makecol(0, 200, 0));
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d", helth);
    bigText.draw(frame, number, barLeft + barWidth + glyph / 2, top, white, black);
}
