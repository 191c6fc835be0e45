// The status panel that H shows: the avatar's health as a bar and a number, the calendar's day
// and time, how many wild creatures of each kind of the kinds table live, the pace with the
// passes per second it gives, and every control of
// the control table with the few words it does. It stands down the frame's right side on a black
// box of its own, in the big font, so that it reads over any tile and leaves both the status line
// at the top left and the avatar at the centre in view.
#include "view/Frame.h"

#include "core/ControlTable.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
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
const int keyIndent = 2;

int lineTop(int line) {
    return margin + padding + line * lineHeight;
}

// The items in their order, separated by sep, on as many lines of charactersPerLine as they need.
std::vector<std::string> pack(const std::vector<std::string>& items, const std::string& sep) {
    std::vector<std::string> lines(1);
    for (const std::string& item : items) {
        std::string& line = lines.back();
        if (line.empty()) {
            line = item;
        } else if (line.size() + sep.size() + item.size() <= charactersPerLine) {
            line += sep + item;
        } else {
            lines.push_back(item);
        }
    }
    return lines;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// "cyclopes 1  spiders 0": each wild kind in the table's order.
std::vector<std::string> countLines(const Scene& scene) {
    std::vector<std::string> counts;
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        if (kind->isWild()) {
            counts.push_back(kind->plural() + " " + std::to_string(scene.countLiving(kind->type)));
        }
    }
    return pack(counts, "  ");
}

} // namespace

// A row's keys and words on one line when they fit, "Alt  eat"; otherwise the keys on as many
// lines as they take, the words after the last of them when they fit there, or indented below.
std::vector<Frame::PanelLine> Frame::controlLines() {
    std::vector<PanelLine> lines;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        const std::string hint = row.hint;
        for (const std::string& line : pack(wordsOf(row.keyNames), " ")) {
            lines.push_back({line, "", 0});
        }
        PanelLine& last = lines.back();
        if (last.keys.size() + keyIndent + hint.size() <= charactersPerLine) {
            last.hint = hint;
            last.hintColumn = static_cast<int>(last.keys.size()) + keyIndent;
        } else {
            lines.push_back({"", hint, keyIndent});
        }
    }
    return lines;
}

void Frame::drawPanel(const Scene& scene, const Overlay& overlay) {
    BITMAP* frame = image.get();
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    const int yellow = makecol(255, 220, 0);
    std::vector<std::string> status = {scene.getCalendar().dayAndTime()};
    for (const std::string& line : countLines(scene)) {
        status.push_back(line);
    }
    status.push_back(overlay.paceLine);
    for (const std::string& line : pack(wordsOf(overlay.note), " ")) {
        if (!line.empty()) {
            status.push_back(line);
        }
    }
    const std::vector<PanelLine> controls = controlLines();
    // The health, the status lines, a blank line, the controls.
    const int lines = 1 + static_cast<int>(status.size()) + 1 + static_cast<int>(controls.size());
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
    ++line;
    for (const PanelLine& control : controls) {
        bigText.draw(frame, control.keys, textLeft, lineTop(line), yellow, black);
        bigText.draw(frame, control.hint, textLeft + control.hintColumn * glyph, lineTop(line),
                     white, black);
        ++line;
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
