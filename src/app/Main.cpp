#include "MidiPatches.h"
#include "World.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>

namespace {
const char* const mapFile = "orvalle.map";
const int colourDepth = 16;
// Half the digital volume, all of the MIDI volume (the range is 0 to 255).
const int digitalVolume = 128;
const int midiVolume = 255;
// The fade to black at the end, from 1 (slow) to 64 (fast).
const int fadeSpeed = 4;
} // namespace

int main(int argc, char* argv[]) {
    if (allegro_init() != 0) {
        // Without a system driver (no X display to reach) nothing below can be installed.
        std::fprintf(stderr, "Cannot start Allegro, is there an X display? %s\n", allegro_error);
        return 1;
    }
    // The patch set shipped beside the data makes the music sound, unless the player chose one.
    useShippedPatches("orvalle-patches.cfg");
    install_keyboard();
    install_timer();
    install_mouse();
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    set_color_depth(colourDepth);
    set_volume(digitalVolume, midiVolume);
    const bool fullScreen = argc > 1 && std::strcmp(argv[1], "full") == 0;
    const int driver = fullScreen ? GFX_AUTODETECT : GFX_AUTODETECT_WINDOWED;
    if (set_gfx_mode(driver, World::frameWidth, World::frameHeight, 0, 0) != 0) {
        // Nothing can be drawn without a screen, so stop before the world is built.
        std::fprintf(stderr, "Cannot set the 800x600 16-bit graphics mode: %s\n", allegro_error);
        allegro_exit();
        return 1;
    }
    World* world = new World(mapFile);
    world->run();
    delete world;
    stop_midi();
    remove_timer();
    fade_out(fadeSpeed);
    allegro_exit();
    return 0;
}
END_OF_MAIN()
