#ifndef ORVALLE_WARNINGS_H
#define ORVALLE_WARNINGS_H

#include "game/AvatarEvents.h"

#include <chrono>
#include <string>

// The short notices that warn the player of what a pass did to the avatar: a blow that landed
// on it, and its health falling below a quarter through hunger. One notice at a time, each for a
// couple of seconds of the clock whatever the pace; a new one takes the place of the one shown.
class Warnings {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr const char* hit = "You are being hit!";
    static constexpr const char* starving = "You are starving: eat!";
    static constexpr auto shownFor = std::chrono::seconds(2);

    // After a pass, at that moment.
    void note(const AvatarEvents::Pass& pass, Clock::time_point now);
    // The notice to show at that moment; empty when none.
    std::string current(Clock::time_point now) const;

  private:
    void warn(const char* text, Clock::time_point now);

    const char* shown = nullptr;
    Clock::time_point until{};
};

#endif
