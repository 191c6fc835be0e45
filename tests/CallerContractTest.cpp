// What the game promises code of a caller's own, tried as such code would try it: element classes
// of one's own that reach their world through getWorld(), and a caller that puts elements into
// the world, takes them out, deletes them and reads what creatures saw. Only what a caller knows
// is used: World, Element, Vision and their public functions, a map file, and Escape to end the
// world's run().
#include "TestSupport.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/Vision.h"
#include "images/Images.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
const int landLayer = 0;
const int elementLayer = 1;
const int right = 2;

// An element class of one's own: in its turn it runs the element's own update, then whatever its
// owner asks of it, with the world that getWorld() gives.
class OwnElement : public Element {
  public:
    using Turn = std::function<void(OwnElement& self, World& world)>;
    OwnElement(World* world, const std::string& name, int type, Turn onTurn = nullptr)
        : Element(world, name, type), turn(std::move(onTurn)) {}
    void run() override {
        Element::run();
        World* world = getWorld();
        if (turn) {
            turn(*this, *world);
        }
    }
    Turn turn;
};

// An element that counts its ends.
class Counted : public Element {
  public:
    Counted(World* world, int& endCount) : Element(world, "tree", 4), ends(endCount) {}
    ~Counted() override { ++ends; }

  private:
    int& ends;
};

// A valley read from its map file as a caller's program reads one, 7 x 5 cells of lawn with a
// tree at (2, 2), and in its bottom right corner a wall of one's own that presses Escape once the
// passes asked for have run, so that run() returns.
class Valley {
  public:
    Valley() {
        std::vector<std::string> elements = filled(7, 5, '.');
        elements[2][2] = 'T';
        dir.write("valley.map", mapText(filled(7, 5, 'g'), elements));
        world = std::make_unique<World>(dir.file("valley.map"));
        world->set(elementLayer, 6, 4,
                   new OwnElement(world.get(), "wall", 200, [this](OwnElement&, World&) {
                       if (--passesLeft <= 0) {
                           key[KEY_ESC] = 1;
                       }
                   }));
    }
    void runPasses(int passes) {
        passesLeft = passes;
        world->run();
        key[KEY_ESC] = 0;
    }

    TempDir dir;
    std::unique_ptr<World> world;

  private:
    int passesLeft = 0;
};

std::vector<Element*> listed(Vision* vision, int layer) {
    std::vector<Element*> seen;
    if (vision != nullptr) {
        vision->reset(layer);
        for (Element* e = vision->getNext(layer); e != nullptr; e = vision->getNext(layer)) {
            seen.push_back(e);
        }
    }
    return seen;
}
} // namespace

// getWorld() gives the World itself: an element's run() calls every operation the world has for
// its cells, and what it does there is what the world holds afterwards.
struct WorldRow {
    const char* path;
    OwnElement::Turn turn;
    std::function<void(World& world, OwnElement& self)> check;
};

TEST(CallerContract, AnElementOfOnesOwnReachesTheWorldItselfThroughGetWorld) {
    // The element of one's own stands at (2, 1), facing down, with the tree in front of it.
    const WorldRow rows[] = {
        {"it sets itself into a cell its coordinates do not name",
         [](OwnElement& self, World& world) { world.set(elementLayer, 4, 0, &self); },
         [](World& world, OwnElement& self) {
             EXPECT_EQ(&self, world.get(elementLayer, 4, 0));
             EXPECT_EQ(&self, world.get(elementLayer, 2, 1));
             EXPECT_EQ(2, self.getX());
         }},
        {"it takes the land ahead away, is blocked there, puts it back and steps",
         [](OwnElement& self, World& world) {
             Element* lawn = world.get(&self, landLayer, right);
             world.set(landLayer, 3, 1, nullptr);
             EXPECT_FALSE(world.move(&self, right)) << "a cell without land is crossed by no one";
             world.set(landLayer, 3, 1, lawn);
             EXPECT_TRUE(world.move(&self, right)) << "land put back is open again";
         },
         [](World& world, OwnElement& self) {
             EXPECT_EQ(&self, world.get(elementLayer, 3, 1));
             EXPECT_EQ(nullptr, world.get(elementLayer, 2, 1));
         }},
        {"it puts new land under itself and deletes the land it took away",
         [](OwnElement& self, World& world) {
             Element* old = world.get(landLayer, self.getX(), self.getY());
             world.set(landLayer, self.getX(), self.getY(), new Element(&world, "rocks", 103));
             delete old;
         },
         [](World& world, OwnElement&) { EXPECT_EQ(103, world.get(landLayer, 2, 1)->getType()); }},
        {"it finds the tree in front, and in a vision of its own",
         [](OwnElement& self, World& world) {
             Element* front = world.getFront(&self, elementLayer);
             std::unique_ptr<Vision> vision(world.getVision(&self, self.getVisionRange()));
             ASSERT_NE(nullptr, front);
             EXPECT_EQ(front, vision->getNext(elementLayer));
             EXPECT_EQ(4, front->getType());
         },
         [](World&, OwnElement&) {}},
    };
    for (const WorldRow& row : rows) {
        SCOPED_TRACE(row.path);
        Valley valley;
        // Once: a step right brings it to a cell that the sweep has yet to visit.
        auto* own =
            new OwnElement(valley.world.get(), "cyclope", 2,
                           [turn = row.turn, done = false](OwnElement& self, World& world) mutable {
                               if (!std::exchange(done, true)) {
                                   turn(self, world);
                               }
                           });
        own->setCreature(true);
        own->setX(2);
        own->setY(1);
        valley.world->set(elementLayer, 2, 1, own);
        valley.runPasses(1);
        row.check(*valley.world, *own);
    }
}

// The world ends, once, every element that stands in its grid when it ends, and what its sweep
// took off; an element that a caller took off and did not put back is the caller's, and the world
// neither ends it nor touches it.
struct OwnershipRow {
    const char* path;
    // What the caller does with an element of a class of its own; true when the caller keeps it.
    bool (*act)(Valley& valley, Element* counted);
    int endsBeforeWorldEnds;
};

TEST(CallerContract, TheWorldEndsWhatItsGridHoldsAndNothingACallerTookBack) {
    const OwnershipRow rows[] = {
        {"set into a cell its coordinates do not name",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             return false;
         },
         0},
        {"in two cells of two layers",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             valley.world->set(landLayer, 4, 0, e);
             return false;
         },
         0},
        {"taken off and put back",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             valley.runPasses(1);
             valley.world->set(elementLayer, 5, 0, nullptr);
             valley.runPasses(1);
             valley.world->set(elementLayer, 0, 4, e);
             return false;
         },
         0},
        {"taken off one of its two cells",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             valley.world->set(elementLayer, 5, 1, e);
             valley.world->set(elementLayer, 5, 0, nullptr);
             return false;
         },
         0},
        {"taken off and deleted by the caller",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             valley.runPasses(1);
             valley.world->set(elementLayer, 5, 0, nullptr);
             delete e;
             valley.runPasses(1);
             return true;
         },
         1},
        {"replaced by another element, and kept past the world's end",
         [](Valley& valley, Element* e) {
             valley.world->set(elementLayer, 5, 0, e);
             valley.world->set(elementLayer, 5, 0, new Element(valley.world.get(), "fire", 3));
             return true;
         },
         0},
        {"taken off by its own run(), and deleted by the caller afterwards",
         [](Valley& valley, Element* e) {
             auto* own = new OwnElement(
                 valley.world.get(), "wall", 200, [](OwnElement& self, World& world) {
                     world.set(elementLayer, self.getX(), self.getY(), nullptr);
                 });
             own->setX(5);
             valley.world->set(elementLayer, 5, 0, own);
             valley.world->set(elementLayer, 5, 1, e);
             valley.runPasses(2);
             EXPECT_EQ(nullptr, valley.world->get(elementLayer, 5, 0));
             delete own;
             return false;
         },
         0},
        {"a tile of the map taken away by the caller, who deletes it and puts its own there",
         [](Valley& valley, Element* e) {
             Element* tile = valley.world->get(landLayer, 1, 1);
             valley.world->set(landLayer, 1, 1, e);
             delete tile;
             valley.runPasses(1);
             return false;
         },
         0},
    };
    for (const OwnershipRow& row : rows) {
        SCOPED_TRACE(row.path);
        int ends = 0;
        auto valley = std::make_unique<Valley>();
        auto* counted = new Counted(valley->world.get(), ends);
        const bool callersOwn = row.act(*valley, counted);
        valley->runPasses(1);
        EXPECT_EQ(row.endsBeforeWorldEnds, ends) << "before the world ends";
        valley.reset();
        if (callersOwn && ends == 0) {
            EXPECT_EQ(100, counted->getHelth()) << "an element the caller kept is untouched";
            delete counted;
        }
        EXPECT_EQ(1, ends) << "ended once, by its owner";
    }
}

// The world keeps what its own sweep takes off (the dead and the spent), which the world's
// avatar, its selection and attackers may still refer to, until the world ends.
TEST(CallerContract, WhatTheSweepTookOffLivesUntilTheWorldEnds) {
    int ends = 0;
    auto valley = std::make_unique<Valley>();
    auto* carcass = new Counted(valley->world.get(), ends);
    carcass->setCreature(true);
    while (carcass->isAlive()) {
        carcass->decHelth();
    }
    carcass->setFood(0);
    for (int i = 0; i < 98; ++i) {
        carcass->incCounterDead();
    }
    valley->world->set(elementLayer, 5, 0, carcass);
    valley->runPasses(2);
    EXPECT_EQ(nullptr, valley->world->get(elementLayer, 5, 0));
    EXPECT_TRUE(carcass->isToErase());
    EXPECT_EQ(0, ends);
    // Put back by a caller, it is the grid's again, taken off again, and still ended once.
    valley->world->set(elementLayer, 5, 0, carcass);
    valley->runPasses(1);
    EXPECT_EQ(0, ends);
    valley.reset();
    EXPECT_EQ(1, ends);
}

// A creature's vision is a snapshot of its turn: whatever is written into the cells of its cone
// afterwards, however often, and however late it is read, on the grid or off it, it lists what
// stood there when the creature looked.
struct SightRow {
    const char* path;
    int visionRange;
    // Done between the look and the reading; the looker stands at (2, 0) facing down.
    void (*between)(Valley& valley, Element* looker);
    // Passes run after it, in which the looker looks again if it is on the grid and alive.
    int passesAfter;
};

// Empties the tree's cell, puts a wall, empties it, puts fire; puts other land at (1, 1) and a
// new wall at (2, 4), four rows ahead. What was taken off is the caller's.
void rewriteTheCone(World& world, std::vector<std::unique_ptr<Element>>& taken) {
    for (const char* name : {"wall", "fire"}) {
        taken.emplace_back(world.get(elementLayer, 2, 2));
        world.set(elementLayer, 2, 2, nullptr);
        world.set(elementLayer, 2, 2, new Element(&world, name, name[0] == 'w' ? 200 : 3));
    }
    taken.emplace_back(world.get(landLayer, 1, 1));
    world.set(landLayer, 1, 1, new Element(&world, "rocks", 103));
    taken.emplace_back(world.get(elementLayer, 2, 4));
    world.set(elementLayer, 2, 4, new Element(&world, "wall", 200));
}

std::vector<std::unique_ptr<Element>> takenOff;

TEST(CallerContract, AVisionListsWhatTheCreatureSawHoweverLateItIsRead) {
    const SightRow rows[] = {
        {"read at once, its cone rewritten later in the same sweep by an element of one's own", 3,
         [](Valley& valley, Element*) {
             // In the next pass the writer, two columns on, rewrites in its turn after the
             // looker has looked again.
             valley.world->set(elementLayer, 4, 4,
                               new OwnElement(valley.world.get(), "wall", 200,
                                              [done = false](OwnElement&, World& world) mutable {
                                                  if (!done) {
                                                      rewriteTheCone(world, takenOff);
                                                      done = true;
                                                  }
                                              }));
         },
         1},
        {"read 5 passes later, dead on the grid, its cone rewritten in each pass", 3,
         [](Valley& valley, Element* looker) {
             kill(looker);
             for (int pass = 0; pass < 5; ++pass) {
                 rewriteTheCone(*valley.world, takenOff);
                 valley.runPasses(1);
             }
         },
         0},
        {"read at once, taken off the grid, its cone rewritten", 3,
         [](Valley& valley, Element* looker) {
             valley.world->set(elementLayer, 2, 0, nullptr);
             takenOff.emplace_back(looker);
             rewriteTheCone(*valley.world, takenOff);
         },
         0},
        {"read at once, a creature off the grid at its cell looking, its cone rewritten", 3,
         [](Valley& valley, Element*) {
             auto* stray = new Element(valley.world.get(), "cyclope", 2);
             stray->setX(2);
             takenOff.emplace_back(stray);
             stray->reloadVision();
             rewriteTheCone(*valley.world, takenOff);
         },
         0},
        {"read 3 passes later, off the grid, its cone rewritten twice", 3,
         [](Valley& valley, Element* looker) {
             valley.world->set(elementLayer, 2, 0, nullptr);
             takenOff.emplace_back(looker);
             rewriteTheCone(*valley.world, takenOff);
             rewriteTheCone(*valley.world, takenOff);
             valley.runPasses(3);
         },
         0},
        {"read 6 passes later, off the grid, the calendar moved back in the middle of a sweep", 3,
         [](Valley& valley, Element* looker) {
             valley.world->set(elementLayer, 2, 0, nullptr);
             takenOff.emplace_back(looker);
             valley.world->set(
                 elementLayer, 3, 4,
                 new OwnElement(valley.world.get(), "fire", 3, [](OwnElement&, World& world) {
                     world.getTimer()->setSecound(0);
                 }));
             rewriteTheCone(*valley.world, takenOff);
             valley.runPasses(6);
         },
         0},
        {"read 4 passes later, off the grid, image sets added again", 3,
         [](Valley& valley, Element* looker) {
             valley.world->set(elementLayer, 2, 0, nullptr);
             takenOff.emplace_back(looker);
             rewriteTheCone(*valley.world, takenOff);
             valley.world->getImages()->add("tree");
             valley.runPasses(4);
         },
         0},
        {"read 2 passes later, four rows deep, dead on the grid, only its farthest row written", 4,
         [](Valley& valley, Element* looker) {
             kill(looker);
             valley.world->set(elementLayer, 2, 4, new Element(valley.world.get(), "wall", 200));
             valley.runPasses(2);
         },
         0},
    };
    for (const SightRow& row : rows) {
        SCOPED_TRACE(row.path);
        auto valley = std::make_unique<Valley>();
        World& world = *valley->world;
        auto* looker = new OwnElement(&world, "cyclope", 2);
        looker->setCreature(true);
        looker->setVisionRange(row.visionRange);
        looker->setX(2);
        world.set(elementLayer, 2, 0, looker);
        valley->runPasses(1);
        // What it sees at its turn, taken the way a caller takes a vision of its own.
        const std::unique_ptr<Vision> atItsTurn(world.getVision(looker, row.visionRange));
        const std::vector<Element*> things = listed(atItsTurn.get(), elementLayer);
        const std::vector<Element*> lands = listed(atItsTurn.get(), landLayer);
        ASSERT_FALSE(things.empty());
        ASSERT_EQ(world.get(elementLayer, 2, 2), things.front());
        ASSERT_EQ(row.visionRange == 3 ? 3u + 5u + 6u : 3u + 5u + 6u + 7u, lands.size());
        row.between(*valley, looker);
        if (row.passesAfter > 0) {
            valley->runPasses(row.passesAfter);
        }
        EXPECT_EQ(things, listed(looker->getVision(), elementLayer));
        EXPECT_EQ(lands, listed(looker->getVision(), landLayer));
        valley.reset();
        takenOff.clear();
    }
}
