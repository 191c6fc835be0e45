#include "world/Controls.h"

#include "core/InputLatch.h"
#include "world/BestTime.h"
#include "world/World.h"

#include <allegro.h>

namespace {
const int restMilliseconds = 30;
} // namespace

void Controls::run() {
    for (;;) {
        const InputSnapshot controls = InputLatch::take();
        if (controls.quits()) {
            return;
        }
        if (!paused && world.isAvatarDead() && controls.isDown(KEY_R)) {
            restartAsked = true;
            return;
        }
        turn(controls);
        rest(restMilliseconds);
    }
}

// While paused no pass runs, so the calendar, the creatures and every timer stand still; the
// frame is still drawn, for the panel and the pointer.
void Controls::turn(const InputSnapshot& controls) {
    if (controls.wasPressed(KEY_P)) {
        switchPause();
    }
    if (controls.wasPressed(KEY_H)) {
        panelShown = !panelShown;
    }
    if (controls.wasPressed(KEY_V)) {
        vitalsShown = !vitalsShown;
    }
    if (!paused) {
        world.advance(controls);
        noteLife();
    }
    world.draw();
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
