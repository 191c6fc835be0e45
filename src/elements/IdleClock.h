#ifndef ORVALLE_IDLE_CLOCK_H
#define ORVALLE_IDLE_CLOCK_H

// The step timer of the elements that have left the sweep because they do nothing but animate
// (Element::followClock): land tiles, walls, fires and trees in full fruit. Each of them would
// update on a pass whose calendar second differs from the second of its last update; they all
// last updated on the same second, so one clock, checked once per pass, stands for them all.
struct IdleClock {
    int secound = 0;              // calendar second of the last tick
    int previousSecound = 0;      // calendar second of the tick before it
    long ticks = 0;               // passes on which their step timers advanced
    bool tickedThisSweep = false; // the sweep under way began with a tick
    bool on = true;               // off: no element follows it
};

#endif
