// The death card: the lifetime in the calendar's units, the tally of a life, and the record of
// the best time in its file.
#include "game/DeathCard.h"
#include "TestSupport.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "game/BestTime.h"
#include "game/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

TEST(DeathCardTest, TheLifetimeCountsAsTheCalendarDoes) {
    const struct {
        long passes;
        int day, hour, minute;
        const char* text;
    } spans[] = {
        {60, 0, 0, 0, "0 days 0 hours 0 min"},   {61, 0, 0, 1, "0 days 0 hours 1 min"},
        {3721, 0, 1, 0, "0 days 1 hour 0 min"},  {93024, 0, 24, 60, "0 days 24 hours 60 min"},
        {93025, 1, 0, 0, "1 day 0 hours 0 min"}, {250000, 2, 17, 11, "2 days 17 hours 11 min"}};
    Timer calendar;
    long counted = 0;
    for (const auto& span : spans) {
        for (; counted < span.passes; ++counted) {
            calendar.inc();
        }
        EXPECT_EQ(span.day, calendar.getDay());
        EXPECT_EQ(span.hour, calendar.getHour());
        EXPECT_EQ(span.minute, calendar.getMinute());
        EXPECT_EQ(span.text, DeathCard::lifetime(span.passes));
    }
}

// A blow at the tree, a bite of it 20 passes on, death on the 23rd pass: the card and the record.
TEST(DeathCardTest, TheCardTalliesTheLifeAndTheRecordKeepsTheLongest) {
    TempDir dir;
    dir.write("orvalle/best-time", "22\n");
    BestTime record(dir.file("orvalle/best-time"));
    auto world = makeWorld({"g", "g"}, {"@", "T"});
    Game& game = Game::of(*world);
    game.keepBestTimeIn(record);
    game.turn(*world, InputSnapshot::pressing({Action::hit}));
    for (int pass = 0; pass < 20; ++pass) {
        game.turn(*world, InputSnapshot());
    }
    game.turn(*world, InputSnapshot::pressing({Action::eat}));
    kill(world->getAvatar());
    game.turn(*world, InputSnapshot());
    game.turn(*world, InputSnapshot());
    const std::vector<std::string> card = {"You died.",
                                           "Starved.",
                                           "Lived 0 days 0 hours 0 min",
                                           "Blows struck: 1",
                                           "Bites eaten: 1",
                                           "Best: 0 days 0 hours 0 min",
                                           "New best!",
                                           "R plays again, Escape quits."};
    EXPECT_EQ(card, game.getDeathCard().lines());
    EXPECT_EQ(23, record.getBest());
    EXPECT_EQ("23\n", contentOf(dir.file("orvalle/best-time")));
    EXPECT_FALSE(record.offer(23));
    EXPECT_EQ(23, BestTime(dir.file("orvalle/best-time")).getBest());
    // A life of no pass is no record, even where there is none yet.
    EXPECT_FALSE(BestTime(dir.file("orvalle/none")).offer(0));
}

// A death under a blow names the kind of the last attacker.
TEST(DeathCardTest, TheCardNamesTheKindOfTheLastAttacker) {
    TempDir dir;
    auto world = makeWorld({"gg"}, {"@S"});
    Game& game = Game::of(*world);
    Element* avatar = world->getAvatar();
    world->get(World::elementLayer, 1, 0)->attack(avatar);
    kill(avatar);
    game.turn(*world, InputSnapshot());
    EXPECT_EQ("Killed by a spider's blow.", game.getDeathCard().lines().at(1));
}

// A game started as the program starts one, from the play of a new world, tallies from nought.
TEST(DeathCardTest, ANewWorldsPlayTalliesFromNought) {
    TempDir dir;
    auto world = makeWorld({"g"}, {"@"});
    Game& game = Game::of(*world);
    game.goOnFrom(PlayState());
    kill(world->getAvatar());
    game.turn(*world, InputSnapshot());
    const std::vector<std::string> card = game.getDeathCard().lines();
    for (const char* line : {"Blows struck: 0", "Bites eaten: 0"}) {
        EXPECT_NE(card.end(), std::find(card.begin(), card.end(), line)) << line;
    }
}

// Anything but a line of digits is no record, and says so; a record that cannot be written
// leaves no file behind, and the game goes on.
TEST(DeathCardTest, ADamagedOrUnwritableRecordIsReportedAndIgnored) {
    TempDir dir;
    const struct {
        const char* content;
        std::optional<long> best;
    } files[] = {
        {"7", 7},     {"7\n", 7},  {"1\n", 1},     {"", {}},     {"seven\n", {}},
        {"-7\n", {}}, {"0\n", {}}, {"7\n8\n", {}}, {"7 \n", {}}, {"99999999999999999999\n", {}}};
    for (const auto& f : files) {
        dir.write("best-time", f.content);
        testing::internal::CaptureStderr();
        EXPECT_EQ(f.best, BestTime(dir.file("best-time")).getBest()) << f.content;
        EXPECT_EQ(!f.best,
                  testing::internal::GetCapturedStderr().find("damaged") != std::string::npos);
    }
    // Unwritable: its folder is a file, or the name of its temporary file is a folder's; a record
    // kept says nothing.
    dir.write("plain", "");
    dir.write("taken/best-time.new" + std::to_string(getpid()) + "/inside", "");
    const struct {
        const char* file;
        bool kept;
    } records[] = {{"plain/orvalle/best-time", false},
                   {"taken/best-time", false},
                   {"new/orvalle/best-time", true}};
    for (const auto& r : records) {
        testing::internal::CaptureStderr();
        BestTime record(dir.file(r.file));
        EXPECT_TRUE(record.offer(5)) << r.file;
        EXPECT_EQ(!r.kept,
                  testing::internal::GetCapturedStderr().find("Cannot keep") != std::string::npos)
            << r.file;
    }
    EXPECT_EQ("", contentOf(dir.file("plain")));
}

// The record lives in the player's data folder, $XDG_DATA_HOME or else ~/.local/share, each only
// when it is an absolute path; with neither there is no record file.
TEST(DeathCardTest, TheRecordLivesInThePlayersDataFolder) {
    using Value = std::optional<std::string>;
    const auto read = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? Value(value) : std::nullopt;
    };
    const auto put = [](const char* name, const Value& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    };
    const Value data = read("XDG_DATA_HOME");
    const Value home = read("HOME");
    const struct {
        Value data, home, file;
    } cases[] = {{"/d", "/h", "/d/orvalle/best-time"},
                 {std::nullopt, "/h", "/h/.local/share/orvalle/best-time"},
                 {"d", "/h", "/h/.local/share/orvalle/best-time"},
                 {std::nullopt, "h", std::nullopt}};
    for (const auto& c : cases) {
        put("XDG_DATA_HOME", c.data);
        put("HOME", c.home);
        EXPECT_EQ(c.file, BestTime::defaultFile()) << c.data.value_or("unset");
    }
    put("XDG_DATA_HOME", data);
    put("HOME", home);
}
