#ifndef ORVALLE_SWEEP_H
#define ORVALLE_SWEEP_H

#include "elements/IdleClock.h"

class Element;
class ElementKeeper;
class Timer;
class WorldGrid;
struct Line;

// The order of a pass and who runs in it: every cell, columns outer and rows inner, the element
// layer before the land, each element's run() in its turn, and the elements that ask to be
// erased taken off the grid. Elements that only animate follow the idle clock instead of running,
// and the sweep passes their cells by; the result is the same as if every element ran.
class Sweep {
  public:
    // The sweep advances clock, which the world's books hold. Without the idle clock no element
    // ever leaves the sweep: a yardstick for the clock.
    Sweep(WorldGrid& grid, ElementKeeper& keeper, const Timer& calendar, IdleClock& clock,
          bool idleClock);

    // Whatever only animates follows the clock from the calendar second at which it is built.
    void startClock();
    // One pass of every element's turn.
    void run();

    // True while a sweep is under way and has yet to give e its turn: e stands in a later cell,
    // or is the land of the cell whose element layer is having its turn.
    bool isAheadOfSweep(const Element& e) const;
    // True while the sweep is giving e its turn.
    bool isTakingTurn(const Element& e) const { return position.running && position.element == &e; }

  private:
    // The clock ticks before any element runs, as each of its elements would update in its
    // turn.
    void advanceClock();
    void runCell(Line& line, int column, int row, int layer);
    // An element of a caller's class moved the calendar in its turn: the clock's elements still
    // to come would compare the new second with their last one, so they run in their turn.
    void wakeAhead();
    void wakeIfClocked(Element* e);

    WorldGrid& grid;
    ElementKeeper& keeper;
    const Timer& calendar;
    IdleClock& clock;
    // The calendar second that the clock's elements ahead of the sweep will see in their turn.
    int sweepSecound = 0;
    // The cell and layer whose turn the sweep is giving, while a sweep is under way.
    struct Position {
        bool running = false;
        int column = 0;
        int row = 0;
        int layer = 0;
        const Element* element = nullptr; // whose turn it is
    } position;
};

#endif
