// Every control of the table pressed through the real latch, and the README's table of controls
// and the manual page's list read back against the table's words.
#include "core/ControlTable.h"
#include "core/InputLatch.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

namespace {
// The text of a file of the source tree from the first `from` after `after` up to the next `to`.
std::string excerpt(const std::string& file, const std::string& after, const std::string& from,
                    const std::string& to) {
    std::ifstream in(ORVALLE_SOURCE_DIR "/" + file);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::size_t start = std::min(text.find(from, text.find(after)), text.size());
    return text.substr(start, text.find(to, start) - start);
}

// An action as the manual page says it: a sentence of its own.
std::string sentence(std::string action) {
    action[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(action[0])));
    return action.ends_with(".") || action.ends_with(".\"") ? action : action + ".";
}
} // namespace

TEST(ControlTableTest, EveryKeyAndButtonOfTheTableCountsOnceForATap) {
    InputLatch::remove();
    InputLatch::install();
    for (const ControlTable::Row& row : ControlTable::rows()) {
        SCOPED_TRACE(row.keyNames);
        for (const int scancode : row.keyScancodes()) {
            keyboard_lowlevel_callback(scancode);
            keyboard_lowlevel_callback(scancode | 0x80);
            const InputSnapshot tapped = InputLatch::take();
            EXPECT_EQ(row.latched, tapped.isDown(scancode) && tapped.wasPressed(scancode));
            EXPECT_FALSE(InputLatch::take().isDown(scancode));
        }
        if (row.mouseFlag != 0) {
            mouse_callback(row.mouseFlag);
            const InputSnapshot clicked = InputLatch::take();
            EXPECT_EQ(row.latched, row.mouseFlag == MOUSE_FLAG_LEFT_DOWN ? clicked.leftButton
                                                                         : clicked.rightButton);
        }
    }
    InputLatch::remove();
}

// Line by line, so that a failure shows the lines to add or mend.
TEST(ControlTableTest, TheReadmeAndTheManualPageListTheTableWordForWord) {
    std::string readme = "| Key | Action |\n|---|---|\n";
    std::string manual;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        readme += "| " + std::string(row.keyNames) + " | " + row.action + " |\n";
        manual += ".TP\n.B " + std::string(row.keyNames) + "\n" + sentence(row.action) + "\n";
    }
    EXPECT_EQ(readme, excerpt("README.md", "### Controls", "| Key", "\n\n") + "\n");
    EXPECT_EQ(manual, excerpt("packaging/orvalle.6.in", ".SH CONTROLS", ".TP", ".SH "));
}
