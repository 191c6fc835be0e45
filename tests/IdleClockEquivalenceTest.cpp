// The idle clock and the sweep of awake cells change how often elements are run, never what is
// seen: a world that runs every cell on every pass, swept here as the rules describe it, and a
// world with the clock must agree on every element and every drawn frame, pass after pass.
#include "Element.h"
#include "ElementKind.h"
#include "Images.h"
#include "TestSupport.h"
#include "Timer.h"
#include "World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
const int passCount = 2500;

// The map that tools/map/random_map.py makes for a size and a seed.
std::string generatedMap(int width, int height, int seed) {
    const std::string command = "python3 " ORVALLE_SOURCE_DIR "/tools/map/random_map.py " +
                                std::to_string(width) + " " + std::to_string(height) + " " +
                                std::to_string(seed);
    std::FILE* generator = popen(command.c_str(), "r");
    std::string text;
    char chunk[4096];
    for (std::size_t n;
         generator != nullptr && (n = std::fread(chunk, 1, sizeof chunk, generator));) {
        text.append(chunk, n);
    }
    EXPECT_TRUE(generator != nullptr && pclose(generator) == 0) << command;
    return text;
}

// Every image of the cache by a number that is the same in two worlds that load the same files.
std::map<BITMAP*, int> imageNumbers(World& world) {
    std::map<BITMAP*, int> numbers;
    Images& images = *world.getImages();
    for (const char* entry : {"void", "meat0", "dead0"}) {
        numbers.emplace(images.get(entry), static_cast<int>(numbers.size()));
    }
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        for (BITMAP* frame : images.getFrames(kind->name)) {
            numbers.emplace(frame, static_cast<int>(numbers.size()));
        }
    }
    return numbers;
}

using State = std::array<long, 12>;

// Everything an element shows of itself; all -1 for an empty cell.
State observed(const std::map<BITMAP*, int>& images, Element* e) {
    State state;
    state.fill(-1);
    if (e == nullptr) {
        return state;
    }
    const long flags = e->isStep() | e->isWalking() << 1 | e->isWorking() << 2 |
                       e->isUnderAttack() << 3 | e->isToErase() << 4 | e->isAlive() << 5;
    const Element* hitter = e->getAttacker();
    const long hitBy = hitter != nullptr ? hitter->getX() * 100000L + hitter->getY() : -1;
    state = {e->getType(),
             e->getX(),
             e->getY(),
             e->getDirection(),
             e->getTime(),
             e->getMaxTime(),
             flags,
             e->getHelth(),
             e->getFood(),
             e->getStrong(),
             images.at(e->getImage()),
             hitBy};
    return state;
}

// Something for every rule to do: hungry creatures that eat trees, carcasses to eat, a land tile
// run out of turn, and an avatar that walks, hits and eats (with the controls returned).
InputSnapshot stir(World& world, int pass) {
    static const int keys[] = {KEY_RIGHT, KEY_DOWN, KEY_LCONTROL, KEY_ALT, KEY_LEFT, KEY_UP, 0};
    const int column = pass * 7 % world.getWidth();
    const int row = pass * 11 % world.getHeight();
    if (pass % 97 == 0 && world.get(World::landLayer, column, row) != nullptr) {
        world.get(World::landLayer, column, row)->run();
    }
    // A pass on the same calendar second as the one before: no step timer advances.
    Timer& calendar = *world.getTimer();
    if (pass % 89 == 0) {
        calendar.setSecound(calendar.getSecound() == 0 ? 60 : calendar.getSecound() - 1);
    }
    Element* creature = world.get(World::elementLayer, column, row);
    if (pass % 5 == 0 && creature != nullptr && creature->isCreature()) {
        pass % 3 == 0 ? kill(creature) : lowerHelthTo(creature, 15);
    }
    return InputSnapshot::pressing({keys[pass / 40 % 7]});
}

// One pass by the rules' own words: every cell, columns outer, rows inner, the element before
// the land; what asks to be erased leaves its cell. Then the view follows the avatar, the calendar
// advances and the frame is drawn.
void passOfEveryCell(World& world, std::vector<Element*>& removed) {
    for (int x = 0; x < world.getWidth(); ++x) {
        for (int y = 0; y < world.getHeight(); ++y) {
            for (int layer : {World::elementLayer, World::landLayer}) {
                if (Element* e = world.get(layer, x, y)) {
                    e->run();
                    if (e->isToErase()) {
                        world.set(layer, x, y, nullptr);
                        removed.push_back(e);
                    }
                }
            }
        }
    }
    if (Element* avatar = world.getAvatar()) {
        world.setX(avatar->getX() - world.getScreenWidth() / 2);
        world.setY(avatar->getY() - world.getScreenHeight() / 2);
    }
    world.incTimer();
    world.draw();
}

class IdleClockEquivalenceTest : public ::testing::TestWithParam<int> {
  protected:
    std::unique_ptr<World> build(const std::string& map, bool idleClock) {
        std::srand(1);
        return std::make_unique<World>(map, std::string(ORVALLE_SOURCE_DIR "/data"), idleClock);
    }

    TempDir dir;
};
} // namespace

TEST_P(IdleClockEquivalenceTest, EveryElementAndFrameAsIfAllRanEveryPass) {
    const int seed = GetParam();
    dir.write("generated.map", generatedMap(40 + seed, 30 + seed, seed));
    std::unique_ptr<World> reference = build(dir.file("generated.map"), false);
    std::unique_ptr<World> clocked = build(dir.file("generated.map"), true);
    std::vector<Element*> removed;
    const std::map<BITMAP*, int> referenceImages = imageNumbers(*reference);
    const std::map<BITMAP*, int> clockedImages = imageNumbers(*clocked);
    for (int pass = 1; pass <= passCount; ++pass) {
        std::srand(pass);
        reference->setInput(stir(*reference, pass));
        passOfEveryCell(*reference, removed);
        std::srand(pass);
        clocked->pass(stir(*clocked, pass));
        ASSERT_EQ(removed.size(), clocked->getRemoved().size()) << "pass " << pass;
        for (std::size_t i = 0; i < removed.size(); ++i) {
            ASSERT_EQ(observed(referenceImages, removed[i]),
                      observed(clockedImages, clocked->getRemoved()[i]));
        }
        for (int layer : {World::landLayer, World::elementLayer}) {
            for (int x = 0; x < reference->getWidth(); ++x) {
                for (int y = 0; y < reference->getHeight(); ++y) {
                    ASSERT_EQ(observed(referenceImages, reference->get(layer, x, y)),
                              observed(clockedImages, clocked->get(layer, x, y)))
                        << "pass " << pass << " layer " << layer << " cell " << x << "," << y;
                }
            }
        }
        BITMAP* expected = reference->getFrame();
        for (int y = 0; y < expected->h; ++y) {
            ASSERT_EQ(0, std::memcmp(expected->line[y], clocked->getFrame()->line[y],
                                     static_cast<std::size_t>(expected->w) * 2))
                << "pass " << pass << " frame row " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedMaps, IdleClockEquivalenceTest, ::testing::Values(3, 11));
