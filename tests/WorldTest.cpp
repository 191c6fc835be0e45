#include "world/World.h"
#include "TestSupport.h"
#include "core/InputLatch.h"
#include "core/Timer.h"
#include "elements/Element.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
class WorldTest : public ::testing::Test {
  protected:
    TempDir dir;
};

// Kills a creature and eats its body empty, so that its remains start to rot.
void killAndEmpty(Element* creature) {
    kill(creature);
    for (int bites = 0; creature->isEatenBy(nullptr) == 1; ++bites) {
        ASSERT_LT(bites, 10) << "the body was not eaten empty in 10 bites";
    }
}
} // namespace

TEST_F(WorldTest, GridAccessOutsideTheGridReadsEmptyAndWritesNothing) {
    auto world = makeWorld(filled(3, 2, 'g'), {"T..", "..."});
    Element* tree = world->get(1, 0, 0);
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ(TREE, tree->getType());
    EXPECT_EQ(nullptr, world->get(0, -1, 0));
    EXPECT_EQ(nullptr, world->get(1, 3, 0));
    EXPECT_EQ(nullptr, world->get(1, 0, 2));
    world->set(1, -1, 0, tree);
    world->set(2, 0, 0, nullptr);
    world->set(1, 3, 1, tree);
    EXPECT_EQ(tree, world->get(1, 0, 0));
    EXPECT_EQ(nullptr, world->get(1, 2, 1));
}

TEST_F(WorldTest, LoaderBuildsBothLayersWithCoordinatesAndLandTimers) {
    auto world = makeWorld({"alg", "rLw", "xgg"}, {"@CF", "TS#", "..@"});
    EXPECT_EQ(3, world->getWidth());
    EXPECT_EQ(3, world->getHeight());
    const int landTypes[3][3] = {
        {ADOBE, LITTLELAWN, GROUND}, {ROCKS, LAWN, WATER}, {0, GROUND, GROUND}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            Element* land = world->get(0, column, row);
            if (landTypes[row][column] == 0) {
                EXPECT_EQ(nullptr, land);
                continue;
            }
            ASSERT_NE(nullptr, land);
            EXPECT_EQ(landTypes[row][column], land->getType());
            EXPECT_EQ(column, land->getX());
            EXPECT_EQ(row, land->getY());
            EXPECT_GE(land->getMaxTime(), 10);
            EXPECT_LE(land->getMaxTime(), 13);
        }
    }
    EXPECT_EQ("cyclope", world->get(1, 1, 0)->getName());
    EXPECT_EQ("fire", world->get(1, 2, 0)->getName());
    EXPECT_EQ("spider", world->get(1, 1, 1)->getName());
    EXPECT_EQ("wall", world->get(1, 2, 1)->getName());
    EXPECT_EQ(10, world->get(1, 1, 0)->getMaxTime());
    // The wild creatures the world lists are the creatures but the avatar, never a thing.
    EXPECT_EQ((std::vector<Element*>{world->get(1, 1, 0), world->get(1, 1, 1)}),
              world->getWildCreatures());
    // Only the first avatar counts; the second cell stays empty.
    EXPECT_EQ(world->get(1, 0, 0), world->getAvatar());
    EXPECT_EQ(nullptr, world->get(1, 2, 2));
    EXPECT_EQ(6, world->getAvatar()->getMaxTime());
    EXPECT_FALSE(world->getAvatar()->isWorking());
    // Each land tile draws its own timer, so that over a meadow they take every value.
    auto meadow = makeWorld(filled(10, 10, 'g'), filled(10, 10, '.'));
    std::set<int> maxTimes;
    for (int cell = 0; cell < 100; ++cell) {
        maxTimes.insert(meadow->get(0, cell % 10, cell / 10)->getMaxTime());
    }
    EXPECT_EQ((std::set<int>{10, 11, 12, 13}), maxTimes);
}

TEST_F(WorldTest, ViewOriginIsClampedUpperBoundFirst) {
    auto wide = makeWorld(filled(40, 12, 'g'), filled(40, 12, '.'));
    wide->setX(-5);
    EXPECT_EQ(0, wide->getX());
    wide->setX(30);
    EXPECT_EQ(24, wide->getX());
    wide->setX(24);
    EXPECT_EQ(24, wide->getX());
    wide->setX(7);
    EXPECT_EQ(7, wide->getX());
    for (int v : {-3, 0, 5}) {
        wide->setY(v);
        EXPECT_EQ(0, wide->getY());
    }
    auto narrow = makeWorld(filled(10, 3, 'g'), filled(10, 3, '.'));
    narrow->setX(0);
    EXPECT_EQ(-6, narrow->getX());
    narrow->setX(-5);
    EXPECT_EQ(-6, narrow->getX());
    narrow->setX(-6);
    EXPECT_EQ(0, narrow->getX());
    narrow->setX(-7);
    EXPECT_EQ(0, narrow->getX());
}

TEST_F(WorldTest, ViewStartsOnTheAvatarAndFollowsIt) {
    std::vector<std::string> elements = filled(40, 30, '.');
    elements[20][30] = '@';
    auto world = makeWorld(filled(40, 30, 'g'), elements);
    EXPECT_EQ(22, world->getX());
    EXPECT_EQ(14, world->getY());
    Element* avatar = world->getAvatar();
    world->set(1, 30, 20, nullptr);
    world->set(1, 10, 3, avatar);
    avatar->setX(10);
    avatar->setY(3);
    world->pass(InputLatch::take());
    EXPECT_EQ(2, world->getX());
    EXPECT_EQ(0, world->getY());
}

TEST_F(WorldTest, WithoutAnAvatarTheViewStaysAtTheOrigin) {
    auto world = makeWorld(filled(30, 20, 'g'), filled(30, 20, '.'));
    EXPECT_EQ(nullptr, world->getAvatar());
    world->setX(5);
    world->setY(3);
    passes(*world, 3);
    EXPECT_EQ(5, world->getX());
    EXPECT_EQ(3, world->getY());
    EXPECT_EQ(3, world->getTimer()->getSecound());
}

TEST_F(WorldTest, EachPassAdvancesTheCalendarOnce) {
    auto world = makeWorld(filled(2, 2, 'g'), filled(2, 2, '.'));
    passes(*world, 61);
    EXPECT_EQ(0, world->getTimer()->getSecound());
    EXPECT_EQ(1, world->getTimer()->getMinute());
}

TEST_F(WorldTest, ErasedElementsLeaveTheGridButStaySelectedAndAlive) {
    // Walled into its corner, the cyclope cannot wander off.
    auto world = makeWorld(filled(3, 3, 'g'), {"C#.", "#..", "..."});
    Element* cyclope = world->get(1, 0, 0);
    world->pass(clickAt(10, 10));
    EXPECT_EQ(cyclope, world->getSelected());
    killAndEmpty(cyclope);
    // The remains stay for 100 calls once the food is gone.
    passes(*world, 99);
    EXPECT_EQ(cyclope, world->get(1, 0, 0));
    world->pass(InputLatch::take());
    EXPECT_EQ(nullptr, world->get(1, 0, 0));
    EXPECT_EQ(cyclope, world->getSelected());
    EXPECT_TRUE(cyclope->isToErase());
    EXPECT_EQ("cyclope: live 0 strong 10 helth 0 food 0", cyclope->toString());
    passes(*world, 5);
    EXPECT_EQ(nullptr, world->get(1, 0, 0));
}

TEST_F(WorldTest, LeftButtonSelectsTheElementUnderThePointer) {
    // Things that never move, so that each stays in the cell that is clicked.
    std::vector<std::string> elements = filled(40, 30, '.');
    elements[4][10] = '#';
    elements[5][12] = 'T';
    elements[15][25] = 'F';
    elements[10][18] = '@';
    auto world = makeWorld(filled(40, 30, 'g'), elements);
    ASSERT_EQ(10, world->getX());
    ASSERT_EQ(4, world->getY());
    InputSnapshot pointerOnly;
    pointerOnly.pointerX = 149;
    pointerOnly.pointerY = 50;
    world->pass(pointerOnly);
    EXPECT_EQ(nullptr, world->getSelected());
    // Pointer pixel and the grid cell it falls on, offset by the view origin (10, 4).
    const int clicks[][4] = {{149, 50, 12, 5}, {799, 599, 25, 15}, {0, 0, 10, 4}};
    for (const auto& c : clicks) {
        Element* under = world->get(1, c[2], c[3]);
        ASSERT_NE(nullptr, under);
        world->pass(clickAt(c[0], c[1]));
        EXPECT_EQ(under, world->getSelected()) << c[0] << "," << c[1];
    }
    // An empty cell keeps the selection: the wall, clicked last.
    Element* wall = world->get(1, 10, 4);
    world->pass(clickAt(300, 50));
    EXPECT_EQ(wall, world->getSelected());
    // With both buttons down the left one selects; the right one alone lets go.
    InputSnapshot bothButtons = clickAt(149, 50);
    bothButtons.rightButton = true;
    world->pass(bothButtons);
    EXPECT_EQ(world->get(1, 12, 5), world->getSelected());
    InputSnapshot rightOnly;
    rightOnly.rightButton = true;
    world->pass(rightOnly);
    EXPECT_EQ(nullptr, world->getSelected());
}

// The codes that map files hold, whoever wrote them, make these kinds: the avatar, the cyclope
// and the spider are creatures, everything but the avatar animates in place, and only a tree
// can be bitten while it lives.
TEST_F(WorldTest, EachCodeOfAMapFileMakesItsKind) {
    dir.write("orvalle.map", "<world>{[6][1]}<land>{[100][101][102][103][104][300]}"
                             "<element>{[1][2][3][4][5][200]}");
    World world(dir.file("orvalle.map"), dir.path());
    const std::string kinds[2][6] = {{"adobe", "littlelawn", "ground", "rocks", "lawn", "water"},
                                     {"avatar", "cyclope", "fire", "tree", "spider", "wall"}};
    for (int layer : {World::landLayer, World::elementLayer}) {
        for (int column = 0; column < 6; ++column) {
            const std::string& kind = kinds[layer][column];
            Element* e = world.get(layer, column, 0);
            ASSERT_NE(nullptr, e) << kind;
            EXPECT_EQ(kind, e->getName());
            EXPECT_EQ(kind == "avatar" || kind == "cyclope" || kind == "spider", e->isCreature());
            EXPECT_EQ(kind != "avatar", e->isWorking()) << kind;
            EXPECT_EQ(kind == "tree", e->isEatenBy(nullptr) == 1) << kind;
        }
    }
}

TEST_F(WorldTest, ClickOutsideTheGridChangesNothing) {
    auto world = makeWorld({"gg"}, {"C."});
    world->pass(clickAt(700, 500));
    EXPECT_EQ(nullptr, world->getSelected());
}

// Passes until the avatar, which hit at the start, can hit the cyclope again; 0 when it cannot
// within 40 passes.
int passesUntilItCanHitAgain(World& world, Element* avatar, Element* cyclope) {
    for (int count = 1; count <= 40; ++count) {
        if (avatar->attack(cyclope)) {
            return count;
        }
        world.pass(InputLatch::take());
    }
    ADD_FAILURE() << "the avatar could not hit the cyclope again within 40 passes";
    return 0;
}

TEST_F(WorldTest, AnElementSteppingDownOrRightIsRunAgainInTheSamePass) {
    struct Case {
        Action arrow;
        bool runTwice;
    };
    for (Case c : {Case{Action::walkDown, true}, Case{Action::walkRight, true},
                   Case{Action::walkUp, false}, Case{Action::walkLeft, false}}) {
        auto world = makeWorld(filled(5, 5, 'g'), {"C....", ".....", "..@..", ".....", "....."});
        Element* avatar = world->getAvatar();
        Element* cyclope = world->get(1, 0, 0);
        world->pass(InputLatch::take());
        ASSERT_TRUE(avatar->attack(cyclope));
        world->pass(InputSnapshot::pressing({c.arrow}));
        EXPECT_TRUE(avatar->isWalking());
        // The step timer advanced at most once in the pass, and the move reset it.
        EXPECT_EQ(0, avatar->getTime());
        const int expected = c.runTwice ? 19 : 20;
        EXPECT_EQ(expected, passesUntilItCanHitAgain(*world, avatar, cyclope))
            << static_cast<int>(c.arrow);
    }
}

TEST_F(WorldTest, DestroyingTheWorldReleasesGridAndErasedElements) {
    // Run under the sanitizers or valgrind, this catches double deletes and leaks.
    auto world = makeWorld(filled(3, 3, 'g'), {"C.S", "...", "@.T"});
    killAndEmpty(world->get(1, 0, 0));
    passes(*world, 101);
    EXPECT_EQ(nullptr, world->get(1, 0, 0));
    EXPECT_NE(nullptr, world->get(1, 2, 2));
    world.reset();
}

// A creature that a caller took off the grid and deleted is no longer the world's selection, its
// avatar or one of the creatures it counts, and the world plays on without it.
TEST_F(WorldTest, ACreatureACallerTookOffAndDeletedIsForgotten) {
    auto world = makeWorld(filled(3, 1, 'g'), {"@C#"});
    Element* avatar = world->getAvatar();
    Element* cyclope = world->get(1, 1, 0);
    world->pass(clickAt((1 - world->getX()) * World::cellSize, -world->getY() * World::cellSize));
    ASSERT_EQ(cyclope, world->getSelected());
    ASSERT_EQ(1, world->countLiving(CYCLOPE));
    for (Element* e : {cyclope, avatar}) {
        world->set(1, e->getX(), e->getY(), nullptr);
        delete e;
    }
    EXPECT_EQ(nullptr, world->getSelected());
    EXPECT_EQ(nullptr, world->getAvatar());
    EXPECT_EQ(0, world->countLiving(CYCLOPE));
    passes(*world, 2);
}
