#include "elements/ElementArena.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace {
// An element that tells when its destructor runs.
class WatchedElement : public Element {
  public:
    WatchedElement(World* owner, int& destroyedCount)
        : Element(owner, "tree", TREE), destroyed(destroyedCount) {}
    ~WatchedElement() override { ++destroyed; }

  private:
    int& destroyed;
};

// An element of a class of its own that counts the calls of its run().
class CountingElement : public Element {
  public:
    CountingElement(World* owner, const ElementKind& kind, bool baseRun)
        : Element(owner, kind), callsBase(baseRun) {}
    void run() override {
        ++runs;
        if (callsBase) {
            Element::run();
        }
    }
    int runs = 0;

  private:
    bool callsBase;
};

// A watched element larger than one of the arena's blocks.
struct LargeElement : WatchedElement {
    LargeElement(World* owner, int& destroyedCount) : WatchedElement(owner, destroyedCount) {}
    char bytes[3 << 20];
};

class ElementArenaTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::unique_ptr<World> world = makeWorld({"g"}, {"."});
};
} // namespace

// Every element, one larger than a block among them, keeps storage of its own while it lives and
// is ended once, with its most derived destructor, when the arena ends.
TEST_F(ElementArenaTest, EndsEachElementOnceWithItsMostDerivedDestructor) {
    int destroyed = 0;
    {
        ElementArena arena;
        Element* before = arena.create<WatchedElement>(world.get(), destroyed);
        LargeElement* large = arena.create<LargeElement>(world.get(), destroyed);
        std::memset(large->bytes, 'L', sizeof large->bytes);
        Element* after = arena.create<Element>(world.get(), "wall", WALL);
        before->setX(1);
        large->setX(2);
        after->setX(3);
        EXPECT_EQ((std::vector<int>{TREE, 1, TREE, 2, WALL, 3}),
                  (std::vector<int>{before->getType(), before->getX(), large->getType(),
                                    large->getX(), after->getType(), after->getX()}));
        EXPECT_EQ(sizeof large->bytes, static_cast<std::size_t>(std::count(
                                           std::begin(large->bytes), std::end(large->bytes), 'L')));
        EXPECT_EQ(0, destroyed);
    }
    EXPECT_EQ(2, destroyed);
}

// The world builds the elements the sweep runs in the order the sweep visits them, so that a
// pass reads memory as one stream. Only the speed of a pass would change if that order were
// lost, which no other test notices; hence this one look at addresses.
TEST_F(ElementArenaTest, AWorldBuildsItsElementsInTheOrderTheSweepReadsThem) {
    auto grid = makeWorld({"gg", "gg"}, {"TF", "#S"});
    // The element layer columns outer, rows inner, as the sweep visits it; then the land, which
    // the sweep leaves to the land clock, row by row.
    const Element* sweep[] = {grid->get(1, 0, 0), grid->get(1, 0, 1), grid->get(1, 1, 0),
                              grid->get(1, 1, 1), grid->get(0, 0, 0), grid->get(0, 1, 0),
                              grid->get(0, 0, 1), grid->get(0, 1, 1)};
    for (std::size_t i = 1; i < sizeof sweep / sizeof sweep[0]; ++i) {
        EXPECT_LT(sweep[i - 1], sweep[i]) << "element " << i;
    }
}

TEST_F(ElementArenaTest, ElementsOfAClassOfTheirOwnRunOnEveryPass) {
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        for (bool callsBase : {true, false}) {
            auto grid = makeWorld({"gg"}, {".."});
            auto* own = new CountingElement(grid.get(), *kind, callsBase);
            own->setX(1);
            grid->set(kind->layer, 1, 0, own);
            passes(*grid, 300);
            EXPECT_EQ(300, own->runs)
                << kind->name << (callsBase ? " with" : " without") << " Element::run()";
        }
    }
}

TEST_F(ElementArenaTest, AWorldEndsEveryElementHandedToItOnceWhereverItStands) {
    int destroyed = 0;
    auto grid = makeWorld({"gg"}, {".."});
    auto* inTwoCells = new WatchedElement(grid.get(), destroyed);
    grid->set(1, 0, 0, inTwoCells);
    grid->set(0, 1, 0, inTwoCells);
    auto* leftTheGrid = new WatchedElement(grid.get(), destroyed);
    grid->set(1, 1, 0, leftTheGrid);
    grid->set(1, 1, 0, nullptr);
    grid->set(1, 1, 0, grid->get(0, 0, 0));
    passes(*grid, 2);
    EXPECT_EQ(0, destroyed) << "an element taken off the grid lives on: others may refer to it";
    grid.reset();
    EXPECT_EQ(2, destroyed);
}
