#ifndef ORVALLE_HABITAT_H
#define ORVALLE_HABITAT_H

#include "images/Images.h"

class Element;
struct ElementKind;
struct IdleClock;
struct InputSnapshot;
struct Sight;
class Timer;
class World;

// What an element reaches of the world it lives in: the calendar, its frames, the controls of
// the pass, the music, the cells around it, its looks and the idle clock. The World implements
// it: an element and its callers know the World (Element::getWorld), while the elements' own code
// calls only this face, so that the elements do not depend on how the world is built.
class Habitat {
  public:
    // The grid's two layers, numbered as every layer argument counts them.
    enum Layer : int { landLayer = 0, elementLayer = 1 };

    // The face of a world, and the world of a face: defined beside World, the one class that
    // implements it.
    static Habitat* of(World* world);
    static World* worldOf(Habitat* habitat);

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
    // A new look of the viewer from its cell, facing and range, into its sight. In the viewer's
    // own turn the vision may be filled later (Sight), never from other cells than those seen.
    virtual void look(const Element& viewer, Sight& sight) = 0;
    // Fills a look whose vision was put off (Sight::pending), from the cells it saw.
    virtual void settle(Sight& sight) = 0;

    virtual const IdleClock& getIdleClock() const = 0;
    // An element left the clock: the sweep runs it again, found in its cell by its coordinates.
    virtual void wake(const Element* e) = 0;
    // True while a sweep is under way and has yet to give e its turn: e stands in a later cell,
    // or is the land of the cell whose element layer is having its turn.
    virtual bool isAheadOfSweep(const Element& e) const = 0;
    // An element that a caller took out of the grid ends: the world lets go of what refers to it.
    virtual void forget(const Element& e) = 0;

  protected:
    virtual ~Habitat() = default;
};

#endif
