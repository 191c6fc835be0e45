#ifndef ORVALLE_WORLD_H
#define ORVALLE_WORLD_H

#include "core/InputSnapshot.h"
#include "elements/Habitat.h"
#include "elements/SweepBooks.h"
#include "images/Images.h"
#include "images/LibraryPtr.h"
#include "world/ElementKeeper.h"
#include "world/Stage.h"
#include "world/Sweep.h"
#include "world/WorldGrid.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Element;
class Timer;

// The whole simulation: a grid with a land layer (0) and an element layer (1), the view that
// follows the avatar, the selection, the calendar, the image cache and the music. It puts
// together parts that each own one thing: the grid (cells, neighbours, movement, the cone a
// creature sees) and the sweep (who runs when, and the idle clock). Its loop and its picture are
// a stage's (Stage), which the game provides.
class World : public SweepBooks, public Habitat {
  public:
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
    ~World() override;
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The frame on the screen, as the stage draws it; nothing without a stage.
    virtual void draw();
    // The stage's loop: passes with the player's controls until Escape or the close button (or R
    // after the avatar's death). Without a stage, passes of the rules alone, until Escape.
    virtual void run();
    // One pass, in its order: the controls of the pass are handed in, every element acts, the
    // view follows the avatar, the calendar advances, M and N switch the music when no living
    // avatar takes them, and the mouse selects. Nothing is drawn.
    void pass(const InputSnapshot& passInput);
    // The controls that the rules read, those of the last pass.
    const InputSnapshot& getInput() const override { return input; }
    // The folder that the images and music came from, as built.
    const std::optional<std::string>& getMediaFolder() const { return media; }
    // The stage that run() and draw() hand over to: the one set, or else one of the maker
    // provided (Stage::provide), made when first asked for; null when there is neither.
    Stage* getStage();
    void setStage(std::unique_ptr<Stage> played) { stage = std::move(played); }

    // Builds the grid from a map file. A world holds one map: a second call is refused with a
    // message on the standard error stream and changes nothing.
    void loadWorld(std::string fileName);

    Element* get(int layer, int column, int row) const;
    // Puts e (null allowed) into a cell; its own coordinates stay as they are. The world owns e
    // from then on and ends it with itself, once, however many cells it stands in. The element
    // that was there, when this leaves it in no cell, is the caller's again: the world neither
    // ends it nor touches it, and it keeps what it saw and the frame it had. An element put by a
    // caller never follows the idle clock.
    void set(int layer, int column, int row, Element* e);
    Element* get(Element* e, int layer, int direction) const {
        return grid.get(e, layer, direction);
    }
    Element* getFront(Element* e, int layer) const override { return grid.getFront(e, layer); }
    bool move(Element* e, int direction) override { return keeper.move(e, direction); }
    // A new vision of what e sees ahead within range, which the caller owns; null for no e.
    Vision* getVision(Element* e, int range) const;
    // Adds to vision what is seen from a viewpoint, as getVision does for a new one.
    void see(const Viewpoint& from, Vision& vision) const { grid.see(from, vision); }
    // In its own turn, a viewer standing where it looks from may have its vision filled later.
    void look(const Element& viewer, Sight& sight) override;
    void settle(Sight& sight) override { grid.fill(sight); }

    int getWidth() const { return grid.getWidth(); }
    int getHeight() const { return grid.getHeight(); }
    int getX() const { return x; }
    int getY() const { return y; }
    int getScreenWidth() const { return screenColumns; }
    int getScreenHeight() const { return screenRows; }
    void setX(int v);
    void setY(int v);
    Timer* getTimer() const override { return calendar.get(); }
    void incTimer();
    void setMusic(bool on) override;
    // Where the music switch stands: on from the start, and after M; off after N. It says what
    // the player asked for, whether or not a tune and a sound device make it heard.
    bool isMusicOn() const { return musicOn; }
    // The cyclopes or spiders (by type code) that are alive, wherever they are.
    int countLiving(int type) const;

    Images* getImages() const override { return images.get(); }
    const Images::KindFrames& getKindFrames(const ElementKind& kind) const override;
    Element* getAvatar() const { return avatar; }
    Element* getSelected() const { return selected; }
    // The passes run since the world was built from its map, counting those before a save.
    long getPasses() const { return passes; }
    // Every creature but the avatar, living or dead, wherever it is.
    const std::vector<Element*>& getWildCreatures() const { return wildCreatures; }
    // True once the avatar has died; its body may have left the grid.
    bool isAvatarDead() const;
    // The elements the sweep took off the grid, in the order they left it.
    const std::vector<Element*>& getRemoved() const { return keeper.getRemoved(); }

    void wake(const Element* e) override { grid.wake(e); }
    bool isAheadOfSweep(const Element& e) const override { return sweep.isAheadOfSweep(e); }
    void forget(const Element& e) override;

    static bool stepOf(int direction, int& dx, int& dy) {
        return WorldGrid::stepOf(direction, dx, dy);
    }

  private:
    // Writes and resumes the whole state (SaveFile).
    friend class WorldCodec;
    // Reads the land without making elements of the land kept as values.
    friend class Scene;
    // A world with its media and calendar but no map yet, for WorldCodec to fill.
    struct Unshaped {};
    World(Unshaped, const std::optional<std::string>& mediaFolder, bool idleClock);

    void loadMedia(const std::optional<std::string>& folder);
    void centreView();
    void switchMusicWithoutAvatar();
    void selectWithMouse();
    // Keeps a creature that a caller put into the grid in the status panel's counts.
    void noteCreature(Element* e);
    static int clampOrigin(int v, int size, int screenSize);

    WorldGrid grid;
    // Ends the elements of the grid before the grid goes.
    ElementKeeper keeper;
    std::unique_ptr<Timer> calendar;
    Sweep sweep;
    std::unique_ptr<Stage> stage;
    MidiPtr music;
    std::unique_ptr<Images> images;
    std::optional<std::string> media;
    // Each kind's frames, in the order of the kinds table, as the cache gave them at its
    // revision kindFramesRevision; looked up again when the cache has changed since.
    mutable std::vector<const Images::KindFrames*> kindFrames;
    mutable unsigned kindFramesRevision = 0;
    // The view origin: the grid cell shown at the top left of the screen.
    int x = 0;
    int y = 0;
    // The first avatar of the map, followed by the view; null on a map without one.
    Element* avatar = nullptr;
    // The element last clicked; never cleared, only replaced.
    Element* selected = nullptr;
    // The controls of the current pass.
    InputSnapshot input;
    bool musicOn = false;
    // Every creature but the avatar, for the status panel's counts: a list as long as the map
    // has creatures, not a walk over a grid of millions of cells each frame.
    std::vector<Element*> wildCreatures;
    long passes = 0;
};

#endif
