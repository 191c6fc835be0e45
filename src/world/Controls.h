#ifndef ORVALLE_CONTROLS_H
#define ORVALLE_CONTROLS_H

#include "world/DeathCard.h"

class BestTime;
struct InputSnapshot;
class World;

// What the player's controls do around the rules: Escape and the close button end the game, R
// plays again after the avatar's death, P pauses, H shows the status panel, V the vitals over the
// view, and after the avatar's death M and N still switch the music.
class Controls {
  public:
    explicit Controls(World& played) : world(played) {}

    // Turns until Escape is down or the window's close button was clicked at the start of one,
    // resting 30 ms after each; or, once the avatar is dead, until R is down too. Each turn takes
    // its controls from the InputLatch: presses between passes count as held at the start.
    void run();
    // One turn between its tests and its rest: P pauses or resumes, H shows or hides the
    // status panel and V the vitals; then a pass, or while paused only the frame.
    void turn(const InputSnapshot& controls);
    // The avatar switches the music while it lives; after its death (or on a map without one)
    // the world takes the same keys, in the same order.
    void switchMusicWithoutAvatar(const InputSnapshot& controls);

    bool isPaused() const { return paused; }
    bool isPanelShown() const { return panelShown; }
    bool areVitalsShown() const { return vitalsShown; }
    const DeathCard& getDeathCard() const { return deathCard; }
    // At the avatar's death its life is offered to the record, which keeps it when it is the
    // longest; without one the card shows no best time.
    void keepBestTimeIn(BestTime& kept) { record = &kept; }
    // True when run() ended on R after the avatar's death: the player wants the map afresh.
    bool isRestartAsked() const { return restartAsked; }

  private:
    void switchPause();
    // After each pass: the avatar's life for the death card.
    void noteLife();

    World& world;
    bool paused = false;
    bool panelShown = false;
    bool vitalsShown = false;
    bool restartAsked = false;
    DeathCard deathCard;
    BestTime* record = nullptr;
};

#endif
