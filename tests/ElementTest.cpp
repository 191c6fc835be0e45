#include "elements/Element.h"
#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/ElementKind.h"
#include "images/Images.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
// Frames that the tests compare, each its own bitmap: without files every key would be the
// placeholder, and comparing two frames could never fail.
const char* const comparedFrames[] = {"ground0", "ground1",  "tree0", "tree1", "avatar0",
                                      "avatar1", "cyclope0", "meat0", "dead0"};

void writeComparedFrames() {
    int shade = 0;
    for (const char* frame : comparedFrames) {
        BITMAP* bitmap = solidBitmap(2, 2, makecol(0, 0, shade += 25));
        saveImage(frame, bitmap);
        destroy_bitmap(bitmap);
    }
}

class ElementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeComparedFrames();
        world = makeWorld({"gggg"}, {"C@TS"});
        for (const char* frame : comparedFrames) {
            ASSERT_NE(world->getImages()->get("void"), world->getImages()->get(frame)) << frame;
        }
        cyclope = world->get(1, 0, 0);
        avatar = world->get(1, 1, 0);
        tree = world->get(1, 2, 0);
        spider = world->get(1, 3, 0);
        ground = world->get(0, 0, 0);
    }

    // The element's own bookkeeping only, without any creature behaviour.
    void runTimes(Element* e, int n) {
        for (int i = 0; i < n; ++i) {
            e->Element::run();
        }
    }

    TempDir dir;
    std::unique_ptr<World> world;
    Element* cyclope = nullptr;
    Element* avatar = nullptr;
    Element* tree = nullptr;
    Element* spider = nullptr;
    Element* ground = nullptr;
};
} // namespace

TEST_F(ElementTest, NewElementsHaveTheirKindsDefaults) {
    EXPECT_EQ("cyclope: live 1 strong 10 helth 100 food 100", cyclope->toString());
    EXPECT_EQ(0, cyclope->getDirection());
    EXPECT_EQ(3, cyclope->getVisionRange());
    EXPECT_TRUE(cyclope->isCreature());
    EXPECT_TRUE(cyclope->isWorking());
    EXPECT_FALSE(tree->isCreature());
    EXPECT_FALSE(avatar->isWorking());
    EXPECT_EQ(world->getImages()->get("cyclope0"), cyclope->getImage());
    // One made by a caller from a name alone steps every 10 passes and animates in place.
    EXPECT_EQ(10, Element(world.get(), "tree", TREE).getMaxTime());
    EXPECT_TRUE(Element(world.get(), "wall", WALL).isWorking());
}

TEST_F(ElementTest, SettersIgnoreValuesOutOfRange) {
    cyclope->setDirection(6);
    cyclope->setDirection(8);
    cyclope->setDirection(-1);
    EXPECT_EQ(6, cyclope->getDirection());
    cyclope->setFood(101);
    cyclope->setFood(-1);
    EXPECT_EQ(100, cyclope->getFood());
    cyclope->setFood(0);
    EXPECT_EQ(0, cyclope->getFood());
    cyclope->setStrong(150);
    EXPECT_EQ(10, cyclope->getStrong());
    cyclope->setStrong(40);
    EXPECT_EQ(40, cyclope->getStrong());
    // The ends of the ranges are in them.
    cyclope->setStrong(100);
    EXPECT_EQ(100, cyclope->getStrong());
}

TEST_F(ElementTest, CreaturesLoseHealthOnTheFirstCallAndEvery501Calls) {
    cyclope->run();
    EXPECT_EQ(99, cyclope->getHelth());
    runTimes(cyclope, 500);
    EXPECT_EQ(99, cyclope->getHelth());
    cyclope->run();
    EXPECT_EQ(98, cyclope->getHelth());
    runTimes(tree, 1000);
    EXPECT_EQ(100, tree->getHelth());
}

TEST_F(ElementTest, DeathComesWithTheDecrementThatFindsZero) {
    lowerHelthTo(cyclope, 0);
    EXPECT_TRUE(cyclope->isAlive());
    cyclope->setWalking(true); // killed in the middle of a step
    cyclope->decHelth();
    EXPECT_FALSE(cyclope->isAlive());
    EXPECT_FALSE(cyclope->isWorking());
    EXPECT_FALSE(cyclope->isWalking());
    EXPECT_EQ(0, cyclope->getHelth());
    cyclope->incHelth();
    EXPECT_EQ(1, cyclope->getHelth());
    lowerHelthTo(avatar, 98);
    avatar->incHelth();
    avatar->incHelth();
    avatar->incHelth();
    EXPECT_EQ(100, avatar->getHelth());
}

TEST_F(ElementTest, FirstPassKeepsFrameZeroThenWorkingElementsStep) {
    world->pass(InputLatch::take());
    EXPECT_EQ(world->getImages()->get("ground0"), ground->getImage());
    EXPECT_EQ(world->getImages()->get("tree0"), tree->getImage());
    world->pass(InputLatch::take());
    EXPECT_EQ(world->getImages()->get("ground1"), ground->getImage());
    EXPECT_EQ(world->getImages()->get("tree1"), tree->getImage());
    EXPECT_EQ(world->getImages()->get("avatar0"), avatar->getImage());
}

TEST_F(ElementTest, StepTimerRunsToMaxTimeAndWrapsEndingTheWalk) {
    tree->setWalking(true);
    for (int i = 1; i <= 10; ++i) {
        tree->incTimer();
        EXPECT_EQ(i, tree->getTime());
        EXPECT_EQ(i < 5, tree->isStep());
        EXPECT_TRUE(tree->isWalking());
    }
    tree->incTimer();
    EXPECT_EQ(0, tree->getTime());
    EXPECT_FALSE(tree->isWalking());
}

TEST_F(ElementTest, AttackCostsTheVictimOneOrTwoPointsByStrengthAndHealth) {
    // Victim 100 against attacker 50: two points.
    lowerHelthTo(cyclope, 50);
    EXPECT_TRUE(cyclope->attack(spider));
    EXPECT_EQ(98, spider->getHelth());
    EXPECT_TRUE(spider->isUnderAttack());
    EXPECT_EQ(cyclope, spider->getAttacker());
    // Victim 30 against attacker 50: one point.
    lowerHelthTo(spider, 30);
    runTimes(cyclope, 20);
    EXPECT_TRUE(cyclope->attack(spider));
    EXPECT_EQ(29, spider->getHelth());
    // Equal sums: two points.
    lowerHelthTo(cyclope, 29);
    runTimes(cyclope, 20);
    lowerHelthTo(cyclope, 29);
    EXPECT_TRUE(cyclope->attack(spider));
    EXPECT_EQ(27, spider->getHelth());
}

TEST_F(ElementTest, AttackWaitsForItsCoolDownEvenAfterHittingAThing) {
    EXPECT_FALSE(cyclope->attack(tree));
    EXPECT_FALSE(cyclope->attack(spider));
    EXPECT_EQ(100, spider->getHelth());
    runTimes(cyclope, 19);
    EXPECT_FALSE(cyclope->attack(spider));
    runTimes(cyclope, 1);
    EXPECT_TRUE(cyclope->attack(spider));
}

TEST_F(ElementTest, UnderAttackLasts40CallsAfterAHit) {
    cyclope->attack(spider);
    runTimes(spider, 40);
    EXPECT_TRUE(spider->isUnderAttack());
    runTimes(spider, 1);
    EXPECT_FALSE(spider->isUnderAttack());
    EXPECT_EQ(nullptr, spider->getAttacker());
}

TEST_F(ElementTest, AHitDeadCreatureIsStillMarked) {
    kill(spider);
    EXPECT_TRUE(cyclope->attack(spider));
    EXPECT_TRUE(spider->isUnderAttack());
    EXPECT_EQ(0, spider->getHelth());
}

TEST_F(ElementTest, EatingNeedsHungerACoolDownAndEdibleFood) {
    EXPECT_EQ(0, avatar->eat(tree));
    EXPECT_EQ(100, tree->getFood());
    lowerHelthTo(avatar, 90);
    EXPECT_EQ(0, avatar->eat(cyclope));
    EXPECT_EQ(1, avatar->eat(tree));
    EXPECT_EQ(91, avatar->getHelth());
    EXPECT_EQ(90, tree->getFood());
    EXPECT_EQ(0, avatar->eat(tree));
    runTimes(avatar, 20);
    EXPECT_EQ(1, avatar->eat(tree));
    EXPECT_EQ(0, ground->isEatenBy(avatar));
}

TEST_F(ElementTest, TreeFoodGoesBelowZeroAndRegrowsOneUnitPer20Calls) {
    tree->setFood(5);
    EXPECT_EQ(1, tree->isEatenBy(avatar));
    EXPECT_EQ(-5, tree->getFood());
    EXPECT_EQ(0, tree->isEatenBy(avatar));
    // Its counter was full, so the first unit comes back on the next call.
    tree->run();
    EXPECT_EQ(-4, tree->getFood());
    runTimes(tree, 19);
    EXPECT_EQ(-4, tree->getFood());
    tree->run();
    EXPECT_EQ(-3, tree->getFood());
    runTimes(tree, 20 * 200);
    EXPECT_EQ(100, tree->getFood());
}

TEST_F(ElementTest, ACorpseIsMeatThenRemainsThenErased) {
    EXPECT_EQ(0, cyclope->isEatenBy(avatar));
    kill(cyclope);
    world->pass(InputLatch::take());
    world->pass(InputLatch::take());
    EXPECT_EQ(world->getImages()->get("meat0"), cyclope->getImage());
    for (int bite = 0; bite < 10; ++bite) {
        EXPECT_EQ(1, cyclope->isEatenBy(avatar));
    }
    EXPECT_EQ(0, cyclope->isEatenBy(avatar));
    EXPECT_EQ("cyclope: live 0 strong 10 helth 0 food 0", cyclope->toString());
    world->pass(InputLatch::take());
    EXPECT_EQ(world->getImages()->get("dead0"), cyclope->getImage());
    runTimes(cyclope, 98);
    EXPECT_FALSE(cyclope->isToErase());
    cyclope->run();
    EXPECT_TRUE(cyclope->isToErase());
}

TEST_F(ElementTest, StatusLineOfADeadCyclope) {
    kill(cyclope);
    for (int bite = 0; bite < 7; ++bite) {
        cyclope->isEatenBy(spider);
    }
    EXPECT_EQ("cyclope: live 0 strong 10 helth 0 food 30", cyclope->toString());
}

TEST_F(ElementTest, LiveCreaturesRebuildTheirVisionEveryCall) {
    EXPECT_EQ(nullptr, cyclope->getVision());
    cyclope->run();
    EXPECT_NE(nullptr, cyclope->getVision());
    tree->run();
    EXPECT_EQ(nullptr, tree->getVision());
}

// A letter of the map pictures stands for a kind of its own layer only.
TEST_F(ElementTest, ALetterStandsForAKindOfItsLayerOnly) {
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        const int other =
            kind->layer == Habitat::landLayer ? Habitat::elementLayer : Habitat::landLayer;
        EXPECT_EQ(kind, ElementKind::findLetter(kind->layer, kind->letter)) << kind->name;
        const ElementKind* there = ElementKind::findLetter(other, kind->letter);
        EXPECT_TRUE(there == nullptr || there->layer == other) << kind->name;
    }
}
