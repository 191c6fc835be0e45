#ifndef ORVALLE_GAME_H
#define ORVALLE_GAME_H

#include "game/AvatarEvents.h"
#include "game/DeathCard.h"
#include "game/Pace.h"
#include "game/Warnings.h"
#include "view/Frame.h"
#include "world/SaveFile.h"
#include "world/Stage.h"

#include <memory>
#include <optional>
#include <string>

class BestTime;
class Effects;
class Switches;
struct InputSnapshot;
class World;

// The player's game around the rules: the loop of frames and passes, and what the controls do
// around a pass. Escape and the close button end the game, R plays again after the avatar's
// death, P pauses, H shows the status panel, F1 or ? the page of controls, V the vitals over the
// view, O the overview of the world, E switches the sound effects, [ and ] step the pace, F5 saves
// the world and F9 resumes the last save. It holds no world: it plays the one it is handed, and
// goes on with the same switches and pace in the world of a save, a new round and, when they are
// kept in a file, the next launch.
class Game : public Stage {
  public:
    Game();
    ~Game() override;

    // Frames until Escape is down or the window's close button was clicked at the start of a
    // pass; or, once the avatar is dead, until R is down too; or until F9 read a save. A frame
    // runs the passes of the pace, each on the controls the InputLatch holds at its start
    // (presses between passes count as held then), draws, and rests 30 ms but at the fastest
    // pace.
    void run(World& world) override;
    void draw(const World& world) override;
    // One pass of the loop: the switches, then the world's pass unless paused, then the world's
    // frame (World::draw, which a world of a caller's class may draw its own way).
    void turn(World& world, const InputSnapshot& controls);
    // The game that plays a world: its stage, which is a game unless a caller set another.
    static Game& of(World& world);

    bool isPaused() const { return paused; }
    bool isPanelShown() const { return shown.panel; }
    bool areVitalsShown() const { return shown.vitals; }
    bool isOverviewShown() const { return shown.overview; }
    bool isControlsPageShown() const { return controlsPage; }
    const Pace& getPace() const { return pace; }
    const DeathCard& getDeathCard() const { return deathCard; }
    BITMAP* getFrame() const { return frame.getImage(); }
    // At the avatar's death its life is offered to the record, which keeps it when it is the
    // longest; without one the card shows no best time.
    void keepBestTimeIn(BestTime& kept) { record = &kept; }
    // The switches to start with, which every change of H, V, O or the pace is kept in: a new
    // round and the next launch start with them.
    void keepSwitchesIn(Switches& kept);
    // The sounds of a blow landed by or on the avatar, a bite and its death, while E leaves them
    // on; without them the game is silent but for the music.
    void playEffectsWith(const Effects& sounds) { effects = &sounds; }
    // F5 writes the world into this file and F9 reads it; without one they say there is none.
    void keepSavesIn(std::optional<std::string> file) { saveFile = std::move(file); }
    // True when run() ended on R after the avatar's death: the player wants the map afresh.
    bool isRestartAsked() const { return restartAsked; }
    // The world of the save when run() ended on F9, null otherwise. It is played by a game of
    // its own that shows what this one showed, with the same record and save file.
    std::unique_ptr<World> takeResumed();
    // Goes on as a save left the game: paused or not, with the avatar's life so far.
    void goOnFrom(const PlayState& play);
    // What the game keeps in a save beside the world.
    PlayState getPlayState() const { return {paused, deathCard.getLife()}; }
    // What the last F5 or F9 did, for the status panel: when the save was written, or why
    // nothing was saved or loaded; empty before.
    const std::string& getSaveNote() const { return saveNote; }

  private:
    // False when the game is to end.
    bool playFrame(World& world);
    // Escape or the close button, or R after the avatar's death (which asks for a restart).
    bool ends(const World& world, const InputSnapshot& controls);
    // Escape closes the page of controls instead of quitting, and quits again once let go.
    bool escapeClosesPage(const InputSnapshot& controls);
    // The switches, then the pass unless paused.
    void act(World& world, const InputSnapshot& controls);
    void takeSwitches(World& world, const InputSnapshot& controls);
    // True when a switch of what is shown, or the pace, changed.
    bool takeShownAndPace(const InputSnapshot& controls);
    void keepSwitches() const;
    void switchPause();
    // After each pass: the avatar's life for the death card, the warnings and the sounds.
    void noteLife(const World& world);
    void sound(const AvatarEvents::Pass& pass) const;
    void save(const World& world);
    void resume(const World& world);
    Overlay overlay(const World& world) const;
    // The switches of what is shown, the pace, the record and the save file of another game.
    void showAs(const Game& other);

    bool paused = false;
    bool controlsPage = false;
    // Escape closed the page of controls and is still held.
    bool escapeHeld = false;
    // What the player switched on; a resumed game shows the same.
    Shown shown;
    bool restartAsked = false;
    Pace pace;
    DeathCard deathCard;
    AvatarEvents events;
    Warnings warnings;
    const Effects* effects = nullptr;
    BestTime* record = nullptr;
    Switches* switches = nullptr;
    std::optional<std::string> saveFile;
    std::unique_ptr<World> resumed;
    std::string saveNote;
    Frame frame;
};

#endif
