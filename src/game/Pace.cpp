#include "game/Pace.h"

#include <algorithm>
#include <cmath>

namespace {
// The passes per frame of each step but the last, which is the fastest.
const int passesPerFrame[] = {1, 2, 4, 8};
const int fastest = 4;
// At the fastest pace a frame is drawn about as often as at the others.
const auto frameTime = std::chrono::milliseconds(30);
// The passes per second are measured over windows this long, short enough for the readout to
// follow a change of pace within half a second, long enough to hold several passes at x1.
const auto window = std::chrono::milliseconds(250);
} // namespace

void Pace::faster() {
    step = std::min(step + 1, fastest);
    passesInWindow = 0;
}

void Pace::slower() {
    step = std::max(step - 1, 0);
    passesInWindow = 0;
}

bool Pace::wantsAnother(int done, Clock::duration spent) const {
    return step == fastest ? spent < frameTime : done < passesPerFrame[step];
}

bool Pace::rests() const {
    return step != fastest;
}

// Appended rather than "x" + ..., which GCC 12 at -O3 warns about wrongly (-Wrestrict).
std::string Pace::name() const {
    return step == fastest ? "max" : std::string("x").append(std::to_string(passesPerFrame[step]));
}

std::optional<Pace> Pace::named(const std::string& wanted) {
    Pace pace;
    for (; pace.name() != wanted; ++pace.step) {
        if (pace.step == fastest) {
            return std::nullopt;
        }
    }
    return pace;
}

// Over a window of at least a quarter second, from one pass to a later one. A change of pace, or
// a window or more without a pass (a pause), starts the window afresh, so that the rate is that
// of the passes running now.
void Pace::count(Clock::time_point now) {
    if (passesInWindow == 0 || now - lastPass >= window) {
        windowStart = now;
        passesInWindow = 0;
    }
    ++passesInWindow;
    lastPass = now;
    const std::chrono::duration<double> spent = now - windowStart;
    if (spent >= window) {
        rate =
            static_cast<int>(std::lround(static_cast<double>(passesInWindow - 1) / spent.count()));
        windowStart = now;
        passesInWindow = 1;
    }
}
