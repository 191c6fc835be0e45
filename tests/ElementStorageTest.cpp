// Where elements live: slots back to back in the order they are made, and elements of a class of
// one's own, which the sweep runs on every pass.
#include "elements/ElementStorage.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "elements/Vision.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
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
} // namespace

// Slots made one after another lie back to back, with nothing between them, so that the sweep
// reads the elements of a world, made in its order, as one stream; a freed slot is made again.
// Only the speed of a pass would change if that were lost, which no other test notices. (A size
// that no element has, so that no slot freed before is at hand.)
TEST(ElementStorageTest, SlotsMadeOneAfterAnotherLieBackToBack) {
    const std::size_t size = 496;
    char* first = static_cast<char*>(ElementStorage::allocate(size));
    char* second = static_cast<char*>(ElementStorage::allocate(size));
    EXPECT_EQ(first + size, second);
    ElementStorage::release(second, size);
    EXPECT_EQ(second, ElementStorage::allocate(size));
    ElementStorage::release(second, size);
    ElementStorage::release(first, size);
}

// A creature made from its kind makes its first vision as it is made, so that the storage carves
// the vision right after it and a turn finds both together: only the speed of a dense world's
// pass would change if that were lost. A vision made at the first look instead would take the
// slot of a vision's size freed last, whichever slots earlier tests left free.
TEST(ElementStorageTest, ACreaturesFirstVisionIsMadeWithIt) {
    TempDir dir;
    for (int type : {AVATAR, CYCLOPE, SPIDER}) {
        const ElementKind& kind = ElementKind::of(type);
        auto grid = makeWorld({"gg"}, {std::string(1, kind.letter) + "."});
        Element* made = grid->get(1, 0, 0);
        void* freedLast = ElementStorage::allocate(sizeof(Vision));
        ElementStorage::release(freedLast, sizeof(Vision));
        passes(*grid, 1);
        EXPECT_NE(reinterpret_cast<std::uintptr_t>(freedLast),
                  reinterpret_cast<std::uintptr_t>(made->getVision()))
            << kind.name;
    }
}

// A vision that a caller makes and ends gives its memory back, for the next vision to take.
// (Another slot stays taken, so that the storage keeps its chunks meanwhile.)
TEST(ElementStorageTest, AVisionEndedGivesItsSlotBack) {
    const std::size_t size = 496;
    void* kept = ElementStorage::allocate(size);
    auto* first = new Vision();
    const auto firstAt = reinterpret_cast<std::uintptr_t>(first);
    delete first;
    auto* again = new Vision();
    EXPECT_EQ(firstAt, reinterpret_cast<std::uintptr_t>(again));
    delete again;
    ElementStorage::release(kept, size);
}

TEST(ElementStorageTest, ElementsOfAClassOfTheirOwnRunOnEveryPass) {
    TempDir dir;
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
