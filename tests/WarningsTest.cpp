// The warnings read off the avatar after each pass: a blow taken, hunger below a quarter. The
// spider beside the avatar hunts cyclopes only, and strikes when a case says so.
#include "game/Warnings.h"
#include "TestSupport.h"
#include "elements/Element.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <functional>

using namespace std::chrono_literals;

TEST(WarningsTest, ABlowOrHungerBelowAQuarterWarnsForTwoSeconds) {
    TempDir dir;
    const Warnings::Clock::time_point start{};
    const struct {
        const char* what;
        int helth;
        std::function<void(World&, Element&)> happen;
        const char* warning;
    } cases[] = {
        {"a blow", 100,
         [](World& w, Element& a) { w.get(Habitat::elementLayer, 0, 0)->attack(&a); },
         Warnings::hit},
        {"hunger to 24", 25, [](World&, Element& a) { a.decHelth(); }, Warnings::starving},
        {"hunger to 25", 26, [](World&, Element& a) { a.decHelth(); }, ""},
        {"hunger to 23", 24, [](World&, Element& a) { a.decHelth(); }, ""},
        {"a bite", 24, [](World&, Element& a) { a.incHelth(); }, ""},
    };
    for (const auto& c : cases) {
        auto world = makeWorld({"gg"}, {"S@"});
        Element& avatar = *world->getAvatar();
        // The first pass takes the avatar's first point of hunger; the next one, 501 passes on.
        world->pass(InputSnapshot());
        lowerHelthTo(&avatar, c.helth);
        AvatarEvents events;
        Warnings warnings;
        warnings.note(events.note(*world), start);
        c.happen(*world, avatar);
        world->pass(InputSnapshot());
        warnings.note(events.note(*world), start + 1s);
        EXPECT_EQ(c.warning, warnings.current(start + 2900ms)) << c.what;
        EXPECT_EQ("", warnings.current(start + 3s)) << c.what;
    }
}
