#include "game/Game.h"

#include "core/InputLatch.h"
#include "core/Timer.h"
#include "game/BestTime.h"
#include "game/Effects.h"
#include "game/Switches.h"
#include "world/Scene.h"
#include "world/World.h"

#include <allegro.h>

namespace {
const int restMilliseconds = 30;
const char* const pauseNotice = "Paused. P plays on.";

// Every world that a caller runs or draws is played by a game of its own.
const bool provided = [] {
    Stage::provide([] { return std::unique_ptr<Stage>(std::make_unique<Game>()); });
    return true;
}();
} // namespace

Game::Game() = default;

Game::~Game() = default;

void Game::run(World& world) {
    restartAsked = false;
    while (playFrame(world)) {
        if (pace.rests()) {
            rest(restMilliseconds);
        }
    }
}

// Each pass takes its own controls from the InputLatch, so that a tap counts once whatever the
// pace, and Escape is seen within a pass.
bool Game::playFrame(World& world) {
    const Pace::Clock::time_point start = Pace::Clock::now();
    int done = 0;
    do {
        const InputSnapshot controls = InputLatch::take();
        if (ends(world, controls)) {
            return false;
        }
        act(world, controls);
        if (resumed != nullptr) {
            return false;
        }
        ++done;
    } while (!paused && pace.wantsAnother(done, Pace::Clock::now() - start));
    world.draw();
    return true;
}

bool Game::ends(const World& world, const InputSnapshot& controls) {
    if (controls.closeAsked) {
        return true;
    }
    if (escapeClosesPage(controls)) {
        return false;
    }
    if (controls.quits()) {
        return true;
    }
    restartAsked = !paused && world.isAvatarDead() && controls.isHeld(Action::playAgain);
    return restartAsked;
}

bool Game::escapeClosesPage(const InputSnapshot& controls) {
    if (controlsPage && controls.wasPressed(Action::quit)) {
        controlsPage = false;
        escapeHeld = true;
    }
    escapeHeld = escapeHeld && controls.isHeld(Action::quit);
    return escapeHeld;
}

void Game::turn(World& world, const InputSnapshot& controls) {
    act(world, controls);
    world.draw();
}

Game& Game::of(World& world) {
    return dynamic_cast<Game&>(*world.getStage());
}

void Game::draw(const World& world) {
    frame.draw(Scene(world), overlay(world));
}

Overlay Game::overlay(const World& world) const {
    Overlay over{.shown = shown,
                 .notice = {},
                 .paceLine =
                     "pace " + pace.name() + "  " + std::to_string(pace.passesPerSecond()) + "/s",
                 .note = saveNote,
                 .controlsPage = controlsPage};
    // The death card stays while paused, the pause said under it.
    if (world.isAvatarDead()) {
        over.notice = deathCard.lines();
    }
    if (paused) {
        over.notice.emplace_back(pauseNotice);
    }
    if (const std::string warning = warnings.current(Warnings::Clock::now());
        over.notice.empty() && !warning.empty()) {
        over.notice = {warning};
    }
    return over;
}

// While paused no pass runs, so the calendar, the creatures and every timer stand still; the
// frame is still drawn, for the panel and the pointer.
void Game::act(World& world, const InputSnapshot& controls) {
    takeSwitches(world, controls);
    if (!paused) {
        world.pass(controls);
        clear_keybuf();
        noteLife(world);
        pace.count(Pace::Clock::now());
    }
}

void Game::takeSwitches(World& world, const InputSnapshot& controls) {
    if (controls.wasPressed(Action::pause)) {
        switchPause();
    }
    if (controls.wasPressed(Action::controls)) {
        controlsPage = !controlsPage;
    }
    if (takeShownAndPace(controls)) {
        keepSwitches();
    }
    if (controls.wasPressed(Action::save)) {
        save(world);
    }
    if (controls.wasPressed(Action::load)) {
        resume(world);
    }
}

bool Game::takeShownAndPace(const InputSnapshot& controls) {
    const struct {
        Action action;
        bool Shown::*switched;
    } views[] = {{Action::panel, &Shown::panel},
                 {Action::vitals, &Shown::vitals},
                 {Action::overview, &Shown::overview},
                 {Action::effects, &Shown::effects}};
    bool changed = false;
    for (const auto& view : views) {
        if (controls.wasPressed(view.action)) {
            shown.*view.switched = !(shown.*view.switched);
            changed = true;
        }
    }
    // Each tap counts, however many came since the last pass.
    const int slower = controls.timesPressed(Action::slower);
    const int faster = controls.timesPressed(Action::faster);
    for (int tap = 0; tap < slower; ++tap) {
        pace.slower();
    }
    for (int tap = 0; tap < faster; ++tap) {
        pace.faster();
    }
    return changed || slower + faster > 0;
}

void Game::keepSwitches() const {
    if (switches != nullptr) {
        switches->shown = shown;
        switches->pace = pace.name();
        switches->keep();
    }
}

void Game::keepSwitchesIn(Switches& kept) {
    switches = &kept;
    shown = kept.shown;
    pace = Pace::named(kept.pace).value_or(Pace());
}

void Game::save(const World& world) {
    if (!saveFile) {
        saveNote = "not saved: no home folder to keep it in";
        return;
    }
    const std::string failed = SaveFile::write(world, *saveFile, getPlayState());
    saveNote =
        failed.empty() ? "saved at " + world.getTimer()->dayAndTime() : "not saved: " + failed;
}

// The world of the save replaces this one once run() returns; a save that is refused leaves the
// game as it is, and says why.
void Game::resume(const World& world) {
    if (!saveFile) {
        saveNote = "not loaded: no home folder to keep saves in";
        return;
    }
    // The music of the world resumed starts afresh, paused again if it was saved paused.
    if (paused) {
        midi_resume();
    }
    try {
        SaveFile::Resumed saved = SaveFile::resume(*saveFile, world.getMediaFolder());
        auto next = std::make_unique<Game>();
        next->showAs(*this);
        next->goOnFrom(saved.play);
        saved.world->setStage(std::move(next));
        resumed = std::move(saved.world);
    } catch (const SaveFile::Refused& refusal) {
        saveNote = std::string("not loaded: ") + refusal.what();
        if (paused) {
            midi_pause();
        }
    }
}

void Game::goOnFrom(const PlayState& play) {
    deathCard.resume(play.life);
    if (play.paused != paused) {
        switchPause();
    }
}

void Game::showAs(const Game& other) {
    shown = other.shown;
    pace = other.pace;
    record = other.record;
    switches = other.switches;
    effects = other.effects;
    saveFile = other.saveFile;
}

std::unique_ptr<World> Game::takeResumed() {
    return std::move(resumed);
}

// At the death the pace drops to x1, so that the player sees what follows; the pace kept for
// the next round is still the one chosen.
void Game::noteLife(const World& world) {
    const Element* avatar = world.getAvatar();
    if (avatar == nullptr) {
        return;
    }
    const AvatarEvents::Pass pass = events.note(world);
    warnings.note(pass, Warnings::Clock::now());
    sound(pass);
    if (!deathCard.note(*avatar)) {
        return;
    }
    pace = Pace();
    if (record != nullptr) {
        const bool beaten = record->offer(deathCard.getPasses());
        deathCard.setBest(record->getBest(), beaten);
    }
}

void Game::sound(const AvatarEvents::Pass& pass) const {
    if (effects == nullptr || !shown.effects) {
        return;
    }
    if (pass.blowTaken || pass.blowLanded) {
        effects->play(Effects::Sound::blow);
    }
    if (pass.bite) {
        effects->play(Effects::Sound::bite);
    }
    if (pass.died) {
        effects->play(Effects::Sound::death);
    }
}

// The music stops where it is and later goes on from there.
void Game::switchPause() {
    paused = !paused;
    if (paused) {
        midi_pause();
    } else {
        midi_resume();
    }
}
