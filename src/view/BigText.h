#ifndef ORVALLE_BIGTEXT_H
#define ORVALLE_BIGTEXT_H

#include "images/LibraryPtr.h"

#include <allegro.h>

#include <string>

// The library's 8-pixel font at twice its size, for what a player must read at a glance over a
// moving world: the notices, the death card and the panel. Each line is written at its own size
// into a scratch bitmap and stretched onto the target, every pixel of the font a 2 x 2 block.
class BigText {
  public:
    static constexpr int scale = 2;

    static int width(const std::string& text) { return scale * text_length(font, text.c_str()); }
    static int height() { return scale * text_height(font); }

    // The text in colour on a box of background colour as tall as the glyphs, its top left at
    // (x, y).
    void draw(BITMAP* target, const std::string& text, int x, int y, int colour, int background);

  private:
    // Grown to the longest line yet drawn, in the target's colour depth.
    BitmapPtr scratch;
};

#endif
