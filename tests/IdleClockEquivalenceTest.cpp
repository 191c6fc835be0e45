// The idle clock and the sweep of awake cells change how often elements are run, never what is
// seen: a world that runs every cell on every pass, swept here as the rules describe it, and a
// world with the clock must agree on every element and every drawn frame, pass after pass, and
// on what an element sees of others during the sweep, while elements are changed through every
// public setter and action between passes and in the middle of them.
#include "TestSupport.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "images/Images.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
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

// Every public way to change an element, applied to the element of a random cell with random
// values; the same draws in both worlds.
void changeAnElement(World& world, std::minstd_rand& draw) {
    const int column = static_cast<int>(draw() % world.getWidth());
    const int row = static_cast<int>(draw() % world.getHeight());
    const int layer = static_cast<int>(draw() % 2);
    Element* e = world.get(layer, column, row);
    Element* other = world.get(World::elementLayer, column, (row + 1) % world.getHeight());
    if (e == nullptr) {
        return;
    }
    const int value = static_cast<int>(draw() % 120) - 10;
    switch (draw() % 24) {
    case 0: e->setFood(value); break;
    case 1: e->setStrong(value); break;
    case 2: e->setDirection(value % 9); break;
    case 3: e->setMaxTime(value % 5 + 9); break;
    case 4: e->setWalking(value % 2 == 0); break;
    case 5: e->setWorking(value % 2 == 0); break;
    case 6: e->setAttacker(other); break;
    case 7: e->setVisionRange(value % 4); break;
    case 8: e->setX(e->getX()); break;
    case 9: e->setY(e->getY()); break;
    case 10: e->incTimer(); break;
    case 11: e->resetTime(); break;
    case 12: e->incHelth(); break;
    case 13: e->decHelth(); break;
    case 14: e->isEatenBy(other); break;
    case 15: e->areAttackedBy(other != nullptr ? other : e); break;
    case 16: other != nullptr ? e->eat(other) : e->attack(e); break;
    case 17: other != nullptr ? e->attack(other) : e->eat(e); break;
    case 18: e->incCounterAttack(), e->incCounterEat(), e->incCounterFood(); break;
    case 19: e->incCounterUnderAttack(), e->incCounterDead(), e->incCounterHelth(); break;
    case 20: e->incFood(); break;
    case 21: e->loadImages(value % 2 == 0 ? "fire" : "tree"); break;
    case 22: layer == World::elementLayer ? (void)e->move(value % 8 * 2) : e->reloadVision(); break;
    default: e->setCreature(value % 5 == 0); break;
    }
}

// What an element shows of itself during the sweep, whether or not its turn has come.
long glimpse(const Element* e) {
    return e == nullptr ? -1 : e->getTime() * 2 + (e->isStep() ? 1 : 0);
}

// A wall of a class of its own, run on every pass, that changes other elements and looks at
// them in its turn, in the middle of the sweep.
class Stirrer : public Element {
  public:
    Stirrer(World* owner, std::vector<long>& glimpses)
        : Element(owner, ElementKind::of(WALL)), seen(glimpses) {}
    void run() override {
        Element::run();
        World& here = *getWorld();
        std::minstd_rand draw(++turns);
        seen.push_back(glimpse(here.get(World::landLayer, getX(), getY())));
        for (int i = 0; i < 3; ++i) {
            seen.push_back(glimpse(here.get(static_cast<int>(draw() % 2),
                                            static_cast<int>(draw() % here.getWidth()),
                                            static_cast<int>(draw() % here.getHeight()))));
            changeAnElement(here, draw);
        }
    }

  private:
    std::vector<long>& seen;
    unsigned turns = 0;
};

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
    std::minstd_rand draw(static_cast<unsigned>(pass));
    changeAnElement(world, draw);
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
    // With a Stirrer in the middle of the grid, writing down what it sees in seen.
    std::unique_ptr<World> build(const std::string& map, bool idleClock, std::vector<long>& seen) {
        std::srand(1);
        auto world =
            std::make_unique<World>(map, std::string(ORVALLE_SOURCE_DIR "/data"), idleClock);
        auto* stirrer = new Stirrer(world.get(), seen);
        stirrer->setX(world->getWidth() / 2);
        stirrer->setY(world->getHeight() / 3);
        world->set(World::elementLayer, stirrer->getX(), stirrer->getY(), stirrer);
        return world;
    }

    TempDir dir;
};
} // namespace

TEST_P(IdleClockEquivalenceTest, EveryElementAndFrameAsIfAllRanEveryPass) {
    const int seed = GetParam();
    dir.write("generated.map", generatedMap(40 + seed, 30 + seed, seed));
    std::vector<long> referenceSeen;
    std::vector<long> clockedSeen;
    std::unique_ptr<World> reference = build(dir.file("generated.map"), false, referenceSeen);
    std::unique_ptr<World> clocked = build(dir.file("generated.map"), true, clockedSeen);
    std::vector<Element*> removed;
    const std::map<BITMAP*, int> referenceImages = imageNumbers(*reference);
    const std::map<BITMAP*, int> clockedImages = imageNumbers(*clocked);
    for (int pass = 1; pass <= passCount; ++pass) {
        std::srand(pass);
        reference->setInput(stir(*reference, pass));
        passOfEveryCell(*reference, removed);
        std::srand(pass);
        clocked->pass(stir(*clocked, pass));
        ASSERT_EQ(referenceSeen, clockedSeen) << "pass " << pass;
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
