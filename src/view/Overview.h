#ifndef ORVALLE_OVERVIEW_H
#define ORVALLE_OVERVIEW_H

#include "images/LibraryPtr.h"

#include <allegro.h>

#include <unordered_map>

class Scene;

// What O shows in the frame's bottom left corner: the whole world at a glance, each cell in the
// colour of its land (or of the thing standing on it), every living creature as a dot (the
// avatar white, the others red) and the view's rectangle in yellow. A small world is drawn with
// several pixels a cell, a big one with a cell per pixel taken from each block of cells. The
// picture is redrawn into a small bitmap of its own only every few passes, so that even a
// 2048 x 2048 world costs a copy per frame; the view's rectangle is drawn fresh every frame.
class Overview {
  public:
    // At most this big, in the frame's pixels.
    static constexpr int mostWidth = 200;
    static constexpr int mostHeight = 150;
    static constexpr int margin = 10;
    // Passes between two pictures: creatures move a cell in about 7.
    static constexpr int refreshPasses = 15;

    void draw(BITMAP* frame, const Scene& scene);

  private:
    // Fits the picture to the world's size: pixels a cell for a world that fits, cells a pixel
    // for a bigger one.
    void shape(const Scene& scene);
    void refresh(const Scene& scene);
    void drawCreatures(const Scene& scene);
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
