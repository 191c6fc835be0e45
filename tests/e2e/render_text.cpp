// Writes a text as the game shows a status line: Allegro's built-in font, white on black, in a
// 16-bit bitmap saved as BMP. The end-to-end checks compare it with the game's window.
#include <allegro.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp TEXT\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "Allegro could not start: %s\n", allegro_error);
        return 1;
    }
    set_color_depth(16);
    const char* text = argv[2];
    BITMAP* line = create_bitmap(text_length(font, text), text_height(font));
    if (line == nullptr) {
        std::fprintf(stderr, "no memory for the text bitmap\n");
        return 1;
    }
    textout_ex(line, font, text, 0, 0, makecol(255, 255, 255), makecol(0, 0, 0));
    const int saved = save_bitmap(argv[1], line, nullptr);
    destroy_bitmap(line);
    if (saved != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
