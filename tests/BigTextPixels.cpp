#include "BigTextPixels.h"

#include <allegro.h>

int differingBigTextPixels(BITMAP* frame, const std::string& text, int x, int y, int colour) {
    const int scale = 2;
    BITMAP* small = create_bitmap(text_length(font, text.c_str()), text_height(font));
    textout_ex(small, font, text.c_str(), 0, 0,
               makecol(colour >> 16, (colour >> 8) & 255, colour & 255), makecol(0, 0, 0));
    int differing = 0;
    for (int row = 0; row < small->h * scale; ++row) {
        for (int column = 0; column < small->w * scale; ++column) {
            differing += getpixel(small, column / scale, row / scale) !=
                         getpixel(frame, x + column, y + row);
        }
    }
    destroy_bitmap(small);
    return differing;
}
