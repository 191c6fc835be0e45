#ifndef ORVALLE_PACE_H
#define ORVALLE_PACE_H

#include <chrono>
#include <optional>
#include <string>

// How fast the world goes, which [ and ] step through: x1 (a pass per frame, about 33 passes a
// second), x2, x4, x8, then as fast as the machine goes, where a frame is drawn after as many
// passes as fit in a frame's time and the loop does not rest. Every pass is one pass of the
// rules, whatever the pace. It also measures the passes per second, over quarter seconds.
class Pace {
  public:
    using Clock = std::chrono::steady_clock;

    void faster();
    void slower();
    // True when the frame that ran `done` passes and took `spent` so far runs another.
    bool wantsAnother(int done, Clock::duration spent) const;
    // The loop rests between frames, except at the fastest pace.
    bool rests() const;
    // "x1" to "x8", or "max".
    std::string name() const;
    // The pace of that name, if there is one.
    static std::optional<Pace> named(const std::string& name);

    // A pass ran, at that moment.
    void count(Clock::time_point now);
    // The passes per second of the last quarter second measured; 0 before the first.
    int passesPerSecond() const { return rate; }

  private:
    int step = 0;
    long passesInWindow = 0;
    Clock::time_point windowStart{};
    Clock::time_point lastPass{};
    int rate = 0;
};

#endif
