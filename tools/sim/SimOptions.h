#ifndef ORVALLE_SIM_OPTIONS_H
#define ORVALLE_SIM_OPTIONS_H

#include <climits>
#include <optional>
#include <string>
#include <vector>

// The command line of the headless runner: MAP [--passes N] [--every K] [--seed S], or --help.
class SimOptions {
  public:
    enum Outcome { RUN, HELP, BAD_USAGE };

    static constexpr long defaultPasses = 1000;
    static constexpr long defaultEvery = 100;

    // Reads the arguments that follow the program name; --help or -h anywhere asks for help.
    static SimOptions parse(const std::vector<std::string>& args);
    static std::string usage(const std::string& program);

    Outcome getOutcome() const { return outcome; }
    // What is wrong with the command line when the outcome is BAD_USAGE.
    const std::string& getError() const { return error; }
    const std::string& getMap() const { return map; }
    long getPasses() const { return passes; }
    long getEvery() const { return every; }
    // The seed of the random sequence, when one was given.
    std::optional<unsigned> getSeed() const { return seed; }
    // True when a census row is due after the given pass: every K passes and after the last.
    bool reportsAfter(long pass) const { return pass % every == 0 || pass == passes; }

  private:
    SimOptions() = default;
    void take(const std::vector<std::string>& args, std::size_t& i);
    // Sets value to the number text gives when it is whole and in range; false, with the
    // failure recorded, otherwise.
    bool takeCount(const std::string& name, const std::string& text, long minimum, long& value,
                   long maximum = LONG_MAX);
    void fail(const std::string& message);

    Outcome outcome = RUN;
    std::string error;
    std::string map;
    long passes = defaultPasses;
    long every = defaultEvery;
    std::optional<unsigned> seed;
};

#endif
