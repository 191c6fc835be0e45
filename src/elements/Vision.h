#ifndef ORVALLE_VISION_H
#define ORVALLE_VISION_H

#include "elements/ElementStorage.h"

#include <cstddef>
#include <memory>
#include <vector>

class Element;

// Where a viewer looked from: the cell, the facing and the depth of the cone.
struct Viewpoint {
    int x = 0;
    int y = 0;
    int facing = 0;
    int range = 0;
    bool operator==(const Viewpoint& other) const = default;
};

class Vision;

// Where a vision finds a land tile that it saw as a cell: a world keeps most of its land as
// values and makes a tile's element only when something asks for it. It knows the visions that
// list its cells, to make their tiles before it ends.
class LandSource {
  public:
    // Lists in vision the land of the cone seen from a viewpoint, as it is now.
    virtual void listLand(const Viewpoint& from, Vision& vision) = 0;
    // The land element that stood in the cell when the vision saw it.
    virtual Element* landSeenAt(std::size_t cell) = 0;
    virtual void track(Vision& vision) = 0;
    virtual void untrack(Vision& vision) = 0;

  protected:
    ~LandSource() = default;
};

// What a creature saw in the cone ahead of it: the element-layer and the land-layer elements in
// scan order, each list with its own read cursor. The elements are not owned. Creatures look on
// every pass and read their land list hardly ever, so a vision may take the land it saw from its
// source only when the list is read: the source lists it before any land changes. A land tile
// kept as values is listed as its cell and made when the land list is read.
//
// A vision and its element list live in the elements' storage, so that a creature's own vision,
// made with it, lies right after it in memory and comes with it.
class Vision {
  public:
    // The room of the element list that a new vision holds: the elements that a cone of a
    // dense world usually lists.
    static constexpr std::size_t firstRoom = 4;

    Vision();
    Vision(const Vision& other);
    Vision& operator=(const Vision& other);
    virtual ~Vision();
    static void* operator new(std::size_t size);
    static void operator delete(void* v, std::size_t size) noexcept;

    // Null elements and layers other than 0 and 1 are left out.
    void add(Element* element, int layer) {
        if (element != nullptr && (layer == 0 || layer == 1)) {
            if (layer == 1) {
                elements.push_back(element);
            } else {
                listLandSeen();
                lands.push_back(LandSeen{element, 0});
            }
        }
    }
    // Adds the land of the cone seen from a viewpoint, which source lists when it is read.
    void addLandLater(const Viewpoint& from, LandSource& land) {
        listLandSeen();
        if (source != &land) {
            follow(&land);
        }
        landFrom = from;
        landWaits = true;
    }
    // Lists now the land that waits to be listed: its cells are about to change.
    void listLandSeen() {
        if (landWaits) {
            landWaits = false;
            source->listLand(landFrom, *this);
        }
    }
    // Lists the land tile that source keeps as values in a cell.
    void addLandCell(std::size_t cell, LandSource& from) {
        listLandSeen();
        if (source != &from) {
            follow(&from);
        }
        lands.push_back(LandSeen{nullptr, cell});
    }
    Element* getNext(int layer);
    void reset(int layer);
    // Forgets all that was seen and rewinds both cursors, keeping the room of the lists.
    void clear();
    // Its source ends: the cells not yet made into land tiles are no longer listed.
    void sourceEnds();

  private:
    void makeLand();
    // A land element seen, or the cell of one that its source has yet to make (element null).
    struct LandSeen {
        Element* element;
        std::size_t cell;
    };
    // Lists the cells of another source from now on (or of none).
    void follow(LandSource* next);
    Element* landAt(std::size_t index);

    unsigned elementCursor;
    unsigned landCursor;
    std::vector<Element*, StorageAllocator<Element*>> elements;
    std::vector<LandSeen> lands;
    LandSource* source = nullptr;
    // Where the land waiting to be listed was seen from.
    Viewpoint landFrom;
    bool landWaits = false;
};

// What a creature saw in its last look, and from where. A creature looks on every pass but reads
// what it saw far less often, so in its own turn it may only note where it looked from (pending):
// its world then fills the vision when it is read, or before any cell of the cone is written,
// whichever comes first, so that the vision always holds the cells as they were at the look.
struct Sight {
    std::unique_ptr<Vision> vision;
    // A vision made with a creature, right after it in memory, which its first look takes.
    std::unique_ptr<Vision> beside;
    Viewpoint from;
    bool pending = false;
};

#endif
