#include "Census.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {
class CensusTest : public ::testing::Test {
  protected:
    TempDir dir;
};

} // namespace

TEST_F(CensusTest, CountsTheLivingAndTheTreesOfAFreshWorld) {
    auto world = makeWorld(filled(4, 3, 'g'), {"CC.T", "S@#.", ".T.F"});
    Census census(*world);
    EXPECT_EQ(2, census.getAlive(CYCLOPE));
    EXPECT_EQ(1, census.getAlive(SPIDER));
    EXPECT_EQ(1, census.getAlive(AVATAR));
    EXPECT_EQ(0, census.getDead(CYCLOPE) + census.getDead(SPIDER) + census.getDead(AVATAR));
    EXPECT_EQ(0, census.getCarcassesWithMeat());
    EXPECT_EQ(2, census.getTreesWithFood());
    EXPECT_EQ(200, census.getTreeFood());
    EXPECT_EQ(0, census.getAlive(TREE));
}

TEST_F(CensusTest, ACarcassIsDeadAndHasMeatUntilItsFoodIsGone) {
    auto world = makeWorld(filled(3, 1, 'g'), {"S.C"});
    Element* cyclope = world->get(1, 2, 0);
    kill(cyclope);
    Census withMeat(*world);
    EXPECT_EQ(0, withMeat.getAlive(CYCLOPE));
    EXPECT_EQ(1, withMeat.getDead(CYCLOPE));
    EXPECT_EQ(1, withMeat.getCarcassesWithMeat());
    EXPECT_EQ(1, withMeat.getAlive(SPIDER));
    cyclope->setFood(0);
    Census eaten(*world);
    EXPECT_EQ(1, eaten.getDead(CYCLOPE));
    EXPECT_EQ(0, eaten.getCarcassesWithMeat());
}

TEST_F(CensusTest, RemainsTakenOffTheGridStillCountAsDead) {
    auto world = makeWorld(filled(2, 1, 'g'), {"@S"});
    Element* spider = world->get(1, 1, 0);
    kill(spider);
    spider->setFood(0);
    while (world->get(1, 1, 0) == spider) {
        world->simulate();
    }
    ASSERT_EQ(1u, world->getRemoved().size());
    Census census(*world);
    EXPECT_EQ(1, census.getDead(SPIDER));
    EXPECT_EQ(0, census.getAlive(SPIDER));
    EXPECT_EQ(1, census.getAlive(AVATAR));
    EXPECT_EQ(0, census.getCarcassesWithMeat());
}

TEST_F(CensusTest, AnEatenTreeAddsNoFoodAndIsNotCountedAsHavingAny) {
    auto world = makeWorld(filled(3, 1, 'g'), {"TTT"});
    world->get(1, 0, 0)->setFood(0);
    world->get(1, 1, 0)->setFood(35);
    Census census(*world);
    EXPECT_EQ(2, census.getTreesWithFood());
    EXPECT_EQ(135, census.getTreeFood());
}

TEST_F(CensusTest, TheRowFollowsTheHeaderColumnByColumn) {
    auto world = makeWorld(filled(4, 2, 'g'), {"CCS@", "TT.."});
    kill(world->get(1, 1, 0));
    EXPECT_EQ("pass,cyclopes_alive,cyclopes_dead,spiders_alive,spiders_dead,avatars_alive,"
              "avatars_dead,carcasses_with_meat,trees_with_food,tree_food",
              Census::header());
    EXPECT_EQ("42,1,1,1,0,1,0,1,2,200", Census(*world).row(42));
}
