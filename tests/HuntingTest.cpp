#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {
class HuntingTest : public ::testing::Test {
  protected:
    // Builds a world on ground from an element picture.
    void build(const std::vector<std::string>& elements) {
        world = makeWorld(
            filled(static_cast<int>(elements[0].size()), static_cast<int>(elements.size()), 'g'),
            elements);
    }

    Element* at(int x, int y) { return world->get(1, x, y); }

    TempDir dir;
    std::unique_ptr<World> world;
};
} // namespace

TEST_F(HuntingTest, HealthyCyclopeStepsTowardTheAvatarHorizontalFirst) {
    build({"C....", ".....", "..@.."});
    Element* cyclope = at(0, 0);
    cyclope->run();
    EXPECT_EQ(cyclope, at(1, 0));
    EXPECT_EQ(2, cyclope->getDirection());
    EXPECT_TRUE(cyclope->isWalking());
}

TEST_F(HuntingTest, SomethingInFrontDecidesBetweenBlowAndBite) {
    // Healthy, the avatar in the cone and a tree in the facing cell: no step, no blow.
    build({".C.", ".T.", "@..", "..."});
    Element* cyclope = at(1, 0);
    Element* avatar = world->getAvatar();
    cyclope->run();
    EXPECT_EQ(cyclope, at(1, 0));
    EXPECT_FALSE(avatar->isUnderAttack());
    EXPECT_EQ(100, at(1, 1)->getFood());
}

TEST_F(HuntingTest, ABlowGoesToTheTargetEvenWhenAnotherCreatureIsInFront) {
    // A living spider (not its attacker) in front: the avatar behind it takes the blow.
    build({".C.", ".S.", "..@", "..."});
    Element* cyclope = at(1, 0);
    Element* spider = at(1, 1);
    cyclope->run();
    EXPECT_TRUE(world->getAvatar()->isUnderAttack());
    EXPECT_EQ(cyclope, world->getAvatar()->getAttacker());
    EXPECT_FALSE(spider->isUnderAttack());
}

TEST_F(HuntingTest, AnotherCyclopeInFrontNeverLeadsToABlow) {
    build({".C.", ".C.", "#@#", "###"});
    Element* cyclope = at(1, 0);
    cyclope->run();
    EXPECT_FALSE(world->getAvatar()->isUnderAttack());
    EXPECT_FALSE(at(1, 1)->isUnderAttack());
    EXPECT_EQ(cyclope, at(1, 0));
}

TEST_F(HuntingTest, HungerStartsAt19) {
    build({".C.", ".T.", "@..", "..."});
    Element* cyclope = at(1, 0);
    Element* tree = at(1, 1);
    lowerHelthTo(cyclope, 21);
    cyclope->run();
    ASSERT_EQ(20, cyclope->getHelth());
    EXPECT_EQ(100, tree->getFood());
    cyclope->decHelth();
    cyclope->run();
    EXPECT_EQ(90, tree->getFood());
    EXPECT_EQ(20, cyclope->getHelth());
}

TEST_F(HuntingTest, HungryCreaturesBiteFoodFromADistanceWhenAThingIsInFront) {
    // A wall, or a tree with no fruit left, in front and a tree further off in the cone: the
    // tree further off is bitten from where the creature stands. A tree in front with a unit of
    // fruit is the one bitten.
    const struct {
        const char* front;
        int fruitInFront;
        int fruitLeftInFront;
        int fruitLeftFurther;
    } cases[] = {{"#", 0, 0, 90}, {"T", 0, 0, 90}, {"T", 1, -9, 100}};
    for (const auto& c : cases) {
        build({".C..", std::string(".") + c.front + "..", "...T", "...."});
        Element* cyclope = at(1, 0);
        at(1, 1)->setFood(c.fruitInFront);
        lowerHelthTo(cyclope, 10);
        cyclope->run();
        EXPECT_EQ(c.fruitLeftInFront, at(1, 1)->getFood()) << c.front << c.fruitInFront;
        EXPECT_EQ(c.fruitLeftFurther, at(3, 2)->getFood()) << c.front << c.fruitInFront;
        EXPECT_EQ(cyclope, at(1, 0));
    }
}

TEST_F(HuntingTest, HungryCreaturesEatTheirOwnKindButStrikeOtherCarcasses) {
    build({".C..S.", ".C..C.", "......"});
    Element* cyclope = at(1, 0);
    Element* spider = at(4, 0);
    Element* cyclopeBody = at(1, 1);
    Element* otherBody = at(4, 1);
    kill(cyclopeBody);
    kill(otherBody);
    lowerHelthTo(cyclope, 10);
    lowerHelthTo(spider, 10);
    cyclope->run();
    spider->run();
    // The cyclope eats the cyclope's body; the spider strikes it instead of eating.
    EXPECT_EQ(90, cyclopeBody->getFood());
    EXPECT_EQ(100, otherBody->getFood());
    EXPECT_TRUE(otherBody->isUnderAttack());
    EXPECT_EQ(spider, otherBody->getAttacker());
}

TEST_F(HuntingTest, HungrySpiderEatsASpidersBody) {
    build({".S.", ".S.", "..."});
    Element* spider = at(1, 0);
    Element* body = at(1, 1);
    kill(body);
    lowerHelthTo(spider, 10);
    spider->run();
    EXPECT_EQ(90, body->getFood());
}

TEST_F(HuntingTest, HungryCreaturesIgnoreLivingOnesAndEmptyCarcasses) {
    // The avatar in front is no target while hungry, nor is a carcass without food.
    build({".C.", ".@.", "C.."});
    Element* cyclope = at(1, 0);
    Element* empty = at(0, 2);
    kill(empty);
    for (int bites = 0; empty->isEatenBy(nullptr) == 1; ++bites) {
        ASSERT_LT(bites, 10) << "the carcass was not eaten empty in 10 bites";
    }
    lowerHelthTo(cyclope, 10);
    cyclope->run();
    EXPECT_FALSE(world->getAvatar()->isUnderAttack());
    EXPECT_FALSE(empty->isUnderAttack());
}

TEST_F(HuntingTest, TheAttackerComesBeforeThePreyInListOrder) {
    // The spider that hit the cyclope is nearer than the avatar, so it is fought back.
    build({"..C..", "..S..", "..@..", "....."});
    Element* cyclope = at(2, 0);
    Element* spider = at(2, 1);
    ASSERT_TRUE(spider->attack(cyclope));
    const int spiderHelth = spider->getHelth();
    cyclope->run();
    EXPECT_LT(spider->getHelth(), spiderHelth);
    EXPECT_FALSE(world->getAvatar()->isUnderAttack());
}

TEST_F(HuntingTest, HealthyCreaturesIgnoreDeadPrey) {
    // The carcass of its prey in front is no target: no blow, and the spider turns on patrol.
    build({".S.C", ".C.@", "...."});
    kill(at(1, 1));
    kill(world->getAvatar());
    Element* spider = at(1, 0);
    spider->run();
    at(3, 0)->run();
    EXPECT_FALSE(at(1, 1)->isUnderAttack());
    EXPECT_FALSE(world->getAvatar()->isUnderAttack());
    EXPECT_EQ(RIGHT, spider->getDirection());
}

TEST_F(HuntingTest, HealthySpiderHuntsCyclopesNotTheAvatar) {
    build({".S.", "...", "@.C", "..."});
    Element* spider = at(1, 0);
    spider->run();
    EXPECT_EQ(spider, at(2, 0));
    EXPECT_EQ(2, spider->getDirection());
}

TEST_F(HuntingTest, SpiderFightsBackAtAnAvatarThatHitIt) {
    build({".S.", ".@.", "..."});
    Element* spider = at(1, 0);
    Element* avatar = world->getAvatar();
    ASSERT_TRUE(avatar->attack(spider));
    spider->run();
    EXPECT_TRUE(avatar->isUnderAttack());
    EXPECT_EQ(spider, avatar->getAttacker());
}

TEST_F(HuntingTest, PatrollingSpiderTurnsDownRightUpLeft) {
    build({"S..", "...", "..."});
    Element* spider = at(0, 0);
    // A step every 11 passes: down twice, then the refused step at the edge turns it right.
    passes(*world, 22);
    EXPECT_EQ(spider, at(0, 2));
    EXPECT_EQ(0, spider->getDirection());
    world->pass(InputLatch::take());
    EXPECT_EQ(spider, at(0, 2));
    EXPECT_EQ(2, spider->getDirection());
    world->pass(InputLatch::take());
    EXPECT_EQ(spider, at(1, 2));
}

TEST_F(HuntingTest, RefusedPatrolStepLeavesTheNextHeading) {
    build({"###", "#S#", "###"});
    Element* spider = at(1, 1);
    const int expected[] = {2, 4, 6, 0, 2};
    for (int turn : expected) {
        spider->run();
        EXPECT_EQ(turn, spider->getDirection());
        EXPECT_FALSE(spider->isWalking());
    }
}

TEST_F(HuntingTest, BoxedInCyclopeTriesAgainEveryPassWithoutPause) {
    build({"###", "#C#", "###"});
    Element* cyclope = at(1, 1);
    for (int i = 0; i < 10; ++i) {
        cyclope->run();
        EXPECT_FALSE(cyclope->isWalking());
        EXPECT_EQ(0, cyclope->getDirection() % 2);
        EXPECT_EQ(cyclope, at(1, 1));
    }
}

// Dead, a creature stays where it fell: no wandering, no patrol, whatever it last saw.
TEST_F(HuntingTest, ADeadCreatureStaysWhereItFell) {
    for (const char* creature : {"C..", "S.."}) {
        SCOPED_TRACE(creature);
        build({creature, "...", "..."});
        Element* body = at(0, 0);
        kill(body);
        for (int turn = 0; turn < 30; ++turn) {
            body->run();
        }
        EXPECT_EQ(body, at(0, 0));
    }
}
