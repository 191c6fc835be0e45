#include "TestSupport.h"
#include "core/InputLatch.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "elements/Vision.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {
std::vector<Element*> drain(Vision& vision, int layer) {
    std::vector<Element*> seen;
    for (Element* e = vision.getNext(layer); e != nullptr; e = vision.getNext(layer)) {
        seen.push_back(e);
    }
    return seen;
}

// A cyclope that, in its own turn, after it has looked, is handed a vision of one tree.
class HandedATree : public Element {
  public:
    HandedATree(World* owner, Element* tree) : Element(owner, ElementKind::of(CYCLOPE)) {
        handed->add(tree, 1);
    }
    void run() override {
        Element::run();
        setVision(handed.release());
    }

  private:
    std::unique_ptr<Vision> handed = std::make_unique<Vision>();
};
// A vision that counts its ends.
struct CountedVision : Vision {
    explicit CountedVision(int& count) : ends(count) {}
    ~CountedVision() override { ++ends; }
    int& ends;
};
} // namespace

// The vision a creature is handed lives through its looks and passes, refilled each time, and
// ends with the creature.
TEST(VisionReuseTest, AHandedVisionLivesUntilItsCreatureEnds) {
    TempDir dir;
    auto world = makeWorld(filled(3, 3, 'g'), {".C.", "...", "..."});
    int ends = 0;
    world->get(1, 1, 0)->setVision(new CountedVision(ends));
    world->get(1, 1, 0)->reloadVision();
    passes(*world, 3);
    EXPECT_EQ(0, ends);
    world.reset();
    EXPECT_EQ(1, ends);
}

// A creature keeps the vision it is handed, as the avatar's look key hands one over, and every
// pass refills that same vision in place: it shows what is in the cone now, read from the front
// again however far a hunter read the last time.
TEST(VisionReuseTest, AKeptVisionIsRefilledWithWhatIsInTheConeNow) {
    TempDir dir;
    auto world = makeWorld(filled(5, 3, 'g'), {"..CS.", ".S...", "..T.."});
    Element* cyclope = world->get(1, 2, 0);
    Element* coming = world->get(1, 3, 0);
    Element* leaving = world->get(1, 1, 1);
    Element* tree = world->get(1, 2, 2);
    Vision* vision = world->getVision(cyclope, cyclope->getVisionRange());
    cyclope->setVision(vision);
    ASSERT_EQ(vision, cyclope->getVision());
    EXPECT_EQ((std::vector<Element*>{leaving, tree}), drain(*vision, 1));
    const std::vector<Element*> lands = drain(*vision, 0);
    ASSERT_EQ(3u + 5u, lands.size());

    cyclope->reloadVision();
    EXPECT_EQ(leaving, vision->getNext(1));
    EXPECT_EQ(lands[0], vision->getNext(0));
    ASSERT_TRUE(leaving->move(LEFT));
    ASSERT_TRUE(coming->move(DOWN));
    cyclope->reloadVision();
    EXPECT_EQ(vision, cyclope->getVision());
    EXPECT_EQ((std::vector<Element*>{coming, tree}), drain(*vision, 1));
    EXPECT_EQ(lands, drain(*vision, 0));
}

// The vision handed over is what it sees from then on, even when it is handed over in the turn in
// which the creature looked, before what it saw was read.
TEST(VisionReuseTest, AVisionHandedOverInTheCreaturesTurnIsWhatItSees) {
    TempDir dir;
    auto world = makeWorld(filled(3, 3, 'g'), {"T..", "...", "..S"});
    Element* tree = world->get(1, 0, 0);
    auto* handed = new HandedATree(world.get(), tree);
    handed->setX(1);
    world->set(1, 1, 0, handed);
    world->pass(InputLatch::take());
    ASSERT_NE(nullptr, world->get(1, 1, 0)->getVision());
    EXPECT_EQ((std::vector<Element*>{tree}), drain(*world->get(1, 1, 0)->getVision(), 1));
}
