#ifndef ORVALLE_WORLD_H
#define ORVALLE_WORLD_H

#include "core/InputSnapshot.h"
#include "images/Images.h"
#include "images/LibraryPtr.h"

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
    int secound = 0;              // calendar second of the last tick
    int previousSecound = 0;      // calendar second of the tick before it
    long ticks = 0;               // passes on which their step timers advanced
    bool tickedThisSweep = false; // the sweep under way began with a tick
    bool on = true;               // off: no element follows it
};

// The whole simulation: a grid with a land layer (0) and an element layer (1), the view that
// follows the avatar, the selection, the calendar, the image cache, the music and the frame.
//
// The implementation is spread over files named for its concerns: World.cpp (construction,
// media, view origin, calendar, music), WorldPass.cpp (the pass), WorldGrid.cpp (cells,
// neighbours, movement), WorldVision.cpp (the cone a creature sees), WorldBuild.cpp (map codes
// to elements), WorldDraw.cpp (the frame) and WorldPanel.cpp (the status panel).
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
    // Turns until Escape is down or the window's close button was clicked at the start of one,
    // resting 30 ms after each; or, once the avatar is dead, until R is down too. Each turn takes
    // its controls from the InputLatch: presses between passes count as held at the start.
    virtual void run();
    // True when run() ended on R after the avatar's death: the player wants the map afresh.
    bool isRestartAsked() const { return restartAsked; }
    // One turn of run() between its tests and its rest: P pauses or resumes and H shows or hides
    // the status panel; then a pass, or while paused only the frame.
    void turn(const InputSnapshot& controls);
    // One pass with the controls that the InputLatch holds now (headless: what `key` and
    // `mouse_b` say).
    void pass();
    // One pass with the given controls: every element acts, the view follows the avatar, the
    // calendar advances, M and N switch the music when no living avatar takes them, the mouse
    // selects and the frame is drawn.
    void pass(const InputSnapshot& controls);
    // The rules of one pass without drawing, on the controls last handed in (none unless
    // given: the avatar stands still): every element acts, the view follows the avatar and the
    // calendar advances. Headless runs use it.
    void simulate();
    // The controls the rules read until the next pass hands in others.
    void setInput(const InputSnapshot& controls) { input = controls; }
    const InputSnapshot& getInput() const { return input; }
    bool isPaused() const { return paused; }
    bool isPanelShown() const { return panelShown; }

    // Builds the grid from a map file. A world holds one map: a second call is refused with a
    // message on the standard error stream and changes nothing.
    void loadWorld(std::string fileName);

    Element* get(int layer, int x, int y) const;
    // Puts e into a cell. From then on the world owns e while it stands in its grid: it deletes
    // every element still standing there when it ends, once, and never one taken off the grid.
    void set(int layer, int x, int y, Element* e);
    Element* get(Element* e, int layer, int direction) const;
    Element* getFront(Element* e, int layer) const;
    bool move(Element* e, int direction);
    std::unique_ptr<Vision> getVision(Element* e, int range) const;
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
    // Where the music switch stands: on from the start, and after M; off after N. It says what
    // the player asked for, whether or not a tune and a sound device make it heard.
    bool isMusicOn() const { return musicOn; }
    // The cyclopes or spiders (by type code) that are alive, wherever they are.
    int countLiving(int type) const;

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
    // True while a sweep is under way and has yet to give e its turn: e stands in a later cell,
    // or is the land of the cell whose element layer is having its turn.
    bool isAheadOfSweep(const Element& e) const;

    // Column and row steps of a direction; false for a value that names no neighbour.
    static bool stepOf(int direction, int& dx, int& dy);

  private:
    void loadMedia(const std::optional<std::string>& mediaFolder);
    // Stores e in a cell inside the grid and marks the cell for the sweep.
    void put(int layer, int column, int row, Element* e);
    bool isInside(int layer, int column, int row) const;
    void deleteOthersElements();
    void runGrid();
    void runCell(Line& line, int column, int row, int layer);
    void advanceIdleClock();
    void centreView();
    void selectWithMouse();
    void switchMusicWithoutAvatar();
    void switchPause();
    bool isAvatarDead() const;
    void drawNotice(const char* text);
    void drawPanel();
    void drawHealth(int helth);
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
    // The controls of the current pass.
    InputSnapshot input;
    bool paused = false;
    bool panelShown = false;
    bool musicOn = false;
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
    // Every creature but the avatar, for the status panel's counts: a list as long as the map
    // has creatures, not a walk over a grid of millions of cells each frame.
    std::vector<Element*> wildCreatures;
    IdleClock idleClock;
    // The cell and layer whose turn the sweep is giving, while a sweep is under way.
    struct SweepPosition {
        bool running = false;
        int column = 0;
        int row = 0;
        int layer = 0;
    } sweep;
    // Set when a caller put into the grid an element that the arena did not build: the world
    // then looks for such elements still standing in its grid when it ends, and deletes them.
    bool holdsOthersElements = false;
};

#endif
