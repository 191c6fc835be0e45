// The warnings read off the avatar after a pass: a blow taken, hunger below a quarter. The spider
// beside the avatar hunts cyclopes only, and strikes when a case says so.
#include "game/Warnings.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(WarningsTest, ABlowOrHungerBelowAQuarterWarnsForTwoSeconds) {
    TempDir dir;
    const struct {
        int helth;
        bool blow;
        const char* warning;
    } cases[] = {{100, true, Warnings::hit}, {25, false, Warnings::starving}, {26, false, ""}};
    for (const auto& c : cases) {
        auto world = makeWorld({"gg"}, {"S@"});
        Element& avatar = *world->getAvatar();
        // The first pass takes the avatar's first point of hunger; the next one, 501 passes on.
        world->pass(InputSnapshot());
        lowerHelthTo(&avatar, c.helth);
        AvatarEvents events;
        Warnings warnings;
        warnings.note(events.note(*world), {});
        c.blow ? (void)world->get(Habitat::elementLayer, 0, 0)->attack(&avatar) : avatar.decHelth();
        world->pass(InputSnapshot());
        warnings.note(events.note(*world), Warnings::Clock::time_point(1s));
        EXPECT_EQ(c.warning, warnings.current(Warnings::Clock::time_point(2900ms))) << c.helth;
        EXPECT_EQ("", warnings.current(Warnings::Clock::time_point(3s))) << c.helth;
    }
}

// The pass in which the avatar dies is told, that one only (its sound plays once).
TEST(WarningsTest, TheAvatarsDeathIsToldInItsPassOnly) {
    TempDir dir;
    auto world = makeWorld({"g"}, {"@"});
    AvatarEvents events;
    EXPECT_FALSE(events.note(*world).died);
    kill(world->getAvatar());
    EXPECT_TRUE(events.note(*world).died);
    EXPECT_FALSE(events.note(*world).died);
}

// A blow of the avatar lands on a creature in front, never on a thing.
TEST(WarningsTest, TheAvatarsBlowLandsOnACreatureOnly) {
    TempDir dir;
    for (const char* front : {"T", "C"}) {
        auto world = makeWorld({"g", "g"}, {"@", front});
        AvatarEvents events;
        events.note(*world);
        world->pass(InputSnapshot::pressing({Action::hit}));
        EXPECT_EQ(front[0] == 'C', events.note(*world).blowLanded) << front;
    }
}

// A loss of health two passes after a blow is no blow taken.
TEST(WarningsTest, ALossPassesAfterABlowIsNoBlowTaken) {
    TempDir dir;
    auto world = makeWorld({"gg"}, {"S@"});
    Element& avatar = *world->getAvatar();
    world->get(Habitat::elementLayer, 0, 0)->attack(&avatar);
    passes(*world, 2);
    AvatarEvents events;
    events.note(*world);
    avatar.decHelth();
    EXPECT_FALSE(events.note(*world).blowTaken);
}
