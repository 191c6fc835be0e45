#ifndef ORVALLE_STAGE_H
#define ORVALLE_STAGE_H

#include <memory>

class World;

// What plays a world for a person: the loop of its passes with the player's controls, and the
// picture of it. World::run() and World::draw() hand over to a stage; the game provides the one
// it plays with, so that the rules know nothing of drawing or of the player's game. A stage holds
// no world: it is handed the one it plays, call by call.
class Stage {
  public:
    using Maker = std::unique_ptr<Stage> (*)();

    Stage() = default;
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
    virtual ~Stage() = default;

    // Passes with the player's controls until the player ends the game.
    virtual void run(World& world) = 0;
    // The world's frame, on the screen.
    virtual void draw(const World& world) = 0;

    // The stage that every world made from now on plays on, when it is asked to run or draw.
    static void provide(Maker maker);
    // A new stage of the maker provided; null while none was.
    static std::unique_ptr<Stage> make();
};

#endif
