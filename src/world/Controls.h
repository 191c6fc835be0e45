#ifndef ORVALLE_CONTROLS_H
#define ORVALLE_CONTROLS_H

#include "world/DeathCard.h"
#include "world/Pace.h"

#include <memory>
#include <optional>
#include <string>

class BestTime;
struct InputSnapshot;
class World;

// What the player's controls do around the rules: Escape and the close button end the game, R
// plays again after the avatar's death, P pauses, H shows the status panel, V the vitals over the
// view, O the overview of the world, [ and ] step the pace, F5 saves the world and F9 resumes the
// last save, and after the avatar's death M and N still switch the music.
class Controls {
  public:
    explicit Controls(World& played);
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // Frames until Escape is down or the window's close button was clicked at the start of a
    // pass; or, once the avatar is dead, until R is down too. A frame runs the passes of the
    // pace, each on the controls the InputLatch holds at its start (presses between passes
    // count as held then), draws, and rests 30 ms but at the fastest pace.
    void run();
    // One pass's controls: P pauses or resumes, H shows or hides the status panel, V the
    // vitals, O the overview, [ and ] step the pace; then the pass, unless paused, and the
    // frame.
    void turn(const InputSnapshot& controls);
    // The avatar switches the music while it lives; after its death (or on a map without one)
    // the world takes the same keys, in the same order.
    void switchMusicWithoutAvatar(const InputSnapshot& controls);

    bool isPaused() const { return paused; }
    bool isPanelShown() const { return panelShown; }
    bool areVitalsShown() const { return vitalsShown; }
    bool isOverviewShown() const { return overviewShown; }
    const Pace& getPace() const { return pace; }
    const DeathCard& getDeathCard() const { return deathCard; }
    // The avatar's life so far, as a resumed game goes on with it.
    void resumeLife(const DeathCard::Life& life) { deathCard.resume(life); }
    // A game saved while paused comes back paused.
    void resumePaused(bool wasPaused);
    // At the avatar's death its life is offered to the record, which keeps it when it is the
    // longest; without one the card shows no best time.
    void keepBestTimeIn(BestTime& kept) { record = &kept; }
    // True when run() ended on R after the avatar's death: the player wants the map afresh.
    bool isRestartAsked() const { return restartAsked; }
    // F5 writes the world into this file and F9 reads it; without one they say there is none.
    void keepSavesIn(std::optional<std::string> file) { saveFile = std::move(file); }
    // The world of the save when run() ended on F9, for the game to go on with; null otherwise.
    std::unique_ptr<World> takeResumed();
    // What the last F5 or F9 did, for the status panel: when the save was written, or why
    // nothing was saved or loaded; empty before.
    const std::string& getSaveNote() const { return saveNote; }
    // Shows what other controls showed: the panel, the vitals, the overview and the pace.
    void showAs(const Controls& other);

  private:
    // False when the game is to end.
    bool playFrame();
    // Escape or the close button, or R after the avatar's death (which asks for a restart).
    bool ends(const InputSnapshot& controls);
    // The switches, then the pass unless paused.
    void act(const InputSnapshot& controls);
    void takeSwitches(const InputSnapshot& controls);
    void switchPause();
    // After each pass: the avatar's life for the death card.
    void noteLife();
    void save();
    void resume();

    World& world;
    bool paused = false;
    bool panelShown = false;
    bool vitalsShown = false;
    bool overviewShown = false;
    bool restartAsked = false;
    Pace pace;
    DeathCard deathCard;
    BestTime* record = nullptr;
    std::optional<std::string> saveFile;
    std::unique_ptr<World> resumed;
    std::string saveNote;
};

#endif
