#include "elements/Vision.h"
#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {
using Cells = std::vector<std::pair<int, int>>;

class VisionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Walls everywhere but the viewer's cell, so every cell of the cone is listed.
        std::vector<std::string> elements = filled(11, 11, '#');
        elements[5][5] = 'C';
        world = makeWorld(filled(11, 11, 'g'), elements);
        viewer = world->get(1, 5, 5);
    }

    Cells seen(int facing, int layer, int range = 3) {
        viewer->setDirection(facing);
        std::unique_ptr<Vision> vision(world->getVision(viewer, range));
        Cells cells;
        while (Element* e = vision->getNext(layer)) {
            cells.emplace_back(e->getX(), e->getY());
        }
        return cells;
    }

    TempDir dir;
    std::unique_ptr<World> world;
    Element* viewer = nullptr;
};

Cells cone(int facing) {
    Cells cells;
    for (int d = 1; d <= 3; ++d) {
        for (int k = -d; k <= d; ++k) {
            switch (facing) {
            case 0: cells.emplace_back(5 + k, 5 + d); break;
            case 2: cells.emplace_back(5 + d, 5 + k); break;
            case 4: cells.emplace_back(5 + k, 5 - d); break;
            default: cells.emplace_back(5 - d, 5 + k); break;
            }
        }
    }
    return cells;
}
} // namespace

TEST_F(VisionTest, ScansNearRowsFirstFromTheSmallerCoordinate) {
    Cells down = seen(0, 1);
    ASSERT_EQ(15u, down.size());
    EXPECT_EQ((Cells{{4, 6}, {5, 6}, {6, 6}, {3, 7}, {4, 7}}),
              Cells(down.begin(), down.begin() + 5));
    EXPECT_EQ(std::make_pair(8, 8), down.back());
    for (int facing : {0, 2, 4, 6}) {
        EXPECT_EQ(cone(facing), seen(facing, 1)) << facing;
        EXPECT_EQ(cone(facing), seen(facing, 0)) << facing;
    }
}

// No creature faces a diagonal, but the world's cone for one looks straight down (8, 10) or up
// (12, 14); an odd facing sees nothing.
TEST_F(VisionTest, DiagonalFacingsLookDownOrUp) {
    for (int facing : {8, 10, 12, 14, 1, 9}) {
        Vision vision;
        world->see(Viewpoint{5, 5, facing, 3}, vision);
        Cells cells;
        while (Element* e = vision.getNext(1)) {
            cells.emplace_back(e->getX(), e->getY());
        }
        EXPECT_EQ(facing % 2 != 0 ? Cells() : cone(facing < 12 ? 0 : 4), cells) << facing;
    }
}

TEST_F(VisionTest, NeverSeesItselfOrWhatIsBesideOrBehind) {
    for (int facing : {0, 2, 4, 6}) {
        for (const auto& cell : seen(facing, 1)) {
            EXPECT_NE(std::make_pair(5, 5), cell);
        }
    }
    EXPECT_EQ(std::make_pair(5, 6), seen(0, 1, 1)[1]);
    EXPECT_EQ(3u, seen(0, 1, 1).size());
    EXPECT_TRUE(seen(0, 1, 0).empty());
    EXPECT_TRUE(seen(0, 1, -2).empty());
}

TEST_F(VisionTest, CellsOutsideTheGridAreSkipped) {
    Element* wall = world->get(1, 0, 0);
    wall->setDirection(4);
    std::unique_ptr<Vision> vision(world->getVision(wall, 3));
    EXPECT_EQ(nullptr, vision->getNext(1));
    EXPECT_EQ(nullptr, vision->getNext(0));
    wall->setDirection(0);
    vision.reset(world->getVision(wall, 3));
    int count = 0;
    while (vision->getNext(0) != nullptr) {
        ++count;
    }
    EXPECT_EQ(2 + 3 + 4, count);
    // Up from the fourth row, the cone's farthest row is the grid's first.
    Element* low = world->get(1, 0, 3);
    low->setDirection(4);
    vision.reset(world->getVision(low, 3));
    count = 0;
    while (vision->getNext(0) != nullptr) {
        ++count;
    }
    EXPECT_EQ(2 + 3 + 4, count);
    EXPECT_EQ(nullptr, std::unique_ptr<Vision>(world->getVision(nullptr, 3)));
}

// However deep the cone, and wherever it is seen from, it lists the grid's cells and no more, and
// the look ends once its rows lie beyond the grid.
TEST_F(VisionTest, ADeepConeListsTheGridsCellsOnly) {
    const int deepest = std::numeric_limits<int>::max();
    const std::pair<Viewpoint, std::size_t> rows[] = {
        {{5, 5, 0, deepest}, 3 + 5 + 7 + 9 + 11},       // down, past the last row
        {{5, 5, 6, deepest}, 3 + 5 + 7 + 9 + 11},       // left, past the first column
        {{-5, 5, 2, 7}, 11 + 11 + 11},                  // from outside, into the grid
        {{-5, 5, 6, deepest}, 0},                       // from outside, away from it
        {{deepest, deepest, 0, deepest}, 0},            // from the last coordinates
        {{-deepest - 1, -deepest - 1, 4, deepest}, 0}}; // from the first ones
    for (const auto& [from, cells] : rows) {
        Vision vision;
        world->see(from, vision);
        std::size_t count = 0;
        while (vision.getNext(1) != nullptr) {
            ++count;
        }
        EXPECT_EQ(cells, count) << from.x << "," << from.y << " facing " << from.facing;
    }
}

// The land of a vision is listed when the list is read, as the grid's own tiles: a copy lists the
// same ones, and a vision that outlives its world lists only what was read before it ended.
TEST_F(VisionTest, LandIsListedWhenReadAndEndsWithItsWorld) {
    std::unique_ptr<Vision> vision(world->getVision(viewer, 3));
    const std::unique_ptr<Vision> unread(world->getVision(viewer, 3));
    const Vision copy(*vision);
    Vision assigned;
    assigned = *vision;
    EXPECT_EQ(1, world->get(0, 4, 6)->cellsHeld()) << "a tile made when asked stands in its cell";
    for (Vision* listed : {vision.get(), const_cast<Vision*>(&copy), &assigned}) {
        EXPECT_EQ(world->get(0, 4, 6), listed->getNext(0));
        EXPECT_EQ(world->get(0, 5, 6), listed->getNext(0));
    }
    world.reset();
    EXPECT_EQ(nullptr, unread->getNext(0));
    EXPECT_EQ(nullptr, vision->getNext(0));
    vision->reset(0);
    EXPECT_NE(nullptr, vision->getNext(0));
    EXPECT_NE(nullptr, vision->getNext(0));
    EXPECT_EQ(nullptr, vision->getNext(0));
}

TEST(VisionList, CursorsStopAtTheEndAndRewindOnReset) {
    Vision vision;
    Element* a = reinterpret_cast<Element*>(0x10);
    Element* b = reinterpret_cast<Element*>(0x20);
    vision.add(a, 1);
    vision.add(nullptr, 1);
    vision.add(b, 1);
    vision.add(b, 0);
    vision.add(a, 5);
    EXPECT_EQ(a, vision.getNext(1));
    EXPECT_EQ(b, vision.getNext(1));
    EXPECT_EQ(nullptr, vision.getNext(1));
    EXPECT_EQ(nullptr, vision.getNext(1));
    EXPECT_EQ(b, vision.getNext(0));
    EXPECT_EQ(nullptr, vision.getNext(3));
    vision.reset(1);
    EXPECT_EQ(a, vision.getNext(1));
    EXPECT_EQ(nullptr, vision.getNext(0));
}

// A look taken out of the creature's turn, here by a caller of a creature off the grid, is filled
// at once: nothing would find it waiting.
TEST(LateSight, ALookOutOfTurnListsTheConeAsItWasWhenTaken) {
    TempDir dir;
    auto world = makeWorld(filled(5, 5, 'g'), {".....", ".....", "..T..", ".....", "....."});
    std::unique_ptr<Element> stray(new Element(world.get(), "cyclope", CYCLOPE));
    stray->setX(2);
    stray->reloadVision();
    std::unique_ptr<Element> tree(world->get(1, 2, 2));
    world->set(1, 2, 2, nullptr);
    EXPECT_EQ(tree.get(), stray->getVision()->getNext(1));
}

// So is a look taken in the creature's own turn while it stands in the land layer: a write finds
// waiting looks in the element layer only.
TEST(LateSight, ALookFromTheLandLayerListsTheConeAsItWasWhenTaken) {
    TempDir dir;
    auto world = makeWorld(filled(5, 5, 'g'), {".....", ".....", "..T..", ".....", "....."});
    auto* creature = new Element(world.get(), "cyclope", CYCLOPE);
    creature->setCreature(true);
    creature->setX(2);
    world->set(0, 2, 0, creature);
    world->pass(InputSnapshot());
    std::unique_ptr<Element> tree(world->get(1, 2, 2));
    world->set(1, 2, 2, nullptr);
    EXPECT_EQ(tree.get(), creature->getVision()->getNext(1));
}

// A creature that looked in its turn sees what stood in its cone then, however late what it saw
// is read: after others moved on in the same pass, or after it died and passes went by.
TEST(LateSight, ShowsTheConeAsItWasAtTheCreaturesTurn) {
    for (bool diesAndWaits : {false, true}) {
        TempDir dir;
        auto world = makeWorld(filled(6, 6, 'g'),
                               {"C.....", "......", "......", "...S..", "......", "......"});
        Element* cyclope = world->get(1, 0, 0);
        Element* spider = world->get(1, 3, 3);
        cyclope->setWalking(true); // so that it does not read what it saw in its own turn
        world->pass(InputLatch::take());
        ASSERT_EQ(spider, world->get(1, 3, 4)) << "the spider was to step out of the cone";
        if (diesAndWaits) {
            kill(cyclope);
            passes(*world, 5);
        }
        Vision* vision = cyclope->getVision();
        ASSERT_NE(nullptr, vision);
        EXPECT_EQ(spider, vision->getNext(1)) << (diesAndWaits ? "dead, read later" : "alive");
        EXPECT_EQ(nullptr, vision->getNext(1));
    }
}

// A creature turned where it stands looks anew in its next turn, though its last look waits.
TEST(LateSight, ACreatureTurnedWhereItStandsSeesItsNewFacing) {
    TempDir dir;
    auto world = makeWorld(filled(5, 5, 'g'), {".....", ".....", "..C#.", "..T..", "....."});
    Element* cyclope = world->get(1, 2, 2);
    for (int facing : {DOWN, RIGHT}) {
        cyclope->setDirection(facing);
        cyclope->setWalking(true); // so that it does not read what it saw in its own turn
        world->pass(InputLatch::take());
    }
    Vision* vision = cyclope->getVision();
    ASSERT_NE(nullptr, vision);
    EXPECT_EQ(world->get(1, 3, 2), vision->getNext(1));
    EXPECT_EQ(nullptr, vision->getNext(1));
}

// The same where the marks of a column's rows cross from one word of 64 to the next: a cyclope
// at row 64 of the first or the second column, and a spider that steps into its cone later in
// the pass, so that the rows around the cell written start inside a word, on its last mark, on
// the next word's first, or on a word's first in a column that starts inside a word.
TEST(LateSight, ALookWaitingAcrossTheWordsOfRowsListsTheConeAsItWas) {
    struct Step {
        int cyclopeX, cyclopeFacing, spiderX, spiderY, spiderFacing, toX, toY;
    };
    const Step steps[] = {{0, 4, 1, 60, 0, 1, 61},
                          {0, 0, 3, 66, 6, 2, 66},
                          {0, 0, 1, 68, 4, 1, 67},
                          {1, 4, 2, 60, 0, 2, 61}};
    for (const Step& step : steps) {
        TempDir dir;
        std::vector<std::string> elements = filled(4, 70, '.');
        elements[64][static_cast<std::size_t>(step.cyclopeX)] = 'C';
        elements[static_cast<std::size_t>(step.spiderY)][static_cast<std::size_t>(step.spiderX)] =
            'S';
        auto world = makeWorld(filled(4, 70, 'g'), elements);
        Element* cyclope = world->get(1, step.cyclopeX, 64);
        Element* spider = world->get(1, step.spiderX, step.spiderY);
        cyclope->setDirection(step.cyclopeFacing);
        cyclope->setWalking(true);
        spider->setDirection(step.spiderFacing);
        world->pass(InputSnapshot());
        ASSERT_EQ(spider, world->get(1, step.toX, step.toY)) << "the spider was to step in";
        Vision* vision = cyclope->getVision();
        ASSERT_NE(nullptr, vision);
        EXPECT_EQ(nullptr, vision->getNext(1)) << "into row " << step.toY;
    }
}

// A write finds a waiting look in the grid's last column or row: a cyclope there looking back
// into the grid, and a caller taking away the tree in front of it after the pass.
TEST(LateSight, ALookWaitingAtTheGridsFarEdgeListsTheConeAsItWas) {
    struct Edge {
        std::vector<std::string> elements;
        int x, y, facing, treeX, treeY;
    };
    const Edge edges[] = {
        {{"......", "......", "....TC", "......", "......"}, 5, 2, 6, 4, 2},     // last column
        {{".....", ".....", ".....", ".....", "..T..", "..C.."}, 2, 5, 4, 2, 4}, // last row
    };
    for (const Edge& edge : edges) {
        TempDir dir;
        auto world = makeWorld(filled(static_cast<int>(edge.elements[0].size()),
                                      static_cast<int>(edge.elements.size()), 'g'),
                               edge.elements);
        Element* cyclope = world->get(1, edge.x, edge.y);
        cyclope->setDirection(edge.facing);
        cyclope->setWalking(true);
        world->pass(InputSnapshot());
        std::unique_ptr<Element> tree(world->get(1, edge.treeX, edge.treeY));
        world->set(1, edge.treeX, edge.treeY, nullptr);
        Vision* vision = cyclope->getVision();
        ASSERT_NE(nullptr, vision);
        EXPECT_EQ(tree.get(), vision->getNext(1)) << "facing " << edge.facing;
    }
}

// A vision that the caller gave is the element's until another replaces it; the one replaced is
// the caller's again, whole, to read and to end.
TEST(LateSight, AVisionReplacedIsTheCallersWhole) {
    TempDir dir;
    auto world = makeWorld(filled(5, 5, 'g'), {".....", ".....", "..C..", "..T..", "....."});
    Element* cyclope = world->get(1, 2, 2);
    auto* given = new Vision();
    given->add(world->get(1, 2, 3), 1);
    cyclope->setVision(given);
    cyclope->setVision(new Vision());
    std::unique_ptr<Vision> replaced(given);
    EXPECT_EQ(world->get(1, 2, 3), replaced->getNext(1));
}
