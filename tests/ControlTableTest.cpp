// Every control of the table pressed through the real latch, and the README's table of controls
// and the manual page's list read back against the table's words.
#include "core/ControlTable.h"
#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {
// Keys given other actions for a test's while; the table's own keys come back at its end.
class Rebound {
  public:
    Rebound(std::initializer_list<std::pair<Action, int>> keys) : changed(keys) {
        for (const auto& [action, scancode] : changed) {
            kept.emplace_back(action, ControlTable::firstKeyOf(action));
            ControlTable::rebind(action, scancode);
        }
    }
    ~Rebound() {
        for (const auto& [action, scancode] : kept) {
            ControlTable::rebind(action, scancode);
        }
    }

  private:
    std::vector<std::pair<Action, int>> changed;
    std::vector<std::pair<Action, int>> kept;
};

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

// A key changed in the table changes the game: the new key acts, the old one no longer does.
TEST(ControlTableTest, AKeyChangedInTheTableChangesTheGame) {
    TempDir dir;
    auto world = makeWorld({"ggg"}, {"@.."});
    Game& game = Game::of(*world);
    const int oldPause = ControlTable::firstKeyOf(Action::pause);
    const int oldRight = ControlTable::firstKeyOf(Action::walkRight);
    const Rebound rebound{{Action::pause, KEY_SPACE}, {Action::walkRight, KEY_D}};
    game.turn(*world, InputSnapshot::pressing({oldPause, oldRight}));
    EXPECT_FALSE(game.isPaused());
    EXPECT_EQ(0, world->getAvatar()->getX());
    game.turn(*world, InputSnapshot::pressing({KEY_D}));
    EXPECT_EQ(1, world->getAvatar()->getX());
    game.turn(*world, InputSnapshot::pressing({KEY_SPACE}));
    EXPECT_TRUE(game.isPaused());
}
