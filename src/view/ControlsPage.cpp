#include "view/ControlsPage.h"

#include "core/ControlTable.h"
#include "view/TextWrap.h"

namespace {
const int glyph = 8 * BigText::scale;
const std::size_t charactersPerLine =
    (ControlsPage::right + 1 - 2 * ControlsPage::padding - ControlsPage::left) / glyph;
const int keyIndent = 2;
} // namespace

std::vector<ControlsPage::Line> ControlsPage::lines() {
    std::vector<Line> listed;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        const std::string hint = row.hint;
        for (const std::string& keys :
             TextWrap::pack(TextWrap::words(row.keyNames), " ", charactersPerLine)) {
            listed.push_back({keys, "", 0});
        }
        Line& last = listed.back();
        if (last.keys.size() + keyIndent + hint.size() <= charactersPerLine) {
            last.hint = hint;
            last.hintColumn = static_cast<int>(last.keys.size()) + keyIndent;
        } else {
            listed.push_back({"", hint, keyIndent});
        }
    }
    return listed;
}

// The title, a blank line, then the list.
int ControlsPage::lineTop(int n) {
    return top + padding + (n + 2) * lineHeight;
}

void ControlsPage::draw(BITMAP* frame) {
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    const int yellow = makecol(255, 220, 0);
    const std::vector<Line> listed = lines();
    const int bottom = lineTop(static_cast<int>(listed.size()) - 1) + glyph + padding - 1;
    rectfill(frame, left, top, right, bottom, black);
    rect(frame, left, top, right, bottom, white);
    bigText.draw(frame, title, textLeft(), lineTop(-2), white, black);
    int n = 0;
    for (const Line& line : listed) {
        bigText.draw(frame, line.keys, textLeft(), lineTop(n), yellow, black);
        bigText.draw(frame, line.hint, textLeft() + line.hintColumn * glyph, lineTop(n), white,
                     black);
        ++n;
    }
}
