#include "world/Controls.h"

#include "core/InputLatch.h"
#include "core/Timer.h"
#include "world/BestTime.h"
#include "world/SaveFile.h"
#include "world/World.h"

#include <allegro.h>

namespace {
const int restMilliseconds = 30;
} // namespace

Controls::Controls(World& played) : world(played) {}

Controls::~Controls() = default;

void Controls::run() {
    while (playFrame()) {
        if (pace.rests()) {
            rest(restMilliseconds);
        }
    }
}

// Each pass takes its own controls from the InputLatch, so that a tap counts once whatever the
// pace, and Escape is seen within a pass.
bool Controls::playFrame() {
    const Pace::Clock::time_point start = Pace::Clock::now();
    int done = 0;
    do {
        const InputSnapshot controls = InputLatch::take();
        if (ends(controls)) {
            return false;
        }
        act(controls);
        if (resumed != nullptr) {
            return false;
        }
        ++done;
    } while (!paused && pace.wantsAnother(done, Pace::Clock::now() - start));
    world.draw();
    return true;
}

bool Controls::ends(const InputSnapshot& controls) {
    if (controls.quits()) {
        return true;
    }
    restartAsked = !paused && world.isAvatarDead() && controls.isDown(KEY_R);
    return restartAsked;
}

void Controls::turn(const InputSnapshot& controls) {
    act(controls);
    world.draw();
}

// While paused no pass runs, so the calendar, the creatures and every timer stand still; the
// frame is still drawn, for the panel and the pointer.
void Controls::act(const InputSnapshot& controls) {
    takeSwitches(controls);
    if (!paused) {
        world.advance(controls);
        noteLife();
        pace.count(Pace::Clock::now());
    }
}

void Controls::takeSwitches(const InputSnapshot& controls) {
    if (controls.wasPressed(KEY_P)) {
        switchPause();
    }
    const struct {
        int key;
        bool Controls::*shown;
    } views[] = {{KEY_H, &Controls::panelShown},
                 {KEY_V, &Controls::vitalsShown},
                 {KEY_O, &Controls::overviewShown}};
    for (const auto& view : views) {
        if (controls.wasPressed(view.key)) {
            this->*view.shown = !(this->*view.shown);
        }
    }
    if (controls.wasPressed(KEY_OPENBRACE)) {
        pace.slower();
    }
    if (controls.wasPressed(KEY_CLOSEBRACE)) {
        pace.faster();
    }
    if (controls.wasPressed(KEY_F5)) {
        save();
    }
    if (controls.wasPressed(KEY_F9)) {
        resume();
    }
}

void Controls::save() {
    if (!saveFile) {
        saveNote = "not saved: no home folder to keep it in";
        return;
    }
    const std::string failed = SaveFile::write(world, *saveFile);
    saveNote =
        failed.empty() ? "saved at " + world.getTimer()->dayAndTime() : "not saved: " + failed;
}

// The world of the save replaces this one once run() returns; a save that is refused leaves the
// game as it is, and says why.
void Controls::resume() {
    if (!saveFile) {
        saveNote = "not loaded: no home folder to keep saves in";
        return;
    }
    // The music of the world resumed starts afresh, paused again if it was saved paused.
    if (paused) {
        midi_resume();
    }
    try {
        resumed = SaveFile::resume(*saveFile, world.getMediaFolder());
    } catch (const SaveFile::Refused& refusal) {
        saveNote = std::string("not loaded: ") + refusal.what();
        if (paused) {
            midi_pause();
        }
    }
}

void Controls::resumePaused(bool wasPaused) {
    if (wasPaused != paused) {
        switchPause();
    }
}

std::unique_ptr<World> Controls::takeResumed() {
    return std::move(resumed);
}

void Controls::showAs(const Controls& other) {
    panelShown = other.panelShown;
    vitalsShown = other.vitalsShown;
    overviewShown = other.overviewShown;
    pace = other.pace;
}

void Controls::noteLife() {
    const Element* avatar = world.getAvatar();
    if (avatar != nullptr && deathCard.note(*avatar) && record != nullptr) {
        record->offer(deathCard.getPasses());
        deathCard.setBest(record->getBest());
    }
}

// The music stops where it is and later goes on from there.
void Controls::switchPause() {
    paused = !paused;
    if (paused) {
        midi_pause();
    } else {
        midi_resume();
    }
}

void Controls::switchMusicWithoutAvatar(const InputSnapshot& controls) {
    const Element* avatar = world.getAvatar();
    if (avatar != nullptr && !world.isAvatarDead()) {
        return;
    }
    if (controls.isDown(KEY_M)) {
        world.setMusic(true);
    } else if (controls.isDown(KEY_N)) {
        world.setMusic(false);
    }
}
