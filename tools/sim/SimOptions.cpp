#include "SimOptions.h"

#include <cerrno>
#include <cstdlib>

SimOptions SimOptions::parse(const std::vector<std::string>& args) {
    SimOptions options;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            options.outcome = HELP;
            return options;
        }
    }
    for (std::size_t i = 0; i < args.size() && options.outcome == RUN; ++i) {
        options.take(args, i);
    }
    if (options.outcome == RUN && options.map.empty()) {
        options.fail("no map file given");
    }
    return options;
}

// Takes args[i], and for an option with a value also args[i + 1].
void SimOptions::take(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& arg = args[i];
    if (arg == "--passes" || arg == "--every" || arg == "--seed") {
        if (i + 1 >= args.size()) {
            fail(arg + " needs a number");
        } else if (arg == "--passes") {
            takeCount(arg, args[++i], 0, passes);
        } else if (arg == "--every") {
            takeCount(arg, args[++i], 1, every);
        } else if (long value = 0; takeCount(arg, args[++i], 0, value, UINT_MAX)) {
            seed = static_cast<unsigned>(value);
        }
        return;
    }
    if (arg.size() > 1 && arg[0] == '-') {
        fail("unknown option " + arg);
    } else if (!map.empty()) {
        fail("more than one map file: " + map + " and " + arg);
    } else {
        map = arg;
    }
}

bool SimOptions::takeCount(const std::string& name, const std::string& text, long minimum,
                           long& value, long maximum) {
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    const bool whole = !text.empty() && *end == '\0' && errno == 0;
    if (!whole || number < minimum || number > maximum) {
        const std::string range = maximum == LONG_MAX ? "of at least " + std::to_string(minimum)
                                                      : "from " + std::to_string(minimum) + " to " +
                                                            std::to_string(maximum);
        fail(name + " takes a whole number " + range + ", not '" + text + "'");
        return false;
    }
    value = number;
    return true;
}

namespace {
const char* const description = R"(
Runs the rules of Orvalle on the map file MAP with no window, no sound and no pause between
passes; nobody holds a key, so the avatar stands still. Images and music are not loaded.
Prints CSV on standard output: a header line, then a row after every K passes and one after
the last of the N passes. Long runs show their progress on standard error.

Columns:
  pass                 passes run so far
  cyclopes_alive       living cyclopes on the grid
  cyclopes_dead        cyclopes that died: remains on the grid plus remains that rotted away
                       and were taken off the grid
  spiders_alive        living spiders on the grid
  spiders_dead         spiders that died, counted as for cyclopes
  avatars_alive        1 while the avatar lives, 0 otherwise (0 on a map without one)
  avatars_dead         1 once the avatar has died
  carcasses_with_meat  dead creatures on the grid that still have food
  trees_with_food      trees with food left
  tree_food            the food of all trees together (a full tree holds 100)

The random sequence (the pace of each land tile's animation, where cyclopes wander) is the same
on every run; --seed S starts another one, the same for the same S. Without --seed a run is the
run of seed 1.

Exit status: 0 after the run, 1 when the map cannot be read or is not a valid map (with the
loader's message) or the census cannot be written, 2 for a wrong command line.
)";
} // namespace

void SimOptions::fail(const std::string& message) {
    outcome = BAD_USAGE;
    error = message;
}

std::string SimOptions::usage(const std::string& program) {
    return "Usage: " + program + " MAP [--passes N] [--every K] [--seed S]\n       " + program +
           " --help\n" + description + "Defaults: --passes " + std::to_string(defaultPasses) +
           " --every " + std::to_string(defaultEvery) + "\n";
}
