#include "TestSupport.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
class MovementTest : public ::testing::Test {
  protected:
    TempDir dir;
};
} // namespace

TEST_F(MovementTest, StepsOnlyOntoWalkableLandWithNothingAbove) {
    // Around the cyclope in the middle: water up, no land left, a tree right, rocks down.
    auto world = makeWorld({"gwg", "xgg", "grg"}, {"...", ".CT", "..."});
    Element* cyclope = world->get(1, 1, 1);
    EXPECT_FALSE(cyclope->move(4));
    EXPECT_FALSE(cyclope->move(6));
    EXPECT_FALSE(cyclope->move(2));
    EXPECT_EQ(cyclope, world->get(1, 1, 1));
    EXPECT_FALSE(cyclope->isWalking());
    EXPECT_TRUE(cyclope->move(0));
    EXPECT_EQ(nullptr, world->get(1, 1, 1));
    EXPECT_EQ(cyclope, world->get(1, 1, 2));
    EXPECT_EQ(1, cyclope->getX());
    EXPECT_EQ(2, cyclope->getY());
    EXPECT_TRUE(cyclope->isWalking());
    EXPECT_EQ(ROCKS, world->get(0, 1, 2)->getType());
    EXPECT_EQ(GROUND, world->get(0, 1, 1)->getType());
}

// Land of a kind is walkable as its kind says; any other element that a caller puts on the land
// layer (a code of 0 here puts none) is walkable when its type code is 199 or less.
TEST_F(MovementTest, EveryLandKindIsWalkableOrNot) {
    const struct {
        char land;
        int placedCode;
        bool walkable;
    } kinds[] = {{'a', 0, true},      {'l', 0, true},        {'g', 0, true},    {'r', 0, true},
                 {'L', 0, true},      {'w', 0, false},       {'x', 0, false},   {'x', AVATAR, true},
                 {'x', SPIDER, true}, {'x', WALL - 1, true}, {'x', WALL, false}};
    for (const auto& kind : kinds) {
        auto world = makeWorld({std::string("g") + kind.land}, {"C."});
        if (kind.placedCode != 0) {
            world->set(0, 1, 0, new Element(world.get(), "tree", kind.placedCode));
        }
        Element* cyclope = world->get(1, 0, 0);
        EXPECT_EQ(kind.walkable, cyclope->move(2)) << kind.land << kind.placedCode;
        EXPECT_EQ(kind.walkable ? cyclope : nullptr, world->get(1, 1, 0)) << kind.land;
    }
}

TEST_F(MovementTest, EveryKindOnTheElementLayerBlocks) {
    // A cyclope below each kind tries to step up into it.
    auto world = makeWorld(filled(6, 2, 'g'), {"@CFTS#", "CCCCCC"});
    for (int column = 0; column < 6; ++column) {
        EXPECT_FALSE(world->get(1, column, 1)->move(4)) << world->get(1, column, 0)->getName();
        EXPECT_EQ(column, world->get(1, column, 1)->getX());
    }
    Element* spider = world->get(1, 4, 0);
    kill(spider);
    ASSERT_FALSE(spider->isAlive());
    EXPECT_FALSE(world->get(1, 4, 1)->move(4));
}

TEST_F(MovementTest, RefusedStepTurnsAndRestartsTheTimerOnly) {
    auto world = makeWorld(filled(3, 3, 'g'), {"...", "..@", "..."});
    Element* avatar = world->getAvatar();
    avatar->incTimer();
    avatar->incTimer();
    EXPECT_FALSE(avatar->move(2));
    EXPECT_EQ(2, avatar->getDirection());
    EXPECT_EQ(0, avatar->getTime());
    EXPECT_FALSE(avatar->isWalking());
    avatar->setWalking(true);
    EXPECT_FALSE(avatar->move(2));
    EXPECT_TRUE(avatar->isWalking());
}

TEST_F(MovementTest, NeighboursInAllEightDirectionsStopAtTheEdges) {
    auto world = makeWorld(filled(3, 3, 'g'), {"TFT", "#C#", "FTF"});
    Element* centre = world->get(1, 1, 1);
    const int expected[][3] = {{0, 1, 2}, {2, 2, 1},  {4, 1, 0},  {6, 0, 1},
                               {8, 2, 2}, {10, 0, 2}, {12, 2, 0}, {14, 0, 0}};
    for (const auto& e : expected) {
        EXPECT_EQ(world->get(1, e[1], e[2]), world->get(centre, 1, e[0])) << e[0];
        EXPECT_EQ(world->get(0, e[1], e[2]), world->get(centre, 0, e[0])) << e[0];
    }
    for (int odd : {1, 3, 7, 16, -2}) {
        EXPECT_EQ(nullptr, world->get(centre, 1, odd));
    }
    Element* corner = world->get(1, 0, 0);
    for (int d : {4, 6, 10, 12, 14}) {
        EXPECT_EQ(nullptr, world->get(corner, 1, d)) << d;
    }
    Element* farCorner = world->get(1, 2, 2);
    for (int d : {0, 2, 8, 10, 12}) {
        EXPECT_EQ(nullptr, world->get(farCorner, 0, d)) << d;
    }
}

TEST_F(MovementTest, FrontIsTheNeighbourInTheStoredFacing) {
    auto world = makeWorld(filled(3, 2, 'g'), {"C.T", "..."});
    Element* cyclope = world->get(1, 0, 0);
    EXPECT_EQ(nullptr, world->getFront(cyclope, 1));
    EXPECT_EQ(world->get(0, 0, 1), world->getFront(cyclope, 0));
    cyclope->setDirection(4);
    EXPECT_EQ(nullptr, world->getFront(cyclope, 0));
    cyclope->setDirection(1);
    EXPECT_EQ(nullptr, world->getFront(cyclope, 0));
    Element* tree = world->get(1, 2, 0);
    tree->setDirection(6);
    EXPECT_EQ(nullptr, world->getFront(tree, 1));
    ASSERT_TRUE(cyclope->move(2));
    EXPECT_EQ(tree, world->getFront(cyclope, 1));
}

TEST_F(MovementTest, DiagonalStepsMoveButNeverTurn) {
    auto world = makeWorld(filled(3, 3, 'g'), {"...", ".C.", "..."});
    Element* cyclope = world->get(1, 1, 1);
    cyclope->setDirection(6);
    EXPECT_TRUE(cyclope->move(8));
    EXPECT_EQ(6, cyclope->getDirection());
    EXPECT_EQ(cyclope, world->get(1, 2, 2));
    EXPECT_FALSE(cyclope->move(8));
    EXPECT_TRUE(world->move(cyclope, 14));
    EXPECT_EQ(cyclope, world->get(1, 1, 1));
}

// A caller's element outside the grid steps into its edge: only the cell it enters is written.
TEST_F(MovementTest, AnElementFromOutsideTheGridStepsIntoItsEdge) {
    const struct {
        int x, y, towards, column, row;
    } steps[] = {{-1, 0, RIGHT, 0, 0}, {3, 1, LEFT, 2, 1}, {1, -1, DOWN, 1, 0}, {2, 2, UP, 2, 1}};
    for (const auto& step : steps) {
        auto world = makeWorld(filled(3, 2, 'g'), {"...", "..."});
        auto* walker = new Element(world.get(), "cyclope", CYCLOPE);
        walker->setX(step.x);
        walker->setY(step.y);
        ASSERT_TRUE(walker->move(step.towards)) << step.x << "," << step.y;
        EXPECT_EQ(walker, world->get(1, step.column, step.row));
        EXPECT_EQ(std::pair(step.column, step.row), std::pair(walker->getX(), walker->getY()));
    }
}
