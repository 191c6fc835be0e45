#ifndef ORVALLE_WORLD_H
#define ORVALLE_WORLD_H

#include "Images.h"
#include "LibraryPtr.h"

#include <allegro.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Element;
class ElementArena;
struct ElementKind;
class Timer;
class Vision;

// One column of one layer: an element pointer per row, null for an empty cell. Columns, not
// rows, because the sweep goes down each column in turn and so reads every Line front to back.
// Beside the cells, a bit per row marks the cells that the sweep must visit: every cell whose
// element runs, and perhaps a few more. A cell that is empty or whose element follows the
// IdleClock may go unmarked, and the sweep then passes it by without reading it.
struct Line {
    std::vector<Element*> cells;
    std::vector<std::uint64_t> awake;

    explicit Line(int rows)
        : cells(static_cast<std::size_t>(rows), nullptr),
          awake((static_cast<std::size_t>(rows) + 63) / 64, 0) {}
    bool isAwake(int row) const { return (awake[row / 64] >> (row % 64) & 1) != 0; }
    void wake(int row) { awake[row / 64] |= std::uint64_t{1} << (row % 64); }
    void sleep(int row) { awake[row / 64] &= ~(std::uint64_t{1} << (row % 64)); }
};

// One layer of the grid: a Line per column.
struct Type {
    std::vector<Line> columns;
};

// The step timer of the elements that have left the sweep because they do nothing but animate
// (Element::followClock): land tiles, walls, fires and trees in full fruit. Each of them would
// update on a pass whose calendar second differs from the second of its last update; they all
// last updated on the same second, so one clock, checked once per pass, stands for them all.
struct IdleClock {
    int secound = 0; // calendar second of the last tick
    long ticks = 0;  // passes on which their step timers advanced
    bool on = true;  // off: no element follows it
};

// The whole simulation: a grid with a land layer (0) and an element layer (1), the view that
// follows the avatar, the selection, the calendar, the image cache, the music and the frame.
//
// The implementation is spread over files named for its concerns: World.cpp (construction,
// media, view origin, calendar, music), WorldPass.cpp (the pass), WorldGrid.cpp (cells,
// neighbours, movement), WorldVision.cpp (the cone a creature sees), WorldBuild.cpp (map codes
// to elements) and WorldDraw.cpp (the frame).
class World {
  public:
    static constexpr int landLayer = 0;
    static constexpr int elementLayer = 1;
    // A cell is cellSize pixels square; the screen shows screenColumns x screenRows cells.
    static constexpr int cellSize = 50;
    static constexpr int screenColumns = 16;
    static constexpr int screenRows = 12;
    static constexpr int frameWidth = screenColumns * cellSize;
    static constexpr int frameHeight = screenRows * cellSize;
    // Land with a type code above this blocks movement (water, 300).
    static constexpr int highestWalkableLand = 199;

    // Reads the map fileName and finds the images and music in the working directory.
    explicit World(std::string fileName);
    // The same with the images/ folder and the music looked up in mediaFolder ("" is the working
    // directory). Without a media folder no file but the map is read: every frame is the
    // placeholder and there is no music, as headless runs want.
    World(std::string fileName, const std::optional<std::string>& mediaFolder);
    // The same; without the idle clock no element ever leaves the sweep, and every element is run
    // on every pass. The result is the same, only slower: a yardstick for the clock.
    World(std::string fileName, const std::optional<std::string>& mediaFolder, bool idleClock);
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    virtual void draw();
    // Passes until Escape is down at the start of one, resting 30 ms after each; or, once the
    // avatar is dead, until Escape or R is. Presses between passes count as held at the start.
    virtual void run();
    // True when run() ended on R after the avatar's death: the player wants the map afresh.
    bool isRestartAsked() const { return restartAsked; }
    // One pass without the Escape test and the rest: every element acts, the view follows the
    // avatar, the calendar advances, the mouse selects and the frame is drawn.
    void pass();
    // The rules of one pass without input and drawing: every element acts, the view follows the
    // avatar and the calendar advances. Headless runs use it.
    void simulate();

    // Builds the grid from a map file. A world holds one map: a second call is refused with a
    // message on the standard error stream and changes nothing.
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
    int getScreenWidth() const { return screenColumns; }
    int getScreenHeight() const { return screenRows; }
    void setX(int v);
    void setY(int v);
    Timer* getTimer() const { return calendar.get(); }
    void incTimer();
    void setMusic(bool on);

    Images* getImages() const { return images.get(); }
    // The frames of a kind of the kinds table, looked up in the cache once per kind.
    const Images::KindFrames& getKindFrames(const ElementKind& kind) const;
    Element* getAvatar() const { return avatar; }
    Element* getSelected() const { return selected; }
    // Elements taken off the grid by the sweep, in the order they left it.
    const std::vector<Element*>& getRemoved() const { return removed; }
    BITMAP* getFrame() const { return image.get(); }

    const IdleClock& getIdleClock() const { return idleClock; }
    // An element left the clock: the sweep runs it again, found in its cell by its coordinates.
    void wake(const Element* e);

    // Column and row steps of a direction; false for a value that names no neighbour.
    static bool stepOf(int direction, int& dx, int& dy);

  private:
    void loadMedia(const std::optional<std::string>& mediaFolder);
    void runGrid();
    void runCell(Line& line, int row);
    void advanceIdleClock();
    void centreView();
    void selectWithMouse();
    bool isAvatarDead() const;
    void drawDeathNotice();
    void clearUncoveredCells();
    bool coversCell(BITMAP* tile) const;
    void drawLand();
    void drawElements();
    void viewShift(int& sx, int& sy) const;
    void createElements(const std::vector<int>& codes);
    void createLandLayer(const std::vector<int>& codes);
    void place(int layer, int column, int row, Element* e);
    Element* createElement(const ElementKind& kind, int column, int row);
    Element* createLand(const ElementKind& kind, int column, int row, int maxTime);
    // An element of the kind, built in the arena and standing at the cell.
    Element* buildAt(const ElementKind& kind, int column, int row);
    static int clampOrigin(int v, int size, int screenSize);

    // The frame (frameWidth x frameHeight) and the world buffer, which holds one more cell on
    // every side of the view so that the view can trail a walking avatar by half a cell.
    BitmapPtr image;
    BitmapPtr buffer;
    MidiPtr music;
    // Empty until the map is loaded; then the land layer and the element layer.
    std::vector<Type> layers;
    // The view origin: the grid cell shown at the top left of the screen.
    int x;
    int y;
    // The first avatar of the map, followed by the view; null on a map without one.
    Element* avatar;
    // The element last clicked; never cleared, only replaced.
    Element* selected;
    // Set when run() ends on R after the avatar's death.
    bool restartAsked;
    int height;
    int width;
    std::unique_ptr<Timer> calendar;
    std::unique_ptr<Images> images;
    // Each kind's frames, in the order of the kinds table.
    std::vector<const Images::KindFrames*> kindFrames;
    // Holds every element of the world, the element layer in sweep order and then the land, and
    // ends them with the world.
    std::unique_ptr<ElementArena> arena;
    // Elements taken off the grid: others may still refer to them, so they live until the end.
    std::vector<Element*> removed;
    IdleClock idleClock;
};

#endif
