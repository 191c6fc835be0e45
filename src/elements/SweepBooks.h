#ifndef ORVALLE_SWEEP_BOOKS_H
#define ORVALLE_SWEEP_BOOKS_H

#include "elements/IdleClock.h"

class Element;
struct Sight;

// The books that the sweep keeps on the elements, which an element's own bookkeeping reads and
// writes: the idle clock that a settled element follows instead of running, and the looks whose
// vision is filled only when it is read. An element's behaviour never calls it; the World
// implements it beside Habitat.
class SweepBooks {
  public:
    SweepBooks() = default;
    SweepBooks(const SweepBooks&) = delete;
    SweepBooks& operator=(const SweepBooks&) = delete;

    // A new look of the viewer from its cell, facing and range, into its sight. In the viewer's
    // own turn the vision may be filled later (Sight), never from other cells than those seen.
    virtual void look(const Element& viewer, Sight& sight) = 0;
    // Fills a look whose vision was put off (Sight::pending), from the cells it saw.
    virtual void settle(Sight& sight) = 0;

    // Read for every clocked element shown, so a plain call. The books hold the clock and the
    // sweep advances it (clockKept).
    const IdleClock& getIdleClock() const { return clock; }
    // An element left the clock: the sweep runs it again, found in its cell by its coordinates.
    virtual void wake(const Element* e) = 0;
    // True while a sweep is under way and has yet to give e its turn: e stands in a later cell,
    // or is the land of the cell whose element layer is having its turn.
    virtual bool isAheadOfSweep(const Element& e) const = 0;
    // An element that a caller took out of the grid ends: the world lets go of what refers to it.
    virtual void forget(const Element& e) = 0;

  protected:
    virtual ~SweepBooks() = default;
    IdleClock& clockKept() { return clock; }

  private:
    IdleClock clock;
};

#endif
