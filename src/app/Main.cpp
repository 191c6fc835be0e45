#include "app/MidiPatches.h"
#include "core/InputLatch.h"
#include "game/BestTime.h"
#include "game/Effects.h"
#include "game/Game.h"
#include "game/Switches.h"
#include "world/LoadWorld.h"
#include "world/SaveFile.h"
#include "world/World.h"

#include <allegro.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {
const char* const shippedMap = "orvalle.map";
// The sound effects' samples, in the data folder.
const char* const effectsFolder = "sounds";
const char* const usage = "Usage: orvalle [full] [MAP | --load SAVE]";
// Plain ASCII, which every window manager shows as it is.
const char* const windowTitle = "Orvalle - F1: controls, H: status, P: pause, Esc: quit";
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

// What the command line asks for: orvalle [full] [MAP | --load SAVE]. "full", exactly, plays full
// screen; a MAP of the player's own replaces the shipped one, and --load SAVE goes on with a
// saved world instead. Images and music come from the working directory either way.
struct Options {
    bool fullScreen = false;
    std::string map = shippedMap;
    std::optional<std::string> save;
};

// False for more arguments than that.
bool readCommandLine(int argc, char* argv[], Options& options) {
    int next = 1;
    if (next < argc && std::strcmp(argv[next], "full") == 0) {
        options.fullScreen = true;
        ++next;
    }
    if (next + 1 < argc && std::strcmp(argv[next], "--load") == 0) {
        options.save = argv[next + 1];
        next += 2;
    } else if (next < argc) {
        options.map = argv[next++];
    }
    return next == argc;
}

// A map that cannot be played is refused before anything opens: no window flashes and the sound
// library says nothing, only the map reader's message and status 1. The shipped map missing
// means the game was started outside its data folder, so the hint on where to start it follows,
// at exit. Only a map that fails is read twice, once to find out and once to report it as the
// reader does.
void refuseUnplayableMap(const std::string& map) {
    LoadWorld::Status status = LoadWorld::LOADED;
    LoadWorld probe(map, status);
    if (status == LoadWorld::LOADED) {
        return;
    }
    if (map == shippedMap && status == LoadWorld::CANNOT_OPEN) {
        std::atexit(printFolderHint);
    }
    // Reports as the reader does and ends the program with status 1.
    LoadWorld reported(map);
}

// What a read of a save gives; a save that is refused ends the program with the reason and
// status 1.
template <class Read> auto savedOrExit(Read read) {
    try {
        return read();
    } catch (const SaveFile::Refused& refusal) {
        std::fprintf(stderr, "%s\n", refusal.what());
        std::exit(1);
    }
}

// Every world of the map starts the random sequence where a fresh program starts it (the C
// library's rand starts as if seeded with 1), so playing again after death replays the launch.
SaveFile::Resumed buildWorld(const std::string& map) {
    std::srand(1);
    return {std::make_unique<World>(map), PlayState()};
}

// A world played by a game of the player's: every life is offered to the record of the best
// time, when there is a place to keep one, the game starts with the player's switches and keeps
// them, sounds the effects, and F5 and F9 use the player's save file.
Game& playWithRecord(World& world, std::optional<BestTime>& record, Switches& switches,
                     const Effects& effects) {
    auto game = std::make_unique<Game>();
    game->playEffectsWith(effects);
    if (record) {
        game->keepBestTimeIn(*record);
    }
    game->keepSwitchesIn(switches);
    game->keepSavesIn(SaveFile::defaultFile());
    Game& played = *game;
    world.setStage(std::move(game));
    return played;
}

// The map again from the start, with a new calendar and the music from its beginning, for as long
// as the player asks for it after the avatar's death; or the world of the save after F9. Both go
// on with the switches as the player left them.
void playUntilQuit(const std::string& map, SaveFile::Resumed start) {
    std::optional<BestTime> record;
    if (const std::optional<std::string> file = BestTime::defaultFile()) {
        record.emplace(*file);
    }
    const std::optional<std::string> switchesFile = Switches::defaultFile();
    Switches switches = switchesFile ? Switches(*switchesFile) : Switches();
    const Effects effects(effectsFolder);
    std::unique_ptr<World> world = std::move(start.world);
    playWithRecord(*world, record, switches, effects).goOnFrom(start.play);
    while (world != nullptr) {
        world->run();
        Game& game = Game::of(*world);
        if (std::unique_ptr<World> resumed = game.takeResumed()) {
            world = std::move(resumed);
        } else if (game.isRestartAsked()) {
            world = buildWorld(map).world;
            playWithRecord(*world, record, switches, effects);
        } else {
            world = nullptr;
        }
    }
}
} // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!readCommandLine(argc, argv, options)) {
        std::fprintf(stderr, "%s\n", usage);
        return 1;
    }
    if (options.save) {
        // A save cut short or damaged is refused before any window opens.
        savedOrExit([&] { SaveFile::check(*options.save); });
    } else {
        refuseUnplayableMap(options.map);
    }
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
    const int driver = options.fullScreen ? GFX_AUTODETECT : GFX_AUTODETECT_WINDOWED;
    if (set_gfx_mode(driver, World::frameWidth, World::frameHeight, 0, 0) != 0) {
        // Nothing can be drawn without a screen, so stop before the world is built.
        std::fprintf(stderr, "Cannot set the 800x600 16-bit graphics mode: %s\n", allegro_error);
        allegro_exit();
        return 1;
    }
    set_window_title(windowTitle);
    playUntilQuit(options.map,
                  options.save ? savedOrExit([&] { return SaveFile::resume(*options.save, ""); })
                               : buildWorld(options.map));
    InputLatch::remove();
    stop_midi();
    remove_timer();
    fade_out(fadeSpeed);
    allegro_exit();
    return 0;
}
END_OF_MAIN()
