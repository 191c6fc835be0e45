#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "elements/Vision.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
class AvatarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The avatar in the middle faces down at a spider walled in below it (a spider never
        // goes for an avatar that has not hit it); a tree stands to the avatar's right.
        world = makeWorld(filled(5, 5, 'g'), {".....", ".....", "..@T.", ".#S#.", "..#.."});
        avatar = world->getAvatar();
        victim = world->get(1, 2, 3);
        tree = world->get(1, 3, 2);
        world->pass(InputLatch::take());
    }
    void hold(std::initializer_list<Action> actions) { held = InputSnapshot::pressing(actions); }
    // Passes with the keys held.
    void pass(int n = 1) { passes(*world, n, held); }

    bool standsAt(int x, int y) { return world->get(1, x, y) == avatar; }

    TempDir dir;
    std::unique_ptr<World> world;
    Element* avatar = nullptr;
    Element* victim = nullptr;
    Element* tree = nullptr;
    InputSnapshot held;
};
} // namespace

TEST_F(AvatarTest, UpWinsOverDownAndArrowsWinOverHitting) {
    hold({Action::walkUp, Action::walkDown, Action::hit});
    pass();
    EXPECT_TRUE(standsAt(2, 1));
    EXPECT_EQ(4, avatar->getDirection());
    EXPECT_FALSE(victim->isUnderAttack());
}

TEST_F(AvatarTest, ControlHitsTheElementInFrontOncePer20Calls) {
    hold({Action::hit});
    pass();
    EXPECT_TRUE(victim->isUnderAttack());
    EXPECT_EQ(avatar, victim->getAttacker());
    const int afterFirstHit = victim->getHelth();
    EXPECT_LT(afterFirstHit, 100);
    pass(19);
    EXPECT_EQ(afterFirstHit, victim->getHelth());
    pass();
    EXPECT_LT(victim->getHelth(), afterFirstHit);
}

TEST_F(AvatarTest, VisionKeyComesBeforeHitting) {
    hold({Action::lookAhead, Action::hit});
    pass();
    EXPECT_FALSE(victim->isUnderAttack());
    // Every pass gives a creature a vision, so only what it holds tells anything: the wall first.
    EXPECT_EQ(world->get(1, 1, 3), avatar->getVision()->getNext(1));
}

TEST_F(AvatarTest, AltNeverBitesALiveCreatureNorEatsAtFullHealth) {
    lowerHelthTo(avatar, avatar->getHelth() - 5);
    hold({Action::eat});
    pass();
    EXPECT_EQ(100, victim->getFood());
    // The refused bite kept the cool-down full: turning to the tree, the next pass bites.
    hold({Action::walkRight});
    pass();
    EXPECT_TRUE(standsAt(2, 2));
    EXPECT_EQ(2, avatar->getDirection());
    hold({Action::eat});
    pass();
    // Bitten to 90; the tree's full regrowth counter gives one unit back on its next call.
    EXPECT_EQ(91, tree->getFood());
    EXPECT_EQ(95, avatar->getHelth());
}

TEST_F(AvatarTest, AltAtFullHealthLeavesTheTreeAlone) {
    hold({Action::walkRight});
    pass();
    avatar->incHelth();
    ASSERT_EQ(100, avatar->getHelth());
    hold({Action::eat});
    pass();
    EXPECT_EQ(100, tree->getFood());
}

TEST_F(AvatarTest, WalksOneCellEverySevenPassesWhileAnArrowIsHeld) {
    hold({Action::walkLeft});
    pass();
    EXPECT_TRUE(standsAt(1, 2));
    pass(6);
    EXPECT_TRUE(standsAt(1, 2));
    pass();
    EXPECT_TRUE(standsAt(0, 2));
    // At the edge the arrow only turns it; then it reacts on the next pass.
    pass(7);
    EXPECT_TRUE(standsAt(0, 2));
    EXPECT_FALSE(avatar->isWalking());
    hold({Action::walkUp});
    pass();
    EXPECT_TRUE(standsAt(0, 1));
}

TEST_F(AvatarTest, KeysAreIgnoredDuringTheStepPause) {
    hold({Action::walkLeft});
    pass();
    hold({Action::walkUp});
    pass(5);
    EXPECT_TRUE(standsAt(1, 2));
    EXPECT_EQ(6, avatar->getDirection());
}

TEST_F(AvatarTest, ADeadAvatarIgnoresEveryKey) {
    kill(avatar);
    hold({Action::walkUp, Action::hit, Action::eat});
    pass();
    EXPECT_TRUE(standsAt(2, 2));
    EXPECT_EQ(0, avatar->getDirection());
    EXPECT_FALSE(victim->isUnderAttack());
}

// M before N, as in the avatar's table; after its death the world takes them.
TEST_F(AvatarTest, MAndNSwitchTheMusicAliveOrDead) {
    for (bool dead : {false, true}) {
        if (dead) {
            kill(avatar);
        }
        hold({Action::musicOff});
        pass();
        EXPECT_FALSE(world->isMusicOn()) << "dead " << dead;
        hold({Action::musicOn, Action::musicOff});
        pass();
        EXPECT_TRUE(world->isMusicOn()) << "dead " << dead;
    }
}
