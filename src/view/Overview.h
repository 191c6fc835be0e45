#ifndef ORVALLE_OVERVIEW_H
#define ORVALLE_OVERVIEW_H

#include "images/LibraryPtr.h"

#include <allegro.h>

#include <unordered_map>
#include <vector>

class Scene;

// What O shows in the frame's bottom left corner: the whole world at a glance, each cell in the
// colour of its land (or of the thing standing on it), the view's rectangle in yellow, at least
// leastViewPixels a side, and the avatar drawn last, a white mark in a black ring that stands
// out on any land. A small world is drawn with several pixels a cell and every living wild
// creature as a red dot; a big one with a block of cells a pixel (or a few), where the land's
// colour is tinted red by the share of the block that wild creatures hold, so that the land
// shows even where they crowd. The picture is redrawn into a small bitmap of its own only every
// few passes, so that even a 2048 x 2048 world costs a copy per frame; the view's rectangle and
// the avatar are drawn fresh every frame.
class Overview {
  public:
    // At most this big, in the frame's pixels.
    static constexpr int mostWidth = 200;
    static constexpr int mostHeight = 150;
    static constexpr int margin = 10;
    // Passes between two pictures: creatures move a cell in about 7.
    static constexpr int refreshPasses = 15;
    static constexpr int leastViewPixels = 9;
    // Creatures are dots from this many pixels a cell on, and tint their blocks below it.
    static constexpr int leastDotCell = 4;

    void draw(BITMAP* frame, const Scene& scene);

  private:
    // Fits the picture to the world's size: pixels a cell for a world that fits, cells a pixel
    // for a bigger one.
    void shape(const Scene& scene);
    void refresh(const Scene& scene);
    void drawCreatures(const Scene& scene);
    // The living wild creatures in each block of cells, row by row.
    std::vector<int> crowding(const Scene& scene) const;
    int tinted(int colour, int creatures) const;
    void drawView(BITMAP* frame, const Scene& scene, int left, int top) const;
    void drawAvatar(BITMAP* frame, const Scene& scene, int left, int top) const;
    // The average colour of a picture's opaque pixels, worked out once per picture.
    int colourOf(BITMAP* picture);
    // The frame pixel of a cell's corner, along one axis.
    int toPixels(int cells) const;

    BitmapPtr picture;
    int cellPixels = 1;
    int cellsPerPixel = 1;
    bool drawn = false;
    int drawnAt = 0;
    std::unordered_map<BITMAP*, int> colours;
};

#endif
