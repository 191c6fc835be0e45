#ifndef ORVALLE_BIG_TEXT_PIXELS_H
#define ORVALLE_BIG_TEXT_PIXELS_H

#include <string>

struct BITMAP;

// How many pixels of the library's font, drawn in colour (0xRRGGBB) on black at (x, y) twice as
// big, the frame shows otherwise: every pixel of the font must be a 2 x 2 block.
int differingBigTextPixels(BITMAP* frame, const std::string& text, int x, int y,
                           int colour = 0xffffff);

#endif
