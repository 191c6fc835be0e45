#ifndef ORVALLE_AVATAREVENTS_H
#define ORVALLE_AVATAREVENTS_H

class World;

// What a pass did to the avatar, read off it (and off the creature it faces) after the pass,
// from what the rules already keep: its health, who hit it last and the cool-downs of blows and
// bites. The game's warnings and sounds follow it; the rules are asked nothing new.
class AvatarEvents {
  public:
    struct Pass {
        // A blow landed on the avatar.
        bool blowTaken = false;
        // A blow of the avatar's own landed on a creature.
        bool blowLanded = false;
        bool bite = false;
        bool died = false;
        // Its health after the pass before (none, -1, before the first) and after this one.
        int helthBefore = -1;
        int helth = 0;
    };

    // After a pass; nothing happened in a world without an avatar.
    Pass note(const World& world);

  private:
    int helthBefore = -1;
    bool aliveBefore = false;
};

#endif
