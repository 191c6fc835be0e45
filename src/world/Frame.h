#ifndef ORVALLE_FRAME_H
#define ORVALLE_FRAME_H

#include "images/LibraryPtr.h"
#include "world/BigText.h"
#include "world/Overview.h"

#include <allegro.h>

#include <string>
#include <vector>

class World;

// What the player sees of a world: land, then elements, into the world buffer; the visible
// window of the buffer into the frame, with the selected element's status line, the status
// panel, the notice of the pause or of the avatar's death and the mouse pointer; the frame to the
// screen in one copy.
class Frame {
  public:
    // A cell is cellSize pixels square; the screen shows screenColumns x screenRows cells.
    static constexpr int cellSize = 50;
    static constexpr int screenColumns = 16;
    static constexpr int screenRows = 12;
    static constexpr int width = screenColumns * cellSize;
    static constexpr int height = screenRows * cellSize;
    // The status panel's left edge: it stands down the right side, clear of the avatar's
    // sprite at the centre of the view (x 375 to 474).
    static constexpr int panelLeft = 480;

    explicit Frame(const World& shown);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    void draw();
    BITMAP* getImage() const { return image.get(); }

    // A line of the panel's list of controls: key names, and the words of what they do from
    // the character column hintColumn on; either may be empty.
    struct PanelLine {
        std::string keys;
        std::string hint;
        int hintColumn;
    };
    // The control table's rows as the panel lists them, in its order.
    static std::vector<PanelLine> controlLines();

  private:
    void clearUncoveredCells();
    bool coversCell(BITMAP* tile) const;
    void drawLand();
    template <class Visit> void forEachElementInView(Visit visit);
    void drawElements();
    void drawVitals();
    void viewShift(int& sx, int& sy) const;
    void drawNotice(const std::vector<std::string>& lines);
    void drawPanel();
    void drawHealth(int helth);

    const World& world;
    // The frame and the world buffer, which holds one more cell on every side of the view so
    // that the view can trail a walking avatar by half a cell.
    BitmapPtr image;
    BitmapPtr buffer;
    BigText bigText;
    Overview overview;
};

#endif
