#ifndef ORVALLE_HABITAT_H
#define ORVALLE_HABITAT_H

#include "elements/Vision.h"
#include "images/Images.h"

#include <cstdint>
#include <memory>

class Element;
struct ElementKind;
struct IdleClock;
struct InputSnapshot;
class Timer;

// What an element reaches of the world it lives in: the calendar, its frames, the controls of
// the pass, the music, the cells around it and the idle clock. The world implements it; the
// elements know the world by this face alone, so that they do not depend on how it is built.
class Habitat {
  public:
    static constexpr int landLayer = 0;
    static constexpr int elementLayer = 1;

    Habitat() = default;
    Habitat(const Habitat&) = delete;
    Habitat& operator=(const Habitat&) = delete;

    virtual Timer* getTimer() const = 0;
    virtual Images* getImages() const = 0;
    // The frames of a kind of the kinds table, looked up in the cache once per kind.
    virtual const Images::KindFrames& getKindFrames(const ElementKind& kind) const = 0;
    virtual const InputSnapshot& getInput() const = 0;
    virtual void setMusic(bool on) = 0;

    virtual Element* getFront(Element* e, int layer) const = 0;
    virtual bool move(Element* e, int direction) = 0;
    virtual std::unique_ptr<Vision> getVision(Element* e, int range) const = 0;
    // Adds to vision what a viewer saw from a viewpoint, as the cells were at that moment.
    virtual void see(const Viewpoint& from, Vision& vision) const = 0;
    // How many writes into cells the grid has taken: the moment of a viewpoint.
    virtual std::uint64_t getWriteCount() const = 0;
    // True while e is the element whose turn the sweep is giving.
    virtual bool isTakingTurn(const Element& e) const = 0;
    // Room for what an element sees, kept as long as the world: most elements never look, so
    // an element holds only a pointer to it and ends with nothing to free.
    virtual Sight& newSight() = 0;

    virtual const IdleClock& getIdleClock() const = 0;
    // An element left the clock: the sweep runs it again, found in its cell by its coordinates.
    virtual void wake(const Element* e) = 0;
    // True while a sweep is under way and has yet to give e its turn: e stands in a later cell,
    // or is the land of the cell whose element layer is having its turn.
    virtual bool isAheadOfSweep(const Element& e) const = 0;

  protected:
    virtual ~Habitat() = default;
};

#endif
