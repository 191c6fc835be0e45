#ifndef ORVALLE_VISION_H
#define ORVALLE_VISION_H

#include <memory>
#include <vector>

class Element;

// Where a viewer looked from: the cell, the facing and the depth of the cone.
struct Viewpoint {
    int x = 0;
    int y = 0;
    int facing = 0;
    int range = 0;
};

// What a creature saw in the cone ahead of it: the element-layer and the land-layer elements in
// scan order, each list with its own read cursor. The elements are not owned.
class Vision {
  public:
    Vision();
    virtual ~Vision() = default;

    // Null elements and layers other than 0 and 1 are left out.
    void add(Element* element, int layer) {
        if (element != nullptr && (layer == 0 || layer == 1)) {
            (layer == 1 ? elements : lands).push_back(element);
        }
    }
    Element* getNext(int layer);
    void reset(int layer);
    // Forgets all that was seen and rewinds both cursors, keeping the room of the lists.
    void clear();

  private:
    std::vector<Element*>* listOf(int layer);
    unsigned* cursorOf(int layer);

    unsigned elementCursor;
    unsigned landCursor;
    std::vector<Element*> elements;
    std::vector<Element*> lands;
};

// What a creature saw in its last look, and from where. A creature looks on every pass but reads
// what it saw far less often, so in its own turn it may only note where it looked from (pending):
// its world then fills the vision when it is read, or before any cell of the cone is written,
// whichever comes first, so that the vision always holds the cells as they were at the look.
struct Sight {
    std::unique_ptr<Vision> vision;
    Viewpoint from;
    bool pending = false;
};

#endif
