#ifndef ORVALLE_SIM_OPTIONS_H
#define ORVALLE_SIM_OPTIONS_H

#include <climits>
#include <optional>
#include <string>
#include <vector>

// The command line of the headless runner: MAP [--passes N] [--every K] [--seed S] [--save FILE],
// --load FILE [--passes N] [--every K] [--save FILE], --kinds or --help.
class SimOptions {
  public:
    enum Outcome { RUN, HELP, KINDS, BAD_USAGE };

    static constexpr long defaultPasses = 1000;
    static constexpr long defaultEvery = 100;

    // Reads the arguments that follow the program name; --help or -h anywhere asks for help.
    static SimOptions parse(const std::vector<std::string>& args);
    static std::string usage(const std::string& program);
    // The kinds of elements, one tab-separated line each after a header line, in table order.
    static std::string kindsTable();

    Outcome getOutcome() const { return outcome; }
    // What is wrong with the command line when the outcome is BAD_USAGE.
    const std::string& getError() const { return error; }
    const std::string& getMap() const { return map; }
    long getPasses() const { return passes; }
    long getEvery() const { return every; }
    // The seed of the random sequence, when one was given.
    std::optional<unsigned> getSeed() const { return seed; }
    // The save file to start from instead of a map, and the one to write after the last pass.
    const std::optional<std::string>& getLoad() const { return load; }
    const std::optional<std::string>& getSave() const { return save; }
    // True when a census row is due after the given pass: every K passes and after the last.
    bool reportsAfter(long pass) const { return pass % every == 0 || pass == passes; }

  private:
    SimOptions() = default;
    // Takes what getopt_long returned for one option or operand.
    void take(int code, const char* value);
    void takeMap(const std::string& name);
    void takeSeed(const std::string& text);
    void takeFile(const std::string& name, const char* value, std::optional<std::string>& file);
    // Sets value to the number text gives when it is whole and in range; false, with the
    // failure recorded, otherwise.
    bool takeCount(const std::string& name, const std::string& text, long minimum, long& value,
                   long maximum = LONG_MAX);
    // Records the first thing wrong with the command line; later ones are left unsaid.
    void fail(const std::string& message);
    // Decides the outcome once every word has been read.
    void settle();

    Outcome outcome = RUN;
    bool wantsHelp = false;
    bool wantsKinds = false;
    std::string error;
    std::string map;
    long passes = defaultPasses;
    long every = defaultEvery;
    std::optional<unsigned> seed;
    std::optional<std::string> load;
    std::optional<std::string> save;
};

#endif
