#ifndef ORVALLE_DEATHCARD_H
#define ORVALLE_DEATHCARD_H

#include "world/SaveFile.h"

#include <optional>
#include <string>
#include <vector>

class Element;

// The card the player reads when the avatar dies: what killed it (hunger, or the blow of a
// creature, named by its kind), how long it lived, in the calendar's days, hours and minutes, how
// many blows it struck and how many bites it ate, and the best time so far when one is kept, with
// "New best!" when this life set it. It is tallied pass by pass while the avatar lives.
class DeathCard {
  public:
    // Counts a pass of the avatar's life, read after the pass; true for the pass in which it
    // died, after which nothing more is counted.
    bool note(const Element& avatar);
    long getPasses() const { return passes; }
    // The tally so far, as a save file keeps it, and a tally put back.
    using Life = AvatarLife;
    Life getLife() const { return {passes, blows, bites, over}; }
    void resume(const Life& life);
    // The record after this life was offered to it, and whether this life set it.
    void setBest(std::optional<long> bestPasses, bool setByThisLife);
    // "Starved." or "Killed by a cyclope's blow."; empty before the death, and for a death that
    // a save brought back, which keeps no cause.
    const std::string& getCause() const { return cause; }
    std::vector<std::string> lines() const;

    // "2 days 13 hours 22 min": a span of passes in the calendar's units, a second a pass.
    static std::string lifetime(long passes);

  private:
    long passes = 0;
    long blows = 0;
    long bites = 0;
    bool over = false;
    std::optional<long> best;
    bool newBest = false;
    std::string cause;
};

#endif
