#include "SimOptions.h"
#include "Census.h"
#include "elements/ElementKind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {
SimOptions parse(const std::vector<std::string>& args) {
    return SimOptions::parse(args);
}

void expectBadUsage(const std::vector<std::string>& args, const std::string& error) {
    SimOptions options = parse(args);
    EXPECT_EQ(SimOptions::BAD_USAGE, options.getOutcome());
    EXPECT_EQ(error, options.getError());
}
} // namespace

TEST(SimOptionsTest, AMapAloneRunsWithTheDefaults) {
    SimOptions options = parse({"valley.map"});
    EXPECT_EQ(SimOptions::RUN, options.getOutcome());
    EXPECT_EQ("valley.map", options.getMap());
    EXPECT_EQ(SimOptions::defaultPasses, options.getPasses());
    EXPECT_EQ(SimOptions::defaultEvery, options.getEvery());
    EXPECT_FALSE(options.getSeed());
}

TEST(SimOptionsTest, OptionsMayComeBeforeOrAfterTheMap) {
    SimOptions options =
        parse({"--every=7", "valley.map", "--seed", "4294967295", "--passes", "300"});
    EXPECT_EQ(SimOptions::RUN, options.getOutcome());
    EXPECT_EQ("valley.map", options.getMap());
    EXPECT_EQ(300, options.getPasses());
    EXPECT_EQ(7, options.getEvery());
    EXPECT_EQ(4294967295u, options.getSeed().value_or(0));
    // After "--" a word is the map, even one that starts with a dash.
    EXPECT_EQ("-valley.map", parse({"--passes", "300", "--", "-valley.map"}).getMap());
}

TEST(SimOptionsTest, HelpAnywhereWinsOverEverythingElse) {
    EXPECT_EQ(SimOptions::HELP, parse({"--help"}).getOutcome());
    EXPECT_EQ(SimOptions::HELP, parse({"valley.map", "--passes", "5", "-h"}).getOutcome());
    EXPECT_EQ(SimOptions::HELP, parse({"--bogus", "--help"}).getOutcome());
    EXPECT_EQ(SimOptions::HELP, parse({"--kinds", "-h"}).getOutcome());
}

TEST(SimOptionsTest, TheKindsTableNeedsNoMap) {
    EXPECT_EQ(SimOptions::KINDS, parse({"--kinds"}).getOutcome());
    EXPECT_EQ(SimOptions::KINDS, parse({"valley.map", "--kinds"}).getOutcome());
}

TEST(SimOptionsTest, ASaveTakesThePlaceOfTheMap) {
    SimOptions options = parse({"--load", "in.save", "--save=out.save", "--passes", "9"});
    EXPECT_EQ(SimOptions::RUN, options.getOutcome());
    EXPECT_EQ("in.save", options.getLoad().value_or(""));
    EXPECT_EQ("out.save", options.getSave().value_or(""));
}

TEST(SimOptionsTest, ZeroPassesIsAValidRun) {
    SimOptions options = parse({"valley.map", "--passes", "0"});
    EXPECT_EQ(SimOptions::RUN, options.getOutcome());
    EXPECT_EQ(0, options.getPasses());
}

TEST(SimOptionsTest, WrongCommandLinesSayWhatIsWrong) {
    expectBadUsage({}, "no map file given");
    expectBadUsage({"--passes", "5"}, "no map file given");
    expectBadUsage({"a.map", "b.map"}, "more than one map file: a.map and b.map");
    expectBadUsage({"a.map", "--fast"}, "unknown option --fast");
    expectBadUsage({"a.map", "-x", "--fast"}, "unknown option -x");
    expectBadUsage({"--kinds", "--fast=1"}, "unknown option --fast=1");
    expectBadUsage({"a.map", "--kinds=all"}, "--kinds takes no value");
    expectBadUsage({"a.map", "b.map", "--fast"}, "more than one map file: a.map and b.map");
    expectBadUsage({"a.map", "--passes"}, "--passes needs a number");
    expectBadUsage({"a.map", "--every"}, "--every needs a number");
    expectBadUsage({"a.map", "--seed"}, "--seed needs a number");
    expectBadUsage({"a.map", "--save"}, "--save needs a file");
    expectBadUsage({"--load", "x.save", "--load", "y.save"}, "--load given twice");
    expectBadUsage({"a.map", "--load", "x.save"},
                   "a map file and --load: the save holds its own map, give one of them");
    expectBadUsage({"--load", "x.save", "--seed", "3"},
                   "--seed and --load: the save goes on with its own random sequence");
}

TEST(SimOptionsTest, CountsMustBeWholeNumbersInRange) {
    expectBadUsage({"a.map", "--passes", "12x"},
                   "--passes takes a whole number of at least 0, not '12x'");
    expectBadUsage({"a.map", "--passes", "-1"},
                   "--passes takes a whole number of at least 0, not '-1'");
    expectBadUsage({"a.map", "--passes", ""},
                   "--passes takes a whole number of at least 0, not ''");
    expectBadUsage({"a.map", "--passes", "99999999999999999999"},
                   "--passes takes a whole number of at least 0, not '99999999999999999999'");
    expectBadUsage({"a.map", "--every", "0"},
                   "--every takes a whole number of at least 1, not '0'");
    expectBadUsage({"a.map", "--seed", "-1"},
                   "--seed takes a whole number from 1 to 4294967295, not '-1'");
    expectBadUsage({"a.map", "--seed", "4294967296"},
                   "--seed takes a whole number from 1 to 4294967295, not '4294967296'");
    expectBadUsage({"a.map", "--seed", "00"}, "--seed 0 gives the run of seed 1: seeds run from 1 "
                                              "to 4294967295, and 1 is the default");
}

TEST(SimOptionsTest, RowsFollowEveryKthPassAndTheLast) {
    SimOptions options = parse({"a.map", "--passes", "10", "--every", "3"});
    std::vector<long> reported;
    for (long pass = 1; pass <= options.getPasses(); ++pass) {
        if (options.reportsAfter(pass)) {
            reported.push_back(pass);
        }
    }
    EXPECT_EQ((std::vector<long>{3, 6, 9, 10}), reported);
}

TEST(SimOptionsTest, TheUsageNamesTheProgramAndEveryColumn) {
    const std::string usage = SimOptions::usage("orvalle-sim");
    EXPECT_EQ(
        0u,
        usage.find("Usage: orvalle-sim MAP [--passes N] [--every K] [--seed S] [--save FILE]\n"));
    std::istringstream header(Census::header());
    for (std::string column; std::getline(header, column, ',');) {
        EXPECT_NE(std::string::npos, usage.find("\n  " + column + " ")) << column;
    }
}

TEST(SimOptionsTest, TheKindsTableHasAHeaderAndALinePerKind) {
    const std::string table = SimOptions::kindsTable();
    EXPECT_EQ(
        0u, table.find("name\tcode\tlayer\tletter\tcreature\tworking\twalkable\tfruit\tcensus\n"));
    EXPECT_EQ(ElementKind::end() - ElementKind::begin() + 1,
              std::count(table.begin(), table.end(), '\n'));
    for (const char* line :
         {"\navatar\t1\telement\t@\t1\t0\t0\t0\t2\n", "\ncyclope\t2\telement\tC\t1\t1\t0\t0\t0\n",
          "\nwater\t300\tland\tw\t0\t1\t0\t0\t-1\n", "\nadobe\t100\tland\ta\t0\t1\t1\t0\t-1\n",
          "\nspider\t5\telement\tS\t1\t1\t0\t0\t1\n", "\nground\t102\tland\tg\t0\t1\t1\t0\t-1\n",
          "\nfire\t3\telement\tF\t0\t1\t0\t0\t-1\n", "\nlawn\t104\tland\tL\t0\t1\t1\t0\t-1\n",
          "\nlittlelawn\t101\tland\tl\t0\t1\t1\t0\t-1\n", "\nrocks\t103\tland\tr\t0\t1\t1\t0\t-1\n",
          "\ntree\t4\telement\tT\t0\t1\t0\t1\t-1\n", "\nwall\t200\telement\t#\t0\t1\t0\t0\t-1\n"}) {
        EXPECT_NE(std::string::npos, table.find(line)) << line;
    }
}
