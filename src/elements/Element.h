#ifndef ORVALLE_ELEMENT_H
#define ORVALLE_ELEMENT_H

#include "Images.h"

#include <allegro.h>

#include <string>

class World;
class Vision;

// Type codes of the element kinds; the map file uses the same numbers.
enum ElementType : int {
    AVATAR = 1,
    CYCLOPE = 2,
    FIRE = 3,
    TREE = 4,
    SPIDER = 5,
    ADOBE = 100,
    LITTLELAWN = 101,
    GROUND = 102,
    ROCKS = 103,
    LAWN = 104,
    WALL = 200,
    WATER = 300,
};

// Anything that occupies a cell: land tiles, standing things and creatures. Holds the kind, the
// cell, the facing, the animation, the vital values, the cool-down counters, what it sees and who
// hit it last. Creatures override run() and act through move(), eat() and attack().
class Element {
  public:
    Element(World* world, std::string name, int type);
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    virtual void run();
    virtual BITMAP* getImage() { return image; }

    bool move(int direction);
    int eat(Element* food);
    int isEatenBy(Element* eater);
    bool attack(Element* target);
    int areAttackedBy(Element* attacker);

    void incHelth();
    void decHelth();
    void incTimer();
    bool isStep() const { return time < maxTime / 2; }
    void resetTime() { time = 0; }
    void reloadVision();
    void loadImages(std::string name);

    void incCounterAttack();
    void incCounterEat();
    void incCounterFood();
    void incCounterUnderAttack();
    void incCounterDead();
    void incCounterHelth();
    void incFood();

    std::string toString();

    int getX() const { return x; }
    void setX(int v) { x = v; }
    int getY() const { return y; }
    void setY(int v) { y = v; }
    World* getWorld() const { return world; }
    std::string getName() const { return name; }
    int getType() const { return type; }
    int getDirection() const { return direction; }
    void setDirection(int d);
    int getTime() const { return time; }
    int getMaxTime() const { return maxTime; }
    void setMaxTime(int v) { maxTime = v; }
    int getVisionRange() const { return visionRange; }
    void setVisionRange(int v) { visionRange = v; }
    Vision* getVision() const { return vision; }
    void setVision(Vision* v) { vision = v; }
    int getHelth() const { return helth; }
    int getFood() const { return food; }
    void setFood(int v);
    int getStrong() const { return strong; }
    void setStrong(int v);
    bool isAlive() const { return alive; }
    bool isCreature() const { return creature; }
    void setCreature(bool v) { creature = v; }
    bool isWalking() const { return walking; }
    void setWalking(bool v) { walking = v; }
    bool isWorking() const { return working; }
    void setWorking(bool v) { working = v; }
    bool isUnderAttack() const { return underAttack; }
    bool isToErase() const { return toErase; }
    Element* getAttacker() const { return attacker; }
    void setAttacker(Element* v) { attacker = v; }

  protected:
    // The hunting procedure shared by the wild creatures: the first element of the vision list
    // that suits the mood (food when hungry; the attacker or the prey when healthy), then a blow
    // or a bite decided by the element in front, or a step toward the target. False when nothing
    // in sight suits, and the creature is free to wander.
    bool hunt(int preyType);

  private:
    Element* findTarget(int preyType);
    void actOn(Element* target);
    bool isFoodForHungry(const Element* e) const;
    bool isFoeForHealthy(const Element* e, int preyType) const;
    void stepToward(const Element* target);
    void showCurrentFrame();
    // The cache's placeholder, for a frame that the cache does not hold.
    [[gnu::cold]] BITMAP* placeholder() const;

    // The ceilings of the counters are the same for every element.
    static constexpr int maxCounterHelth = 500;
    static constexpr int maxCounterEat = 20;
    static constexpr int maxCounterAttack = 20;
    static constexpr int maxCounterDead = 100;
    static constexpr int maxCounterFood = 20;
    static constexpr int maxCounterUnderAttack = 40;

    // What run() reads and writes on every pass comes first, so that a land tile's pass touches
    // the first two cache lines of the element and no more.
    World* world;
    // The kind's sixteen frames, shared with the image cache instead of copied.
    const Images::Frames* images;
    BITMAP* image;
    int lastSecound;
    int time;
    int maxTime;
    int direction;
    int type;
    int counterAttack;
    int counterEat;
    int counterFood;
    int counterUnderAttack;
    int counterHelth;
    Element* attacker;
    int food;
    bool walking;
    bool working;
    bool alive;
    bool creature;
    bool underAttack;
    bool toErase;
    int counterDead;

    int x;
    int y;
    BITMAP* imageMeat;
    BITMAP* imageDead;
    std::string name;
    int visionRange;
    int helth;
    int strong;
    Vision* vision;
};

#endif
