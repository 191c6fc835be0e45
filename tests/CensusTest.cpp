#include "Census.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {
class CensusTest : public ::testing::Test {
  protected:
    TempDir dir;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> found;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) {
        found.push_back(field);
    }
    return found;
}
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
        world->pass(InputSnapshot());
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
    // One unit left is food still.
    world->get(1, 1, 0)->setFood(1);
    Census census(*world);
    EXPECT_EQ(2, census.getTreesWithFood());
    EXPECT_EQ(101, census.getTreeFood());
}

TEST_F(CensusTest, TheRowFollowsTheHeaderColumnByColumn) {
    auto world = makeWorld(filled(4, 2, 'g'), {"CCS@", "TT.."});
    kill(world->get(1, 1, 0));
    const std::vector<std::string> names = fields(Census::header());
    const std::vector<std::string> values = fields(Census(*world).row(42));
    ASSERT_EQ(names.size(), values.size());
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < names.size(); ++i) {
        row[names[i]] = values[i];
    }
    std::map<std::string, std::string> expected = {
        {"pass", "42"},         {"cyclopes_alive", "1"},      {"cyclopes_dead", "1"},
        {"spiders_alive", "1"}, {"spiders_dead", "0"},        {"avatars_alive", "1"},
        {"avatars_dead", "0"},  {"carcasses_with_meat", "1"}, {"trees_with_food", "2"},
        {"tree_food", "200"}};
    // Any other kind the census counts has none.
    for (const ElementKind* kind : Census::countedKinds()) {
        expected.emplace(kind->plural() + "_alive", "0");
        expected.emplace(kind->plural() + "_dead", "0");
    }
    EXPECT_EQ(expected, row);
}
