#ifndef ORVALLE_FRAME_H
#define ORVALLE_FRAME_H

#include "images/LibraryPtr.h"
#include "view/BigText.h"
#include "view/ControlsPage.h"
#include "view/Overview.h"
#include "world/World.h"

#include <allegro.h>

#include <string>
#include <vector>

class Scene;

// What the player switched on: over the view, and the sound effects.
struct Shown {
    bool panel = false;
    bool vitals = false;
    bool overview = false;
    bool effects = true;
};

// What the game asks to show over the view, frame by frame.
struct Overlay {
    Shown shown;
    // Lines in the middle of the upper third (the pause, the death card); none when empty.
    std::vector<std::string> notice;
    // The panel's last status lines, under the living counts: the pace, then a note that the
    // panel wraps to its width.
    std::string paceLine;
    std::string note;
    // The page of controls, over everything else.
    bool controlsPage = false;
};

// What the player sees of a world: land, then elements, into the world buffer; the visible
// window of the buffer into the frame, with the selected element's status line, the status
// panel, the overview, a notice, the page of controls and the mouse pointer; the frame to the
// screen in one copy.
class Frame {
  public:
    static constexpr int cellSize = World::cellSize;
    static constexpr int screenColumns = World::screenColumns;
    static constexpr int screenRows = World::screenRows;
    static constexpr int width = World::frameWidth;
    static constexpr int height = World::frameHeight;
    // The status panel's left edge: it stands down the right side, clear of the avatar's
    // sprite at the centre of the view (x 375 to 474).
    static constexpr int panelLeft = 480;

    Frame();
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    void draw(const Scene& scene, const Overlay& overlay);
    BITMAP* getImage() const { return image.get(); }

  private:
    void clearUncoveredCells(const Scene& scene);
    bool coversCell(const Scene& scene, BITMAP* tile) const;
    void drawLand(const Scene& scene);
    template <class Visit> void forEachElementInView(const Scene& scene, Visit visit);
    void drawElements(const Scene& scene);
    void drawVitals(const Scene& scene);
    void viewShift(const Scene& scene, int& sx, int& sy) const;
    void drawNotice(const std::vector<std::string>& lines, bool besidePanel);
    void drawPanel(const Scene& scene, const Overlay& overlay);
    void drawHealth(int helth);

    // The frame and the world buffer, which holds one more cell on every side of the view so
    // that the view can trail a walking avatar by half a cell.
    BitmapPtr image;
    BitmapPtr buffer;
    BigText bigText;
    Overview overview;
    ControlsPage controlsPage;
};

#endif
