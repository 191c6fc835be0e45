/* Plays a MIDI file through Allegro for a few seconds: the sound check's
 * stand-in for the game.  Usage: play-music FILE.mid [MILLISECONDS] */
#include <allegro.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    const char* file = argc > 1 ? argv[1] : "clkcwhrv.mid";
    int millis = argc > 2 ? atoi(argv[2]) : 3000;
    MIDI* music;

    if (allegro_init() != 0 || install_timer() != 0) {
        printf("play-music: allegro_init failed (no X display?)\n");
        return 2;
    }
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL) != 0) {
        printf("play-music: install_sound failed: %s\n", allegro_error);
        return 3;
    }
    printf("play-music: digital driver '%s', MIDI driver '%s'\n", digi_driver->name,
           midi_driver->name);
    music = load_midi(file);
    if (!music) {
        printf("play-music: cannot load %s\n", file);
        return 4;
    }
    play_midi(music, TRUE);
    rest(millis);
    return 0;
}
END_OF_MAIN()
