// A saved world resumes exactly, and a file that is not a whole save is refused, never half read.
#include "world/SaveFile.h"
#include "Census.h"
#include "TestSupport.h"
#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/PlayerFiles.h"
#include "core/RandomSequence.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "game/Game.h"
#include "world/World.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {
class SaveFileTest : public ::testing::Test {
  protected:
    TempDir dir;
};

// The checksum made to fit a save whose bytes were changed after its header's 24.
void sealed(std::string& save) {
    ByteWriter checksum;
    checksum.word(ByteWriter::crc32(std::string_view(save).substr(24)));
    save.replace(20, 4, checksum.take());
}

// A crowded valley of every kind, the same for the same seed, with the avatar in its middle.
std::unique_ptr<World> crowdedWorld(unsigned seed) {
    std::mt19937 draw(seed);
    const std::string land = "gLlrag";
    const std::string things = "CCSSTTF#";
    std::vector<std::string> ground = filled(30, 20, 'g');
    std::vector<std::string> standing = filled(30, 20, '.');
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 30; ++column) {
            ground[row][column] = land[draw() % land.size()];
            if (draw() % 4 == 0) {
                standing[row][column] = things[draw() % things.size()];
            }
        }
    }
    standing[10][15] = '@';
    return makeWorld(ground, standing);
}

// The game's passes with the player's keys: the avatar walks, strikes and eats in turn.
void play(World& world, int from, int count) {
    const Action keys[] = {Action::walkRight, Action::hit,      Action::walkDown,
                           Action::eat,       Action::walkLeft, Action::walkUp};
    for (int pass = from; pass < from + count; ++pass) {
        world.pass(InputSnapshot::pressing({keys[(pass / 9) % std::size(keys)]}));
    }
}

// The world saved with what its game keeps beside it, and resumed with a game that goes on from
// there.
std::unique_ptr<World> resumed(World& world) {
    SaveFile::Resumed back = SaveFile::worldOf(
        SaveFile::bytesOf(world, Game::of(world).getPlayState()), TempDir::current().path());
    Game::of(*back.world).goOnFrom(back.play);
    return std::move(back.world);
}
} // namespace

// Byte for byte the same world, and the same census, whether or not it stopped half way.
TEST_F(SaveFileTest, AWorldSavedAndResumedRunsOnAsIfItHadNeverStopped) {
    const struct {
        const char* name;
        unsigned seed;
        int half;
    } runs[] = {{"a crowded valley at its start", 1, 0},
                {"a crowded valley in the thick of it", 2, 300},
                {"a valley where most have died and rotted away", 3, 1500}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        std::srand(1);
        auto straight = crowdedWorld(run.seed);
        play(*straight, 0, 2 * run.half + 100);
        std::srand(1);
        auto first = crowdedWorld(run.seed);
        play(*first, 0, run.half);
        auto second = resumed(*first);
        first.reset();
        play(*second, run.half, run.half + 100);
        EXPECT_EQ(Census(*straight).row(straight->getPasses()),
                  Census(*second).row(second->getPasses()));
        EXPECT_EQ(SaveFile::bytesOf(*straight), SaveFile::bytesOf(*second));
    }
}

// What the world refers to survives the save: the avatar, the selection, an attacker that rotted
// away, an element in two cells, the creatures counted, the view and the calendar.
TEST_F(SaveFileTest, TheReferencesBetweenElementsAreKept) {
    std::vector<std::string> standing = filled(20, 14, '.');
    standing[0] = "#####";
    standing[1] = "#.@.#";
    standing[2] = "#####";
    standing[3] = "...###";
    standing[4] = "...#C#S";
    standing[5] = "...###";
    for (std::string& row : standing) {
        row.resize(20, '.');
    }
    auto world = makeWorld(filled(20, 14, 'g'), standing);
    Element* cyclope = world->get(1, 4, 4);
    Element* spider = world->get(1, 6, 4);
    kill(spider);
    spider->setFood(0);
    world->pass(clickAt((4 - world->getX()) * World::cellSize + 5,
                        (4 - world->getY()) * World::cellSize + 5));
    passes(*world, 120);
    ASSERT_EQ(nullptr, world->get(1, 6, 4)) << "the spider's remains have rotted away";
    cyclope->areAttackedBy(spider);
    // What a caller may set: a wall standing in a second cell, a deeper look, the last facing, a
    // day apart from the month.
    world->set(1, 10, 10, world->get(1, 0, 0));
    world->getAvatar()->setVisionRange(5);
    world->get(1, 0, 0)->setDirection(7);
    world->getTimer()->setMonth(5);
    world->getTimer()->setDay(3);
    auto again = resumed(*world);
    EXPECT_EQ(again->get(1, 0, 0), again->get(1, 10, 10));
    EXPECT_EQ(5, again->getAvatar()->getVisionRange());
    EXPECT_EQ(7, again->get(1, 0, 0)->getDirection());
    EXPECT_EQ(1, again->countLiving(CYCLOPE));
    EXPECT_EQ(again->get(1, 2, 1), again->getAvatar());
    ASSERT_NE(nullptr, again->getSelected());
    EXPECT_EQ(CYCLOPE, again->getSelected()->getType());
    ASSERT_EQ(1u, again->getRemoved().size());
    EXPECT_EQ(again->getRemoved()[0], again->getSelected()->getAttacker());
    EXPECT_EQ(world->getTimer()->toString(), again->getTimer()->toString());
    EXPECT_EQ(world->getX(), again->getX());
    // A land tile named as an attacker, in a world saved before its first pass, comes back as
    // the tile of its cell.
    auto fresh = makeWorld(filled(20, 14, 'g'), standing);
    fresh->get(1, 4, 4)->setAttacker(fresh->get(0, 15, 12));
    auto freshAgain = resumed(*fresh);
    EXPECT_EQ(freshAgain->get(0, 15, 12), freshAgain->get(1, 4, 4)->getAttacker());
}

TEST_F(SaveFileTest, AFileThatIsNoWholeSaveIsRefusedWithWhatIsWrong) {
    auto world = crowdedWorld(4);
    passes(*world, 30);
    const std::string save = SaveFile::bytesOf(*world);
    auto newer = save;
    newer[8] = static_cast<char>(SaveFile::format + 1);
    // Whole, but with values no resumed element may take.
    world->getAvatar()->setVisionRange(1001);
    const std::string tooDeep = SaveFile::bytesOf(*world);
    world->getAvatar()->setVisionRange(-1);
    const std::string blind = SaveFile::bytesOf(*world);
    // A calendar a year before its first: the year (after the 24 bytes of the header and the
    // grid's two sides) made -1, and the checksum made to fit.
    std::string beforeTime = save;
    beforeTime[26] = 1;
    sealed(beforeTime);
    // A grid that the bytes after its sides could hold at a byte a cell, but not at one in each
    // layer: refused before any of it is read.
    const std::size_t rows = (save.size() - 26) / 127;
    ASSERT_LT(rows, 128u);
    std::string tooLarge = save;
    tooLarge[24] = 127;
    tooLarge[25] = static_cast<char>(rows);
    sealed(tooLarge);
    const struct {
        const char* name;
        std::string bytes;
        std::string says;
    } files[] = {
        {"a map file", "<world>\n{[1][1]}\n", "not an Orvalle save"},
        {"an empty file", "", "not an Orvalle save"},
        {"a newer format", newer, "written by a newer Orvalle (format 2; this one reads format 1)"},
        {"a byte more", save + "x", "1 bytes more than the save holds"},
        {"cut in the header", save.substr(0, 12), "cut short"},
        {"cut in the world", save.substr(0, save.size() - 1), "cut short"},
        {"a look too deep", tooDeep, "out of range (1001) in an element's vision range"},
        {"a look of less than none", blind, "out of range (-1) in an element's vision range"},
        {"a year before the first", beforeTime, "out of range (-1) in the calendar"},
        {"a grid larger than the file", tooLarge,
         "a grid size that the file cannot hold (127 x " + std::to_string(rows) + ")"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        dir.write("named.save", file.bytes);
        try {
            SaveFile::resume(dir.file("named.save"), dir.path());
            ADD_FAILURE() << "accepted";
        } catch (const SaveFile::Refused& refusal) {
            EXPECT_EQ(0u, std::string(refusal.what()).find(dir.file("named.save") + ": "));
            EXPECT_NE(std::string::npos, std::string(refusal.what()).find(file.says))
                << refusal.what();
        }
    }
}

// The checksum is the CRC-32 that other tools compute: its check value over "123456789".
TEST_F(SaveFileTest, TheChecksumIsTheCommonCrc32) {
    EXPECT_EQ(0xCBF43926u, ByteWriter::crc32("123456789"));
}

// A number of more bytes than any 64-bit value takes is refused, not read on.
TEST_F(SaveFileTest, ANumberLongerThanAnyIsRefused) {
    const std::string endless(11, '\xff');
    ByteReader in(endless);
    try {
        in.number("a count");
        ADD_FAILURE() << "read";
    } catch (const ByteReader::Damaged& damage) {
        EXPECT_STREQ("a number too long in a count", damage.what());
    }
}

// A file beyond 4 GiB is refused before a byte of it is read (it is sparse: it takes no room).
TEST_F(SaveFileTest, AFileTooLargeToBeASaveIsRefusedUnread) {
    dir.write("huge.save", "");
    ASSERT_EQ(0, truncate(dir.file("huge.save").c_str(), (off_t{1} << 32) + 1));
    EXPECT_THROW(
        {
            try {
                SaveFile::check(dir.file("huge.save"));
            } catch (const SaveFile::Refused& refusal) {
                EXPECT_EQ(dir.file("huge.save") + ": too large to be a save", refusal.what());
                throw;
            }
        },
        SaveFile::Refused);
}

// A write that the file system cuts short (here a limit on the size of files) is reported, and
// the save that was there stays whole.
TEST_F(SaveFileTest, AWriteCutShortLeavesTheOldSave) {
    const std::string file = dir.file("kept.save");
    ASSERT_EQ("", PlayerFiles::writeWhole(file, "the old save"));
    rlimit kept{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &kept));
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = kept;
    small.rlim_cur = rlim_t{16} * 1024;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    const std::string failed =
        PlayerFiles::writeWhole(file, std::string(std::size_t{100} * 1024, 'x'));
    setrlimit(RLIMIT_FSIZE, &kept);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(std::strerror(EFBIG), failed);
    EXPECT_EQ("the old save", contentOf(file));
}

// Cut at every length, or with bytes changed: refused, and the random sequence is where it was.
TEST_F(SaveFileTest, EveryTruncationAndByteFlipIsRefused) {
    auto world = crowdedWorld(5);
    passes(*world, 20);
    const std::string save = SaveFile::bytesOf(*world);
    std::vector<std::string> damaged;
    for (std::size_t length = 0; length < save.size(); ++length) {
        damaged.push_back(save.substr(0, length));
    }
    std::mt19937 draw(7);
    for (int i = 0; i < 1000; ++i) {
        std::string flipped = save;
        char& byte = flipped[draw() % flipped.size()];
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ (1 + draw() % 255));
        damaged.push_back(flipped);
    }
    const RandomSequence::State before = RandomSequence::capture();
    int accepted = 0;
    for (const std::string& bytes : damaged) {
        try {
            SaveFile::worldOf(bytes, std::nullopt);
            ++accepted;
        } catch (const SaveFile::Refused& refusal) {
            EXPECT_NE("", std::string(refusal.what()));
        }
    }
    EXPECT_EQ(0, accepted);
    EXPECT_EQ(before, RandomSequence::capture());
}

TEST_F(SaveFileTest, RandomSequenceGoesOnWhereItWasCaptured) {
    std::srand(42);
    std::rand();
    const RandomSequence::State kept = RandomSequence::capture();
    const int next[] = {std::rand(), std::rand(), std::rand()};
    std::srand(3);
    ASSERT_TRUE(RandomSequence::restore(kept));
    for (int expected : next) {
        EXPECT_EQ(expected, std::rand());
    }
    const RandomSequence::State now = RandomSequence::capture();
    RandomSequence::State foreign{};
    foreign[0] = 7; // a generator of another type
    EXPECT_FALSE(RandomSequence::restore(foreign));
    EXPECT_EQ(now, RandomSequence::capture());
    // Every read position of the sequence, the 31 of them, is put back.
    for (int draw = 0; draw < 31; ++draw) {
        EXPECT_TRUE(RandomSequence::restore(RandomSequence::capture())) << draw;
        std::rand();
    }
}

// F5 saves before the pass it is pressed in, and F9 goes back to that moment; what cannot be
// saved or loaded leaves the game as it is, and the panel's note says why.
TEST_F(SaveFileTest, F5SavesAndF9GoesBackOrTheNoteSaysWhyNot) {
    auto world = crowdedWorld(6);
    Game& game = Game::of(*world);
    game.keepSavesIn(dir.file("saves/game.save"));
    passes(*world, 10);
    const std::string savedAt = "saved at " + world->getTimer()->dayAndTime();
    game.turn(*world, InputSnapshot::pressing({Action::save}));
    EXPECT_EQ(savedAt, game.getSaveNote());
    passes(*world, 5);
    game.turn(*world, InputSnapshot::pressing({Action::load}));
    const std::unique_ptr<World> back = game.takeResumed();
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(10, back->getPasses());

    const struct {
        const char* name;
        const char* file;
        Action key;
        std::string note;
    } failures[] = {
        {"a damaged save", "saves/game.save", Action::load,
         "not loaded: " + dir.file("saves/game.save") + ": not an Orvalle save"},
        {"no save yet", "none.save", Action::load,
         "not loaded: " + dir.file("none.save") + ": cannot read it: No such file or directory"},
        {"a folder that cannot be made", "saves/game.save/x", Action::save,
         "not saved: Not a directory"},
    };
    dir.write("saves/game.save", "scrambled");
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        game.keepSavesIn(dir.file(failure.file));
        game.turn(*world, InputSnapshot::pressing({failure.key}));
        EXPECT_EQ(nullptr, game.takeResumed());
        EXPECT_EQ(failure.note, game.getSaveNote());
    }
}

// What the resumed world shows is what the saved one showed, paused as it was: every frame of
// every kind, the meat and the remains, each in a colour of its own, and the placeholder.
TEST_F(SaveFileTest, AResumedWorldShowsWhatTheSavedOneShowed) {
    int colour = 0;
    for (const char* set : {"ground", "lawn", "cyclope", "spider", "tree", "meat", "dead"}) {
        for (int frame = 0; frame < 16; ++frame) {
            BITMAP* tile =
                solidBitmap(50, 50, makecol(40 + 13 * (colour % 16), 9 * (colour / 16), 77));
            saveImage(std::string(set) + std::to_string(frame), tile);
            destroy_bitmap(tile);
            ++colour;
        }
    }
    std::vector<std::string> land = filled(16, 12, 'g');
    land[5] = "ggggLLLLllllrrra";
    std::vector<std::string> standing = filled(16, 12, '.');
    standing[6] = "....@.CS.T.F.#..";
    auto world = makeWorld(land, standing);
    Game& game = Game::of(*world);
    Element* meat = world->get(1, 6, 6);
    Element* remains = world->get(1, 7, 6);
    kill(meat);
    kill(remains);
    remains->setFood(0);
    passes(*world, 3);
    game.turn(*world, InputSnapshot::pressing({Action::pause}));
    auto again = resumed(*world);
    EXPECT_TRUE(Game::of(*again).isPaused());
    again->draw();
    BITMAP* before = game.getFrame();
    BITMAP* after = Game::of(*again).getFrame();
    int differing = 0;
    for (int y = 0; y < before->h; ++y) {
        for (int x = 0; x < before->w; ++x) {
            differing += getpixel(before, x, y) != getpixel(after, x, y);
        }
    }
    EXPECT_EQ(0, differing);
}
