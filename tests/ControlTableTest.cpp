// Every control of the table pressed through the real latch, and the README's table of controls
// and the manual page's list read back against the table's words.
#include "core/ControlTable.h"
#include "core/InputLatch.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <fstream>
#include <string>

namespace {
// The lines of a file of the source tree after the first one that starts with `from`, up to the
// next one that starts with `to`, without the blank ones; each line ends in a newline, so that a
// failure shows the lines that differ.
std::string section(const std::string& file, const std::string& from, const std::string& to) {
    std::ifstream text(ORVALLE_SOURCE_DIR "/" + file);
    std::string lines;
    bool inside = false;
    for (std::string line; std::getline(text, line) && !(inside && line.starts_with(to));) {
        if (inside && !line.empty()) {
            lines += line + "\n";
        }
        inside = inside || line.starts_with(from);
    }
    return lines;
}

// An action as the manual page says it: a sentence of its own.
std::string sentence(std::string action) {
    action[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(action[0])));
    return action.ends_with(".") || action.ends_with(".\"") ? action : action + ".";
}
} // namespace

TEST(ControlTableTest, EveryControlCountsOnceForATapAndNoOtherKeyDoes) {
    InputLatch::remove();
    InputLatch::install();
    std::bitset<InputSnapshot::scancodeCount> controls;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        SCOPED_TRACE(row.keyNames);
        for (const int scancode : row.keyScancodes()) {
            controls.set(scancode);
            keyboard_lowlevel_callback(scancode);
            keyboard_lowlevel_callback(scancode | 0x80);
            const InputSnapshot tapped = InputLatch::take();
            EXPECT_EQ(row.latched, tapped.isDown(scancode) && tapped.wasPressed(scancode));
            EXPECT_FALSE(InputLatch::take().isDown(scancode));
        }
        if (row.mouseFlag != 0) {
            bool InputSnapshot::*button = row.mouseFlag == MOUSE_FLAG_LEFT_DOWN
                                              ? &InputSnapshot::leftButton
                                              : &InputSnapshot::rightButton;
            mouse_callback(row.mouseFlag);
            EXPECT_EQ(row.latched, InputLatch::take().*button);
            EXPECT_FALSE(InputLatch::take().*button);
        }
    }
    for (int scancode = 1; scancode < InputSnapshot::scancodeCount; ++scancode) {
        if (!controls[scancode]) {
            keyboard_lowlevel_callback(scancode);
            EXPECT_FALSE(InputLatch::take().isDown(scancode)) << "scancode " << scancode;
        }
    }
    InputLatch::remove();
}

TEST(ControlTableTest, TheReadmeAndTheManualPageListTheTableWordForWord) {
    std::string readme = "| Key | Action |\n|---|---|\n";
    std::string manual;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        readme += "| " + std::string(row.keyNames) + " | " + row.action + " |\n";
        manual += ".TP\n.B " + std::string(row.keyNames) + "\n" + sentence(row.action) + "\n";
    }
    EXPECT_EQ(readme, section("README.md", "### Controls", "Keys and the buttons"));
    const std::string page = section("packaging/orvalle.6.in", ".SH CONTROLS", ".SH ");
    // After the paragraph on how the keys are read.
    EXPECT_EQ(manual, page.substr(std::min(page.find(".TP\n"), page.size())));
}
