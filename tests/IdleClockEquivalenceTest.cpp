// The idle clock and the sweep of awake cells change how often elements are run, never what is
// seen: a world that runs every cell on every pass, swept here as the rules describe it, and a
// world with the clock must agree on every element and every drawn frame, pass after pass, and
// on what an element sees of others during the sweep, while elements are changed through every
// public setter and action between passes and in the middle of them.
#include "TestSupport.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "game/Game.h"
#include "images/Images.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {
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

// Every image by the order in which a comparison first meets it: two worlds that show the same
// frames, even from caches filled apart (an image set added again), number them alike.
class ImageIds {
  public:
    long of(BITMAP* image) {
        return ids.emplace(image, static_cast<long>(ids.size())).first->second;
    }

  private:
    std::map<BITMAP*, long> ids;
};

using State = std::array<long, 12>;

// Everything an element shows of itself; all -1 for an empty cell.
State observed(ImageIds& images, Element* e) {
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
             images.of(e->getImage()),
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
// them in its turn, in the middle of the sweep, and now and then moves the calendar back.
class Stirrer : public Element {
  public:
    Stirrer(World* owner, std::vector<long>& glimpses)
        : Element(owner, ElementKind::of(WALL)), here(*owner), seen(glimpses) {}
    void run() override {
        Element::run();
        std::minstd_rand draw(++turns);
        seen.push_back(glimpse(here.get(World::landLayer, getX(), getY())));
        for (int i = 0; i < 3; ++i) {
            seen.push_back(glimpse(here.get(static_cast<int>(draw() % 2),
                                            static_cast<int>(draw() % here.getWidth()),
                                            static_cast<int>(draw() % here.getHeight()))));
            changeAnElement(here, draw);
        }
        if (turns % 7 == 0) {
            Timer& calendar = *here.getTimer();
            calendar.setSecound(calendar.getSecound() == 0 ? 60 : calendar.getSecound() - 1);
        }
    }

  private:
    World& here;
    std::vector<long>& seen;
    unsigned turns = 0;
};

// Something for every rule to do: hungry creatures that eat trees, carcasses to eat, a land tile
// run out of turn, and an avatar that walks, hits and eats (with the controls returned).
InputSnapshot stir(World& world, int pass) {
    // Six actions of the avatar's, then a while without any.
    static const Action actions[] = {Action::walkRight, Action::walkDown, Action::hit,
                                     Action::eat,       Action::walkLeft, Action::walkUp};
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
    const std::size_t turn = pass / 40 % (std::size(actions) + 1);
    InputSnapshot input =
        turn < std::size(actions) ? InputSnapshot::pressing({actions[turn]}) : InputSnapshot();
    input.leftButton = pass % 13 == 0;
    input.rightButton = pass % 26 == 0 || pass % 17 == 0;
    input.pointerX = pass * 37 % World::frameWidth;
    input.pointerY = pass * 53 % World::frameHeight;
    return input;
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

// What a path keeps off the grid, compared in both worlds on every pass.
using Held = std::vector<Element*>;

// A way that only a caller takes into the world, done at the start of a pass.
struct CallerPath {
    const char* name;
    int passes;
    void (*act)(World& world, int pass, Held& held);
};

const CallerPath callerPaths[] = {
    {"every setter and action, the calendar moved in the middle of the sweep", 2500,
     [](World&, int, Held&) {}},
    {"a plain tree put where its coordinates do not point, then bitten", 700,
     [](World& world, int pass, Held& held) {
         if (pass == 2) {
             held.push_back(new Element(&world, ElementKind::of(TREE)));
             world.set(World::elementLayer, 1, 1, held.back());
         } else if (pass % 50 == 0) {
             held.back()->isEatenBy(nullptr);
         }
     }},
    {"a settled tile taken off the grid, then put back elsewhere", 700,
     [](World& world, int pass, Held& held) {
         if (pass == 30) {
             held.push_back(world.get(World::landLayer, 2, 2));
             world.set(World::landLayer, 2, 2, nullptr);
         } else if (pass == 300) {
             world.set(World::landLayer, 3, 5, held.back());
         }
     }},
    {"a bitten tree standing in two cells", 700,
     [](World& world, int pass, Held& held) {
         if (pass == 2) {
             held.push_back(new Element(&world, ElementKind::of(TREE)));
             world.set(World::elementLayer, 4, 4, held.back());
             world.set(World::elementLayer, 6, 9, held.back());
         } else if (pass % 60 == 0) {
             held.back()->isEatenBy(nullptr);
         }
     }},
    {"image sets added again", 700,
     [](World& world, int pass, Held&) {
         if (pass % 200 == 0) {
             world.getImages()->add(pass % 400 == 0 ? "tree" : "lawn");
         }
     }},
};

// The reference, which runs every cell itself: its elements read the controls the test hands in.
class GivenInputWorld : public World {
  public:
    using World::World;
    const InputSnapshot& getInput() const override { return given; }
    InputSnapshot given;
};

class IdleClockEquivalenceTest : public ::testing::TestWithParam<std::tuple<int, CallerPath>> {
  protected:
    // With a Stirrer in the middle of the grid, writing down what it sees in seen.
    template <class Built>
    std::unique_ptr<Built> build(const std::string& map, bool idleClock, std::vector<long>& seen) {
        std::srand(1);
        auto world =
            std::make_unique<Built>(map, std::string(ORVALLE_SOURCE_DIR "/data"), idleClock);
        auto* stirrer = new Stirrer(world.get(), seen);
        stirrer->setX(world->getWidth() / 2);
        stirrer->setY(world->getHeight() / 3);
        world->set(World::elementLayer, stirrer->getX(), stirrer->getY(), stirrer);
        return world;
    }

    TempDir dir;
};
} // namespace

// The element-layer element under a click, by the rules' words: the left button selects, the
// right one alone lets go.
Element* selectionAfter(World& world, const InputSnapshot& input, Element* selected) {
    if (input.leftButton) {
        Element* clicked =
            world.get(World::elementLayer, world.getX() + input.pointerX / World::cellSize,
                      world.getY() + input.pointerY / World::cellSize);
        return clicked != nullptr ? clicked : selected;
    }
    return input.rightButton ? nullptr : selected;
}

TEST_P(IdleClockEquivalenceTest, EveryElementAndFrameAsIfAllRanEveryPass) {
    const auto& [seed, path] = GetParam();
    dir.write("generated.map", generatedMap(40 + seed, 30 + seed, seed));
    std::vector<long> referenceSeen;
    std::vector<long> clockedSeen;
    std::unique_ptr<GivenInputWorld> reference =
        build<GivenInputWorld>(dir.file("generated.map"), false, referenceSeen);
    std::unique_ptr<World> clocked = build<World>(dir.file("generated.map"), true, clockedSeen);
    std::vector<Element*> removed;
    Held referenceHeld;
    Held clockedHeld;
    Element* referenceSelected = nullptr;
    ImageIds referenceImages;
    ImageIds clockedImages;
    // A big map gets fewer passes, so that each row checks about as many cells.
    const int cells = reference->getWidth() * reference->getHeight();
    const int passCount = std::max(200, path.passes * 1500 / cells);
    for (int pass = 1; pass <= passCount; ++pass) {
        std::srand(pass);
        path.act(*reference, pass, referenceHeld);
        const InputSnapshot input = stir(*reference, pass);
        reference->given = input;
        passOfEveryCell(*reference, removed);
        referenceSelected = selectionAfter(*reference, input, referenceSelected);
        std::srand(pass);
        path.act(*clocked, pass, clockedHeld);
        clocked->pass(stir(*clocked, pass));
        clocked->draw();
        ASSERT_EQ(referenceSeen, clockedSeen) << "pass " << pass;
        ASSERT_EQ(observed(referenceImages, referenceSelected),
                  observed(clockedImages, clocked->getSelected()))
            << "pass " << pass;
        ASSERT_EQ(removed.size(), clocked->getRemoved().size()) << "pass " << pass;
        for (std::size_t i = 0; i < removed.size(); ++i) {
            ASSERT_EQ(observed(referenceImages, removed[i]),
                      observed(clockedImages, clocked->getRemoved()[i]));
        }
        for (std::size_t i = 0; i < referenceHeld.size(); ++i) {
            ASSERT_EQ(observed(referenceImages, referenceHeld[i]),
                      observed(clockedImages, clockedHeld[i]))
                << "pass " << pass << " held element " << i;
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
        // The status line (rows 10 to 17) is left out: the reference selects by itself, and the
        // selection is compared above.
        BITMAP* expected = Game::of(*reference).getFrame();
        for (int y = 0; y < expected->h; y += y == 9 ? 9 : 1) {
            ASSERT_EQ(0, std::memcmp(expected->line[y], Game::of(*clocked).getFrame()->line[y],
                                     static_cast<std::size_t>(expected->w) * 2))
                << "pass " << pass << " frame row " << y;
        }
    }
    // What the reference took off the grid is the test's own.
    reference.reset();
    for (Element* e : removed) {
        delete e;
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedMaps, IdleClockEquivalenceTest,
                         ::testing::Combine(::testing::Values(3, 11, 98),
                                            ::testing::ValuesIn(callerPaths)),
                         [](const auto& row) {
                             std::string name = std::to_string(std::get<0>(row.param)) + "_";
                             for (const char* c = std::get<1>(row.param).name; *c; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });
