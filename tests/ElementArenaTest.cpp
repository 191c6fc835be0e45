#include "elements/ElementArena.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

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

// An element larger than one of the arena's blocks.
struct LargeElement : Element {
    explicit LargeElement(World* owner) : Element(owner, "tree", TREE) {}
    char bytes[3 << 20];
};

class ElementArenaTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::unique_ptr<World> world = makeWorld({"g"}, {"."});
};
} // namespace

TEST_F(ElementArenaTest, HandsOutStorageBackToBackInCreationOrder) {
    ElementArena arena;
    Element* first = arena.create<Element>(world.get(), "tree", TREE);
    Element* second = arena.create<Element>(world.get(), "wall", WALL);
    EXPECT_EQ(reinterpret_cast<char*>(first) + sizeof(Element), reinterpret_cast<char*>(second));
    EXPECT_EQ(WALL, second->getType());
}

TEST_F(ElementArenaTest, EndsEachElementOnceWithItsMostDerivedDestructor) {
    int destroyed = 0;
    {
        ElementArena arena;
        arena.create<WatchedElement>(world.get(), destroyed);
        arena.create<WatchedElement>(world.get(), destroyed);
        EXPECT_EQ(0, destroyed);
    }
    EXPECT_EQ(2, destroyed);
}

TEST_F(ElementArenaTest, ObjectsLargerThanABlockGetABlockOfTheirOwn) {
    ElementArena arena;
    LargeElement* large = arena.create<LargeElement>(world.get());
    large->bytes[sizeof large->bytes - 1] = 1;
    Element* after = arena.create<Element>(world.get(), "tree", TREE);
    // The element lies outside the large object and is aligned.
    EXPECT_TRUE(reinterpret_cast<char*>(after) >= large->bytes + sizeof large->bytes ||
                reinterpret_cast<char*>(after) + sizeof(Element) <= large->bytes);
    EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(after) % alignof(Element));
}

TEST_F(ElementArenaTest, AWorldLaysItsElementsOutInSweepOrder) {
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
