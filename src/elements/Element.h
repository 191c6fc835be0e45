#ifndef ORVALLE_ELEMENT_H
#define ORVALLE_ELEMENT_H

#include "elements/ElementKind.h"
#include "elements/ElementRecord.h"
#include "elements/Vision.h"
#include "images/Images.h"

#include <allegro.h>

#include <cstdint>
#include <string>

class Habitat;
class World;

// The axis directions; the diagonals 8 to 14 are understood by the world but nobody walks them.
enum Direction : int { DOWN = 0, RIGHT = 2, UP = 4, LEFT = 6 };

// Anything that occupies a cell: land tiles, standing things and creatures. Holds the kind, the
// cell, the facing, the animation, the vital values, the cool-down counters, what it sees and who
// hit it last. Creatures override run() and act through move(), eat() and attack().
class Element {
  public:
    // The ceilings of health and food (a creature's carcass, a tree's fruit).
    static constexpr int maxHelth = 100;
    static constexpr int maxFood = 100;

    Element(World* owner, const std::string& kindName, int typeCode);
    // An element of a kind of the kinds table, with the kind's settings.
    Element(World* owner, const ElementKind& kind);
    // An element that a caller took out of its world's grid ends here; its world forgets it.
    virtual ~Element();
    // Elements of every class live in the elements' own storage (ElementStorage).
    static void* operator new(std::size_t size);
    static void operator delete(void* e, std::size_t size) noexcept;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    virtual void run();
    virtual BITMAP* getImage() { return clocked ? imageAfter(clockedTicks()) : now().image; }

    bool move(int towards);
    int eat(Element* meal);
    int isEatenBy(Element* eater);
    bool attack(Element* target);
    int areAttackedBy(Element* hitter);

    void incHelth();
    void decHelth();
    void incTimer();
    bool isStep() const { return getTime() < now().maxTime / 2; }
    void resetTime();
    void reloadVision();
    void loadImages(const std::string& kindName);

    void incCounterAttack();
    void incCounterEat();
    void incCounterFood();
    void incCounterUnderAttack();
    void incCounterDead();
    void incCounterHelth();
    void incFood();

    std::string toString();

    int getX() const { return now().x; }
    // The world finds an element that leaves the clock through its coordinates.
    void setX(int v) { update(&State::x, v); }
    int getY() const { return now().y; }
    void setY(int v) { update(&State::y, v); }
    World* getWorld() const;
    std::string getName() const { return *now().looks->name; }
    int getType() const { return now().type; }
    int getDirection() const { return now().direction; }
    void setDirection(int d);
    int getTime() const { return clocked ? timeAfter(clockedTicks()) : now().time; }
    int getMaxTime() const { return now().maxTime; }
    void setMaxTime(int v) { update(&State::maxTime, v); }
    int getVisionRange() const { return now().visionRange; }
    void setVisionRange(int v) { update(&State::visionRange, v); }
    // What the element saw in its last look, as the cells were then; it owns it.
    Vision* getVision() const;
    // Takes v as what the element sees, and owns it. The vision it held is not released: whoever
    // holds it, holds it whole.
    void setVision(Vision* v);
    // Asks the processor ahead for what a hunting creature reads of e, which may be null: its
    // kind, life, food and cell. A hint, which changes nothing.
    static void readyForHunt(const Element* e) {
        if (e != nullptr) {
            __builtin_prefetch(&e->now().type);
            __builtin_prefetch(&e->now().bearsFruit);
        }
    }
    // The last look, while its vision waits to be filled by the world; null otherwise.
    Sight* waitingLook() const { return sight.pending ? &sight : nullptr; }
    int getHelth() const { return now().helth; }
    int getFood() const { return now().food; }
    void setFood(int v);
    int getStrong() const { return now().strong; }
    void setStrong(int v);
    bool isAlive() const { return now().alive; }
    bool isCreature() const { return now().creature; }
    void setCreature(bool v) { update(&State::creature, v); }
    bool isWalking() const { return now().walking; }
    void setWalking(bool v) { update(&State::walking, v); }
    bool isWorking() const { return now().working; }
    void setWorking(bool v) { update(&State::working, v); }
    bool isUnderAttack() const { return now().underAttack; }
    bool isToErase() const { return now().toErase; }
    Element* getAttacker() const { return now().attacker; }
    void setAttacker(Element* v) { update(&State::attacker, v); }

    // What the element's last turns did, for the player to see between passes. Each is a
    // cool-down counter of the rules: it restarts at 0 on its action and climbs by one at the
    // start of each of the element's turns up to its ceiling, which also stands for "long ago".
    // So 0 read after a pass means "in this pass". A blow struck (whatever it met), a bite:
    int turnsSinceBlow() const { return now().counterAttack; }
    int turnsSinceBite() const { return now().counterEat; }
    // While it is under attack, a blow that landed on it or one of its own that landed (the
    // rules restart one counter for both); long ago otherwise.
    int turnsSinceBlowLanded() const {
        return now().underAttack ? now().counterUnderAttack : maxCounterUnderAttack;
    }

    // An element that nothing can change any more but its step timer and frame (a land tile, a
    // wall, a fire, a tree in full fruit) can leave the sweep and follow the world's IdleClock
    // instead: its timer and frame are then worked out from the clock when they are read, and
    // are what running it on every pass would have made of them. Only an element of this very
    // class may: any other class has a run() of its own, which the sweep calls on every pass.
    // Every change of the state goes through change(), which takes the element off the clock
    // first, and the sweep then runs it until it can follow the clock again. followClock()
    // starts following it when the element may (it has just run, or was just built, and is
    // settled) and tells whether it follows it.
    bool followClock();
    // Follows the clock as it would have since the clock's tick `ticks`, when it may: for an
    // element made from the values that its world kept instead of it (a land tile), which would
    // have followed the clock since then. Tells whether it follows it.
    bool followClockSince(long ticks);
    bool isClocked() const { return clocked; }
    // Leaves the clock, if it follows it, with the timer and frame that the runs so far would
    // have left: an element taken off the grid keeps the frame it had when it left.
    void wakeUp();
    // From now on the element never follows the clock: the sweep runs it on every pass, in
    // every cell where it stands. For elements that a caller puts into the grid, whose cell and
    // coordinates may differ.
    void stayAwake();

    // Who ends the element, and in how many cells of its world's grid it stands. The world keeps
    // both up to date: the element itself only reads them when it ends, to tell its world.
    enum class Keeper : std::uint8_t {
        nobody, // never in a grid, or its world has ended: whoever made it ends it
        world,  // stands in the grid, or the sweep took it off: the world ends it
        caller  // a caller's write left it in no cell: the caller ends it
    };
    Keeper& keeper() { return endedBy; }
    int& cellsHeld() { return cells; }
    int cellsHeld() const { return cells; }

    // Everything the rules keep of an element, as values, as a save file holds it.
    using Record = ElementRecord;
    Record record() const;
    // Takes the values of a record: looks not null, shown 0..shownPlaceholder, direction
    // 0..highestFacing. For an element that stands in no grid yet; its attacker stays as it is.
    void restore(const Record& r);

  protected:
    // The world, as the element's own code reaches it.
    Habitat* getHabitat() const { return habitat; }
    // The hunting procedure shared by the wild creatures: the first element of the vision list
    // that suits the mood (food when hungry; the attacker or the prey when healthy), then a blow
    // or a bite decided by the element in front, or a step toward the target. False when nothing
    // in sight suits, and the creature is free to wander.
    bool hunt(int preyType);

  private:
    // Everything the rules read and change. What a hunting creature reads of each element it
    // sees, from type to bearsFruit, lies together, so that a look asks for it ahead in one or
    // two cache lines (readyForHunt).
    struct State {
        // What the elements of its kind share, held by the cache: the kind name (also the prefix
        // of its frame names), the sixteen frames (facing f: f standing, f + 1 stepping) and the
        // carcass frames, "meat0" for a dead creature with food left and "dead0" without.
        const Images::KindFrames* looks;
        BITMAP* image;   // the frame shown now; never null once run() has chosen one
        int lastSecound; // calendar second of the last per-second update; frozen at death
        int time;        // step timer, 0..maxTime; one step per calendar second
        int maxTime;     // bound of the step timer: a cycle lasts maxTime + 1 seconds
        int direction;   // facing: 0 down, 2 right, 4 up, 6 left; only 0..7 is ever stored
        int type;        // type code of the kind (ElementType)
        int x;           // grid column, 0..width-1
        int y;           // grid row, 0..height-1
        // Food units: a creature's carcass 100 down to 0 in bites of 10, only after death; a
        // tree's fruit regrows by 1 up to 100 and may fall below 0 (a bite at 5 leaves -5).
        int food;
        bool walking;     // in the middle of a step; ends when the step timer wraps
        bool working;     // animates in place while standing; cleared at death
        bool alive;       // false from death on; a non-creature is always alive
        bool creature;    // avatar, cyclope and spider
        bool underAttack; // hit within the last 40 calls
        bool toErase;     // asks the sweep to take it off the grid
        bool bearsFruit;  // a tree: edible while it has food, which regrows up to full
        // Counters, in calls of run(): each climbs to its ceiling and stays there until an action
        // resets it to 0. counterHelth starts full, so a creature loses a point on its first call.
        int counterAttack;      // 0..20: attack allowed at 20
        int counterEat;         // 0..20: bite allowed at 20
        int counterFood;        // 0..20: a tree regrows one unit at 20
        int counterUnderAttack; // 0..40: underAttack and attacker are cleared once it is full
        int counterHelth;       // 0..500: a creature loses a point each time it is full
        Element* attacker;      // who hit it last, while underAttack; not owned, may be off grid
        int counterDead; // calls since a dead creature's food ran out; erased at 100; never reset
        int visionRange; // depth of the cone it sees, in cells (3)
        int helth;       // health points, 0..100; death comes with a decrement at 0
        int strong;      // strength, 0..100 (10); a fight compares strength + health
    };

    // Holds the state so that it can be read freely but changed only through write(), which
    // takes the element off the clock first: no change can forget to.
    class Guarded {
      public:
        explicit Guarded(const State& initial) : state(initial) {}
        const State& read() const { return state; }
        State& write(Element& owner) {
            if (owner.clocked) {
                owner.leaveClock();
            }
            return state;
        }

      private:
        State state;
    };

    Element(World* owner, int typeCode, const Images::KindFrames& frames);
    static State initialState(int typeCode, const Images::KindFrames& frames);
    const State& now() const { return guarded.read(); }
    State& change() { return guarded.write(*this); }
    // Writes a field only when the value differs: a setter that changes nothing leaves the
    // element on the clock.
    template <class T> void update(T State::*field, T value) {
        if (now().*field != value) {
            change().*field = value;
        }
    }

    Element* findTarget(int preyType);
    void actOn(Element* target);
    bool isFoodForHungry(const Element* e) const;
    bool isFoeForHealthy(const Element* e, int preyType) const;
    void stepToward(const Element* target);
    // The frame that the per-second update picks for a step timer value.
    BITMAP* frameAt(int stepTime) const;
    // True when run() can change nothing but the step timer and the frame.
    bool isSettled() const;
    // True when the element is of this very class, whose run() the clock stands for.
    bool isPlainElement() const;
    void leaveClock();
    // The state with the step timer, frame and last update that the clock stands for.
    State unclocked() const;
    // The bitmap of a Record's shown frame.
    BITMAP* frameShown(const Images::KindFrames& looks, int shown) const;
    // The ticks of the clock that this element has had since it began to follow it: one less
    // than the clock's while a sweep that ticked has not yet reached its cell.
    long clockedTicks() const;
    // The step timer and the frame after some ticks of the clock.
    int timeAfter(long ticks) const;
    BITMAP* imageAfter(long ticks) const;
    // The cache's placeholder, for a frame that the cache does not hold.
    BITMAP* placeholder() const;

    // Ceilings of the counters, in calls of run(); the same for every element.
    static constexpr int maxCounterHelth = 500;
    static constexpr int maxCounterEat = 20;
    static constexpr int maxCounterAttack = 20;
    static constexpr int maxCounterDead = 100;
    static constexpr int maxCounterFood = 20;
    static constexpr int maxCounterUnderAttack = 40;

    Habitat* habitat; // the world holding the element, as its own code reaches it; not owned
    // What it saw on its last look (creatures), kept in the element so that it comes with it;
    // its vision is null until it first looks. Filling a look that waits, as getVision() does,
    // changes nothing that a reader can tell apart.
    mutable Sight sight;
    bool clocked;  // follows the idle clock instead of running; time and image as of clockBase
    bool restless; // never follows the clock (stayAwake)
    Keeper endedBy = Keeper::nobody;
    int cells = 0; // cells of its world's grid that hold it
    Guarded guarded;
    long clockBase; // the idle clock's ticks when it began to follow the clock
};

#endif
