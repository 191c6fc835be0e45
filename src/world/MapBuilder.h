#ifndef ORVALLE_MAP_BUILDER_H
#define ORVALLE_MAP_BUILDER_H

#include <vector>

class Element;
class ElementKeeper;
struct ElementKind;
class LoadWorld;
class World;
class WorldGrid;

// Builds the elements of a map into a shaped grid, one element of its kind per code.
class MapBuilder {
  public:
    // Who lives in the world built: the first avatar of the map (null on a map without one) and
    // every other creature.
    struct Residents {
        Element* avatar = nullptr;
        std::vector<Element*> wildCreatures;
    };

    MapBuilder(WorldGrid& cells, ElementKeeper& holder, World& home)
        : grid(cells), keeper(holder), world(home) {}
    Residents build(LoadWorld& reader);

  private:
    // An element of the element layer, on its way from the map's row order to the sweep's order.
    struct Placement {
        int column;
        int row;
        const ElementKind* kind;
    };

    std::vector<Placement> inSweepOrder(const std::vector<int>& codes) const;
    // Calls visit(placement) for each element of the element layer's codes, in the map's order.
    template <class Visit> void forEachElementOf(const std::vector<int>& codes, Visit visit) const;
    void createElements(const std::vector<Placement>& inColumns);
    // Builds the element of a placement into its cell.
    void build(const Placement& placed);
    void createLandLayer(const std::vector<int>& codes);
    // Only what cannot follow the idle clock is marked for the sweep.
    void place(int layer, int column, int row, Element* e);
    // A new element of the kind, standing at the cell.
    Element* buildAt(const ElementKind& kind, int column, int row);

    WorldGrid& grid;
    ElementKeeper& keeper;
    World& world;
    Residents residents;
};

#endif
