#ifndef ORVALLE_HABITAT_H
#define ORVALLE_HABITAT_H

#include "images/Images.h"

class Element;
struct ElementKind;
struct InputSnapshot;
class SweepBooks;
class Timer;
class World;

// What an element's behaviour reaches of the world it lives in: the calendar, its frames, the
// controls of the pass, the music, the cells around it and its moves; and, for the element's own
// bookkeeping alone, the sweep's books (SweepBooks). The World implements
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

    // An element reaches the books on every frame it shows: a plain call, not a virtual one.
    explicit Habitat(SweepBooks& books) : sweepBooks(books) {}
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

    // The sweep's books on the elements, for an element's own bookkeeping (the idle clock, the
    // looks filled late); an element's behaviour never needs them.
    SweepBooks& books() { return sweepBooks; }

  protected:
    virtual ~Habitat() = default;

  private:
    SweepBooks& sweepBooks;
};

#endif
