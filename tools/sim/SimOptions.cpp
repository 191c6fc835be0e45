#include "SimOptions.h"

#include "Census.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>

namespace {
// getopt_long's codes for what has no letter of its own: an operand, and the long options.
enum Code { OPERAND = 1, PASSES = 256, EVERY, SEED, KINDS_TABLE, LOAD, SAVE };

const option longOptions[] = {
    {"passes", required_argument, nullptr, PASSES},
    {"every", required_argument, nullptr, EVERY},
    {"seed", required_argument, nullptr, SEED},
    {"kinds", no_argument, nullptr, KINDS_TABLE},
    {"load", required_argument, nullptr, LOAD},
    {"save", required_argument, nullptr, SAVE},
    {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

// '-' hands over each operand in its place among the options, so that the first mistake on the
// line is the one told; ':' tells a missing value apart from an unknown option.
const char* const shortOptions = "-:h";

std::string longName(int code) {
    for (const option& known : longOptions) {
        if (known.name != nullptr && known.val == code) {
            return std::string("--") + known.name;
        }
    }
    return {};
}

// What is wrong with a word that getopt_long refused: optopt holds the code of a known option
// given a value it does not take, the letter of an unknown short option, or 0 for an unknown
// long option.
std::string refusal(const char* word) {
    if (optopt == 0) {
        return std::string("unknown option ") + word;
    }
    const std::string name = longName(optopt);
    return name.empty() ? std::string("unknown option -") + static_cast<char>(optopt)
                        : name + " takes no value";
}

// Sets number to what text says when it is a whole number that a long holds.
bool wholeNumber(const std::string& text, long& number) {
    char* end = nullptr;
    errno = 0;
    number = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && errno == 0;
}

// The argv of a C main function over words, which must outlive it.
std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return argv;
}
} // namespace

SimOptions SimOptions::parse(const std::vector<std::string>& args) {
    std::vector<std::string> words{"orvalle-sim"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = pointersTo(words);
    const int argc = static_cast<int>(words.size());
    SimOptions options;
    optind = 0; // glibc starts afresh: each parse reads its own command line from the start
    opterr = 0; // the messages are ours
    int code = 0;
    while ((code = getopt_long(argc, argv.data(), shortOptions, longOptions, nullptr)) != -1) {
        options.take(code, argv[optind - 1]);
    }
    // What follows "--" is operands only.
    for (int i = optind; i < argc; ++i) {
        options.takeMap(argv[i]);
    }
    options.settle();
    return options;
}

void SimOptions::take(int code, const char* word) {
    switch (code) {
    case 'h': wantsHelp = true; break;
    case KINDS_TABLE: wantsKinds = true; break;
    case OPERAND: takeMap(optarg); break;
    case PASSES: takeCount("--passes", optarg, 0, passes); break;
    case EVERY: takeCount("--every", optarg, 1, every); break;
    case SEED: takeSeed(optarg); break;
    case LOAD: takeFile("--load", optarg, load); break;
    case SAVE: takeFile("--save", optarg, save); break;
    case ':':
        fail(longName(optopt) +
             (optopt == LOAD || optopt == SAVE ? " needs a file" : " needs a number"));
        break;
    default: fail(refusal(word)); break;
    }
}

void SimOptions::takeMap(const std::string& name) {
    if (map.empty()) {
        map = name;
    } else {
        fail("more than one map file: " + map + " and " + name);
    }
}

// glibc's srand(0) starts the sequence of srand(1), so 0 would pass for a seed of its own.
void SimOptions::takeSeed(const std::string& text) {
    long value = 0;
    if (wholeNumber(text, value) && value == 0) {
        fail("--seed 0 gives the run of seed 1: seeds run from 1 to " + std::to_string(UINT_MAX) +
             ", and 1 is the default");
    } else if (takeCount("--seed", text, 1, value, UINT_MAX)) {
        seed = static_cast<unsigned>(value);
    }
}

void SimOptions::takeFile(const std::string& name, const char* value,
                          std::optional<std::string>& file) {
    if (file) {
        fail(name + " given twice");
    } else if (*value == '\0') {
        fail(name + " needs a file");
    } else {
        file = value;
    }
}

// Help wins over everything else on the line, and the kinds table needs no map. A save holds its
// own map and random sequence.
void SimOptions::settle() {
    if (wantsHelp) {
        outcome = HELP;
    } else if (outcome == BAD_USAGE) {
        return;
    } else if (wantsKinds) {
        outcome = KINDS;
    } else if (load && !map.empty()) {
        fail("a map file and --load: the save holds its own map, give one of them");
    } else if (load && seed) {
        fail("--seed and --load: the save goes on with its own random sequence");
    } else if (!load && map.empty()) {
        fail("no map file given");
    }
}

bool SimOptions::takeCount(const std::string& name, const std::string& text, long minimum,
                           long& value, long maximum) {
    long number = 0;
    if (!wholeNumber(text, number) || number < minimum || number > maximum) {
        const std::string range = maximum == LONG_MAX ? "of at least " + std::to_string(minimum)
                                                      : "from " + std::to_string(minimum) + " to " +
                                                            std::to_string(maximum);
        fail(name + " takes a whole number " + range + ", not '" + text + "'");
        return false;
    }
    value = number;
    return true;
}

void SimOptions::fail(const std::string& message) {
    if (outcome != BAD_USAGE) {
        outcome = BAD_USAGE;
        error = message;
    }
}

namespace {
const char* const introduction = R"(
Runs the rules of Orvalle on the map file MAP with no window, no sound and no pause between
passes; nobody holds a key, so the avatar stands still. Images and music are not loaded.
Prints CSV on standard output: a header line, then a row after every K passes and one after
the last of the N passes. Long runs show their progress on standard error.

--save FILE writes the whole world into FILE after the last pass, whole or not at all;
--load FILE starts from such a file (the game's F5 writes one too) instead of a map, and the
run goes on exactly as if it had never stopped: the pass column counts on from the save.

Columns:
)";

const char* const conclusion = R"(
The random sequence (the pace of each land tile's animation, where cyclopes wander) is the same
on every run; --seed S starts another one, the same for the same S. Seeds run from 1 to
4294967295; without --seed a run is the run of seed 1, the default. Seed 0 is refused: the C
library starts the same sequence for it as for seed 1.

--kinds prints the kinds of elements instead, one line each, tab-separated after a header
line: name, map code, layer (land or element), letter in map pictures, whether it is a
creature, works (animates standing), can be walked on and bears fruit (1 or 0), and its
census column (-1 for none). The map tools read it from tools/map/kinds.tsv, which
tools/update-kinds.sh writes.

Exit status: 0 after the run, 1 when the map cannot be read or is not a valid map (with the
loader's message), the save cannot be read or is refused (saying why), the census or the
save cannot be written, 2 for a wrong command line.
)";

// A line of the list of columns: the name, then what it counts from the 24th character on.
std::string columnLine(const std::string& name, const std::string& meaning) {
    const std::size_t width = 21;
    return "  " + name + std::string(name.size() < width ? width - name.size() : 1, ' ') + meaning +
           "\n";
}

// The columns of the census, those of each counted kind as the kinds table orders them.
std::string columns() {
    std::string text = columnLine("pass", "passes run so far");
    for (const ElementKind* kind : Census::countedKinds()) {
        const std::string plural = kind->plural();
        text += columnLine(plural + "_alive", "living " + plural + " on the grid");
        text += columnLine(plural + "_dead",
                           plural + " that died: their remains, on the grid or rotted away");
    }
    text += columnLine("carcasses_with_meat", "dead creatures on the grid that still have food");
    text += columnLine("trees_with_food", "trees with food left");
    text += columnLine("tree_food", "the food of all trees together (a full tree holds 100)");
    return text;
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

std::string kindLine(const ElementKind& kind) {
    const std::string fields[] = {kind.name,
                                  std::to_string(kind.type),
                                  kind.layer == World::landLayer ? "land" : "element",
                                  std::string(1, kind.letter),
                                  flag(kind.creature),
                                  flag(kind.working),
                                  flag(kind.walkable),
                                  flag(kind.bearsFruit),
                                  std::to_string(kind.censusColumn)};
    std::string line;
    for (const std::string& field : fields) {
        line += line.empty() ? "" : "\t";
        line += field;
    }
    return line + "\n";
}
} // namespace

std::string SimOptions::usage(const std::string& program) {
    return "Usage: " + program + " MAP [--passes N] [--every K] [--seed S] [--save FILE]\n       " +
           program + " --load FILE [--passes N] [--every K] [--save FILE]\n       " + program +
           " --kinds\n       " + program + " --help\n" + introduction + columns() + conclusion +
           "Defaults: --passes " + std::to_string(defaultPasses) + " --every " +
           std::to_string(defaultEvery) + "\n";
}

std::string SimOptions::kindsTable() {
    std::string table = "name\tcode\tlayer\tletter\tcreature\tworking\twalkable\tfruit\tcensus\n";
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        table += kindLine(*kind);
    }
    return table;
}
