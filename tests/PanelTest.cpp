// The notices and the status panel in the big font: where they stand, that they leave the avatar
// and the status line in view, and that the panel lists every control of the table.
#include "BigTextPixels.h"
#include "TestSupport.h"
#include "core/ControlTable.h"
#include "elements/Element.h"
#include "world/BigText.h"
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

TEST_F(PanelTest, TheBigFontDoublesEveryPixelOfTheLibrarysFont) {
    BITMAP* target = solidBitmap(200, 40, makecol(0, 0, 255));
    BigText().draw(target, "Ag 1;", 3, 5, makecol(255, 255, 255), makecol(0, 0, 0));
    EXPECT_EQ(0, differingBigTextPixels(target, "Ag 1;", 3, 5));
    EXPECT_EQ(makecol(0, 0, 255), getpixel(target, 3 + 5 * 16, 5));
    EXPECT_EQ(makecol(0, 0, 255), getpixel(target, 3, 5 + 16));
    destroy_bitmap(target);
}

// Paused, the notice stands in the upper third, centred; with the panel down the right side, it
// is centred in what the panel leaves free. The status line keeps its font and place.
TEST_F(PanelTest, TheNoticeStandsAboveTheAvatarAndBesideThePanel) {
    auto world = meadow();
    // The view starts at column 1: the avatar stands in window cell (8, 6).
    world->pass(clickAt(8 * 50 + 25, 6 * 50 + 25));
    ASSERT_NE(nullptr, world->getSelected());
    world->turn(InputSnapshot::pressing({KEY_P}));
    BITMAP* frame = world->getFrame();
    const std::string notice = "Paused. P plays on.";
    EXPECT_EQ(0, differingBigTextPixels(frame, notice, (800 - 16 * 19) / 2, 100));
    EXPECT_EQ(0, differingTextPixels(frame, world->getSelected()->toString(), 10, 10));
    world->turn(InputSnapshot::pressing({KEY_H}));
    EXPECT_EQ(0, differingBigTextPixels(frame, notice, (480 - 16 * 19) / 2, 100));
    EXPECT_EQ(0, differingTextPixels(frame, world->getSelected()->toString(), 10, 10));
}

// Every row of the control table, in its order: its keys and its words on one line when they
// fit in the panel's 18 characters, else the keys word-wrapped and the words indented below.
TEST_F(PanelTest, ThePanelListsEveryControlOfTheTable) {
    auto world = meadow();
    world->turn(InputSnapshot::pressing({KEY_H}));
    BITMAP* frame = world->getFrame();
    EXPECT_EQ(0, differingBigTextPixels(frame, "health", panelText, panelLine(0)));
    EXPECT_EQ(0, differingBigTextPixels(frame, "day 0  00:00:01", panelText, panelLine(1)));
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
