// The status panel in the big font lists every control of the table, in its order.
#include "BigTextPixels.h"
#include "TestSupport.h"
#include "core/ControlTable.h"
#include "core/Timer.h"
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

// Every row of the control table, in its order: its keys and its words on one line when they
// fit in the panel's 18 characters, else the keys word-wrapped and the words indented below.
TEST_F(PanelTest, ThePanelListsEveryControlOfTheTable) {
    auto world = meadow();
    // Every unit of the calendar apart, so that none can stand in another's place.
    Timer& calendar = *world->getTimer();
    calendar.setDay(3);
    calendar.setHour(4);
    calendar.setMinute(25);
    calendar.setSecound(6);
    world->turn(InputSnapshot::pressing({KEY_H}));
    BITMAP* frame = world->getFrame();
    EXPECT_EQ(0, differingBigTextPixels(frame, "health", panelText, panelLine(0)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "day 3  04:25:07", panelText, panelLine(1)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "cyclopes 1", panelText, panelLine(2)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "spiders 0", panelText, panelLine(3)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "pace x1  0/s", panelText, panelLine(4)));
    int line = 6;
    for (const ControlTable::Row& row : ControlTable::rows()) {
        SCOPED_TRACE(row.keyNames);
        const std::string keys = row.keyNames;
        const std::string hint = row.hint;
        if (keys.size() + 2 + hint.size() <= 18) {
            EXPECT_EQ(
                0, differingBigTextPixels(frame, keys + "  ", panelText, panelLine(line), yellow));
            EXPECT_EQ(0, differingBigTextPixels(frame, hint, panelText + 16 * (keys.size() + 2),
                                                panelLine(line++)));
            continue;
        }
        std::string shown;
        for (std::size_t start = 0; start < keys.size(); ++line) {
            std::size_t end = std::min(start + 18, keys.size());
            if (end < keys.size()) {
                end = keys.rfind(' ', end);
            }
            const std::string part = keys.substr(start, end - start);
            EXPECT_EQ(0, differingBigTextPixels(frame, part, panelText, panelLine(line), yellow));
            shown += (shown.empty() ? "" : " ") + part;
            start = end + 1;
        }
        EXPECT_EQ(keys, shown);
        EXPECT_EQ(0, differingBigTextPixels(frame, hint, panelText + 32, panelLine(line++)));
    }
    EXPECT_GT(Frame::height, panelLine(line));
}
