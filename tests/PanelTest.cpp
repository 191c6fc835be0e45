// The status panel in the big font shows the status alone; the page of controls lists every
// control of the table, in its order.
#include "BigTextPixels.h"
#include "TestSupport.h"
#include "core/ControlTable.h"
#include "core/Timer.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

namespace {
const int yellow = 0xffdc00;

// The top of the panel's line n, and the left of its text.
int panelLine(int n) {
    return 18 + 20 * n;
}
const int panelText = 488;
// The top of the page of controls' line n, the left of its text and the characters of a line.
int pageLine(int n) {
    return 88 + 20 * n;
}
const int pageText = 158;
const std::size_t pageWidth = 30;

class PanelTest : public ::testing::Test {
  protected:
    // An avatar in the middle of a 20 x 12 meadow, with a cyclope beside it.
    std::unique_ptr<World> meadow() {
        std::vector<std::string> elements = filled(20, 12, '.');
        elements[6].replace(9, 2, "@C");
        return makeWorld(filled(20, 12, 'g'), elements);
    }
    TempDir dir;
};
} // namespace

// The status lines alone on the panel. On the page, every row of the control table, in its
// order: its keys and its words on one line when they fit in the page's 30 characters, else the
// keys word-wrapped and the words after the last line of keys when they fit there, or indented
// below.
TEST_F(PanelTest, ThePanelShowsTheStatusAndThePageListsEveryControlOfTheTable) {
    auto world = meadow();
    Game& game = Game::of(*world);
    // Every unit of the calendar apart, so that none can stand in another's place.
    Timer& calendar = *world->getTimer();
    calendar.setDay(3);
    calendar.setHour(4);
    calendar.setMinute(25);
    calendar.setSecound(6);
    game.turn(*world, InputSnapshot::pressing({Action::panel}));
    BITMAP* frame = game.getFrame();
    EXPECT_EQ(0, differingBigTextPixels(frame, "health", panelText, panelLine(0)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "day 3  04:25:07", panelText, panelLine(1)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "cyclopes 1", panelText, panelLine(2)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "spiders 0", panelText, panelLine(3)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "pace x1  0/s", panelText, panelLine(4)));
    // The panel's frame closes under the pace line.
    EXPECT_EQ(makecol(255, 255, 255), getpixel(frame, 700, panelLine(5) + 3));
    game.turn(*world, InputSnapshot::pressing({Action::controls}));
    EXPECT_EQ(0, differingBigTextPixels(frame, "Controls", pageText, pageLine(-2)));
    int line = 0;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        SCOPED_TRACE(row.keyNames);
        const std::string keys = row.keyNames;
        const std::string hint = row.hint;
        if (keys.size() + 2 + hint.size() <= pageWidth) {
            EXPECT_EQ(0,
                      differingBigTextPixels(frame, keys + "  ", pageText, pageLine(line), yellow));
            EXPECT_EQ(0, differingBigTextPixels(frame, hint, pageText + 16 * (keys.size() + 2),
                                                pageLine(line++)));
            continue;
        }
        std::string shown;
        std::string part;
        for (std::size_t start = 0; start < keys.size(); ++line) {
            std::size_t end = std::min(start + pageWidth, keys.size());
            if (end < keys.size()) {
                end = keys.rfind(' ', end);
            }
            part = keys.substr(start, end - start);
            EXPECT_EQ(0, differingBigTextPixels(frame, part, pageText, pageLine(line), yellow));
            shown += (shown.empty() ? "" : " ") + part;
            start = end + 1;
        }
        EXPECT_EQ(keys, shown);
        // After the last line of keys when they leave room, otherwise indented below them.
        const bool after = part.size() + 2 + hint.size() <= pageWidth;
        const int hintLeft = pageText + 16 * static_cast<int>(after ? part.size() + 2 : 2);
        EXPECT_EQ(0,
                  differingBigTextPixels(frame, hint, hintLeft, pageLine(after ? line - 1 : line)));
        line += after ? 0 : 1;
    }
    EXPECT_GT(Frame::height, pageLine(line));
}

// Under the pace, when the last F5 saved the world and what day and time it was.
TEST_F(PanelTest, ThePanelSaysWhenTheWorldWasSaved) {
    auto world = meadow();
    Game& game = Game::of(*world);
    world->getTimer()->setDay(2);
    game.keepSavesIn(dir.file("game.save"));
    game.turn(*world, InputSnapshot::pressing({Action::save, Action::panel}));
    BITMAP* frame = game.getFrame();
    EXPECT_EQ(0, differingBigTextPixels(frame, "saved at day 2", panelText, panelLine(5)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "00:00:00", panelText, panelLine(6)));
}
