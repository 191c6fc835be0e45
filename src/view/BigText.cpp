#include "view/BigText.h"

void BigText::draw(BITMAP* target, const std::string& text, int x, int y, int colour,
                   int background) {
    const int w = text_length(font, text.c_str());
    const int h = text_height(font);
    if (w == 0) {
        return;
    }
    const int depth = bitmap_color_depth(target);
    if (scratch == nullptr || scratch->w < w || bitmap_color_depth(scratch.get()) != depth) {
        scratch.reset(create_bitmap_ex(depth, w, h));
    }
    if (scratch == nullptr) {
        return;
    }
    textout_ex(scratch.get(), font, text.c_str(), 0, 0, colour, background);
    stretch_blit(scratch.get(), target, 0, 0, w, h, x, y, scale * w, scale * h);
}
