#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class ScenarioTest : public ::testing::Test {
  protected:
    TempDir dir;
};
} // namespace

TEST_F(ScenarioTest, CyclopeWalksUpToTheAvatarAndHitsItEvery20Passes) {
    auto world =
        makeWorld(filled(5, 6, 'g'), {"#.C.#", "#...#", "#...#", "#.@.#", "#####", "#####"});
    Element* avatar = world->getAvatar();
    Element* cyclope = world->get(1, 2, 0);
    std::vector<int> hits;
    world->pass(InputLatch::take());
    int helth = avatar->getHelth();
    for (int pass = 2; pass <= 200; ++pass) {
        world->pass(InputLatch::take());
        if (avatar->getHelth() < helth) {
            hits.push_back(pass);
        }
        helth = avatar->getHelth();
    }
    // Two steps of 11 passes each bring it next to the avatar; then a blow every 20 passes.
    EXPECT_EQ(cyclope, world->get(1, 2, 2));
    ASSERT_EQ(9u, hits.size());
    EXPECT_LE(hits[0], 25);
    for (std::size_t i = 1; i < hits.size(); ++i) {
        EXPECT_EQ(20, hits[i] - hits[i - 1]);
    }
    EXPECT_EQ(cyclope, avatar->getAttacker());
}

TEST_F(ScenarioTest, StarvingSpiderWalksToATreeAndEatsUntilHealthy) {
    auto world = makeWorld(filled(3, 4, 'g'), {"#S#", "#.#", "#T#", "###"});
    Element* spider = world->get(1, 1, 0);
    Element* tree = world->get(1, 1, 2);
    lowerHelthTo(spider, 12);
    int bestHelth = 0;
    for (int pass = 0; pass < 400; ++pass) {
        world->pass(InputLatch::take());
        bestHelth = std::max(bestHelth, spider->getHelth());
    }
    EXPECT_EQ(spider, world->get(1, 1, 1));
    EXPECT_EQ(20, bestHelth);
    EXPECT_LT(tree->getFood(), 100);
}

TEST_F(ScenarioTest, ACarcassIsEatenToRemainsAndErased) {
    auto world = makeWorld(filled(3, 3, 'g'), {"#C#", "#C#", "###"});
    Element* eater = world->get(1, 1, 0);
    Element* body = world->get(1, 1, 1);
    kill(body);
    lowerHelthTo(eater, 5);
    int pass = 0;
    while (body->getFood() > 0 && pass < 1000) {
        world->pass(InputLatch::take());
        ++pass;
    }
    ASSERT_EQ(0, body->getFood()) << "the carcass was not eaten empty in 1000 passes";
    EXPECT_NEAR(10 * 20, pass, 20);
    EXPECT_EQ(body, world->get(1, 1, 1));
    passes(*world, 100);
    // Gone from the grid (the eater, free again, may have stepped into the cell since).
    EXPECT_NE(body, world->get(1, 1, 1));
    EXPECT_TRUE(body->isToErase());
    EXPECT_EQ(14, eater->getHelth());
}
