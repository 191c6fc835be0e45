#ifndef ORVALLE_WORLD_H
#define ORVALLE_WORLD_H

#include <allegro.h>

#include <memory>
#include <string>
#include <vector>

class Element;
class ElementArena;
class Images;
class Timer;
class Vision;

// One column of one layer: an element pointer per row, null for an empty cell. Columns, not
// rows, because the sweep goes down each column in turn and so reads every Line front to back.
struct Line {
    std::vector<Element*> cells;
};

// One layer of the grid: a Line per column.
struct Type {
    std::vector<Line*> columns;
};

// The whole simulation: a grid with a land layer (0) and an element layer (1), the view that
// follows the avatar, the selection, the calendar, the image cache, the music and the frame.
class World {
  public:
    explicit World(std::string fileName);
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    virtual void draw();
    // Passes until Escape is down at the start of one, resting 30 ms after each.
    virtual void run();
    // One pass without the Escape test and the rest: every element acts, the view follows the
    // avatar, the calendar advances, the mouse selects and the frame is drawn.
    void pass();
    // The rules of one pass without input and drawing: every element acts, the view follows the
    // avatar and the calendar advances. Headless runs use it.
    void simulate();

    void loadWorld(std::string fileName);

    Element* get(int layer, int x, int y) const;
    void set(int layer, int x, int y, Element* e);
    Element* get(Element* e, int layer, int direction) const;
    Element* getFront(Element* e, int layer) const;
    bool move(Element* e, int direction);
    Vision* getVision(Element* e, int range) const;
    // Adds to vision what e sees ahead within range, as getVision does for a new one.
    void see(Element* e, int range, Vision& vision) const;

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getScreenWidth() const { return 16; }
    int getScreenHeight() const { return 12; }
    void setX(int v);
    void setY(int v);
    Timer* getTimer() const { return calendar; }
    void incTimer();
    void setMusic(bool on);

    Images* getImages() const { return images; }
    Element* getAvatar() const { return avatar; }
    Element* getSelected() const { return selected; }
    // Elements taken off the grid by the sweep, in the order they left it.
    const std::vector<Element*>& getRemoved() const { return removed; }
    BITMAP* getFrame() const { return image; }

    // Column and row steps of a direction; false for a value that names no neighbour.
    static bool stepOf(int direction, int& dx, int& dy);

  private:
    void runGrid();
    void runCell(Element*& cell);
    void centreView();
    void selectWithMouse();
    void clearUncoveredCells();
    bool coversCell(BITMAP* tile) const;
    void drawLand();
    void drawElements();
    void viewShift(int& sx, int& sy) const;
    void createInSweepOrder(const std::vector<int>& elementCodes, const std::vector<int>& landCodes,
                            const std::vector<int>& landTimes);
    Element* createElement(int code, int x, int y);
    Element* createLand(int code);
    // Ends an element built in the arena, whose memory the arena releases with itself.
    static void destroy(Element* element);
    static int clampOrigin(int v, int size, int screenSize);

    BITMAP* image;
    BITMAP* buffer;
    MIDI* music;
    std::vector<Type*> layers;
    int x;
    int y;
    Element* avatar;
    Element* selected;
    int height;
    int width;
    Timer* calendar;
    Images* images;
    // Holds the elements created from the map, in sweep order.
    std::unique_ptr<ElementArena> arena;
    // Elements taken off the grid: others may still refer to them, so they live until the end.
    std::vector<Element*> removed;
};

#endif
