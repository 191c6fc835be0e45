#include "TestSupport.h"
#include "elements/Element.h"
#include "elements/Vision.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<Element*> drain(Vision& vision, int layer) {
    std::vector<Element*> seen;
    for (Element* e = vision.getNext(layer); e != nullptr; e = vision.getNext(layer)) {
        seen.push_back(e);
    }
    return seen;
}
} // namespace

TEST(VisionClearTest, ForgetsBothListsAndRewindsTheCursors) {
    Vision vision;
    Element* a = reinterpret_cast<Element*>(0x10);
    Element* b = reinterpret_cast<Element*>(0x20);
    vision.add(a, 1);
    vision.add(b, 0);
    ASSERT_EQ(a, vision.getNext(1));
    vision.clear();
    EXPECT_EQ(nullptr, vision.getNext(1));
    EXPECT_EQ(nullptr, vision.getNext(0));
    vision.add(b, 1);
    EXPECT_EQ(b, vision.getNext(1));
}

// A creature's vision is refilled in place every pass: what left the cone must be gone from it
// and reading must start again from the front.
TEST(VisionReuseTest, ARefilledVisionHoldsOnlyWhatIsInTheConeNow) {
    TempDir dir;
    auto world = makeWorld(filled(3, 2, 'g'), {"#C#", "#T#"});
    Element* cyclope = world->get(1, 1, 0);
    Element* tree = world->get(1, 1, 1);
    cyclope->reloadVision();
    Vision* vision = cyclope->getVision();
    ASSERT_NE(nullptr, vision);
    EXPECT_EQ((std::vector<Element*>{world->get(1, 0, 1), tree, world->get(1, 2, 1)}),
              drain(*vision, 1));
    EXPECT_EQ(3u, drain(*vision, 0).size());
    // A hunter stops reading at its target; the next refill must still be read from the front.
    cyclope->reloadVision();
    vision->getNext(1);
    world->set(1, 1, 1, nullptr);
    cyclope->reloadVision();
    vision = cyclope->getVision();
    EXPECT_EQ((std::vector<Element*>{world->get(1, 0, 1), world->get(1, 2, 1)}), drain(*vision, 1));
    EXPECT_EQ(3u, drain(*vision, 0).size());
}
