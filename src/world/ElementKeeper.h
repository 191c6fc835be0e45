#ifndef ORVALLE_ELEMENT_KEEPER_H
#define ORVALLE_ELEMENT_KEEPER_H

#include <unordered_set>
#include <vector>

class Element;
class WorldGrid;

// Who ends each element of a world, and every write into its cells that can change it. The world
// ends, once, every element that stands in its grid (in two cells, once) and every element that
// the sweep took off (the dead and the spent, which the avatar, the selection and attackers may
// still refer to). An element that a caller's write leaves in no cell is the caller's to end, and
// the world's again once it is put back (Element::Keeper).
class ElementKeeper {
  public:
    explicit ElementKeeper(WorldGrid& cells) : grid(cells) {}
    // Ends the world's elements.
    ~ElementKeeper();
    ElementKeeper(const ElementKeeper&) = delete;
    ElementKeeper& operator=(const ElementKeeper&) = delete;

    // An element the map builds, in an empty cell; awake when the sweep is to run it.
    void build(int layer, int column, int row, Element* e, bool awake);
    // A land tile the map builds, in an empty cell: kept as values when it only animates on the
    // idle clock, which shows clockTicks, and then ended here.
    void buildLand(int column, int row, Element* e, long clockTicks);
    // A caller's write: e (null allowed) is the world's from now on; the element it replaces,
    // when left in no cell, is handed back to the caller.
    void put(int layer, int column, int row, Element* e);
    // One step of e, when it can be made: into the next cell, then out of its own (when its
    // coordinates name a cell of the grid).
    bool move(Element* e, int direction);
    // The sweep takes the element of a cell off the grid; the world keeps it.
    void takeOff(int layer, int column, int row);
    // An element that the sweep took off before, in a world resumed from a save.
    void keepRemoved(Element* e);

    // The elements the sweep took off and nobody put back, in the order they left.
    const std::vector<Element*>& getRemoved() const { return removed; }
    // A caller ended an element handed back to it: nothing here refers to it any more.
    void forget(const Element& e);

  private:
    // e comes into the grid: off the lists of what is held elsewhere.
    void takeBack(Element* e);
    void handBack(Element* e);

    WorldGrid& grid;
    std::vector<Element*> removed;
    // Elements handed back to callers: when the world ends, they forget it.
    std::unordered_set<Element*> handedBack;
};

#endif
