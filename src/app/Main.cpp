#include "InputLatch.h"
#include "MidiPatches.h"
#include "World.h"

#include <allegro.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
const char* const mapFile = "orvalle.map";
const char* const folderHint =
    "Orvalle runs in its data folder, the one holding orvalle.map, images/ and clkcwhrv.mid "
    "(data/ in the source tree); scripts/play.sh starts it there.";
const char* const silenceNote = "No sound device found: Orvalle plays without sound.";
const int colourDepth = 16;
// Half the digital volume, all of the MIDI volume (the range is 0 to 255).
const int digitalVolume = 128;
const int midiVolume = 255;
// The fade to black at the end, from 1 (slow) to 64 (fast).
const int fadeSpeed = 4;

bool hasSound() {
    const bool digital = digi_driver != nullptr && digi_driver->id != DIGI_NONE;
    const bool midi = midi_driver != nullptr && midi_driver->id != MIDI_NONE;
    return digital || midi;
}

// The sound library reports every device it tries and cannot open on the standard error
// stream: a page of noise on a machine without a sound card, where the game simply plays
// silently. So the stream goes nowhere while the sound is installed, and one line says why it
// is silent.
void installSoundQuietly() {
    std::fflush(stderr);
    const int kept = dup(STDERR_FILENO);
    const int nowhere = kept >= 0 ? open("/dev/null", O_WRONLY) : -1;
    if (nowhere >= 0) {
        dup2(nowhere, STDERR_FILENO);
        close(nowhere);
    }
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    if (kept >= 0) {
        dup2(kept, STDERR_FILENO);
        close(kept);
    }
    if (!hasSound()) {
        std::fprintf(stderr, "%s\n", silenceNote);
    }
}

void printFolderHint() {
    std::fprintf(stderr, "%s\n", folderHint);
}

// A map that cannot be opened ends the program inside the world's constructor, with the map
// reader's message; the hint on where to start the game follows it, at exit.
std::unique_ptr<World> buildWorld() {
    if (std::FILE* map = std::fopen(mapFile, "r")) {
        std::fclose(map);
    } else {
        std::atexit(printFolderHint);
    }
    return std::make_unique<World>(mapFile);
}

// The map again from the start, with a new calendar and the music from its beginning, for as
// long as the player asks for it after the avatar's death.
void playUntilQuit() {
    bool again = true;
    while (again) {
        std::unique_ptr<World> world = buildWorld();
        world->run();
        again = world->isRestartAsked();
    }
}
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
    InputLatch::install();
    installSoundQuietly();
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
    playUntilQuit();
    InputLatch::remove();
    stop_midi();
    remove_timer();
    fade_out(fadeSpeed);
    allegro_exit();
    return 0;
}
END_OF_MAIN()
