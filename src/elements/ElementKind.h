#ifndef ORVALLE_ELEMENT_KIND_H
#define ORVALLE_ELEMENT_KIND_H

#include <string>

class Element;
class World;

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

// One kind of element: its name (also the name of its image set), its type code, the layer the
// map puts it on, the class that is built for it and the settings that differ from an element's
// defaults. Every fact about a kind lives in the one table of ElementKind.cpp.
struct ElementKind {
    const char* name;
    int type;
    int layer;
    // Its letter in the character pictures that tests and tools draw maps with.
    char letter;
    bool creature;
    // Animates in place while standing (every kind but the avatar).
    bool working;
    // Land a creature may step onto.
    bool walkable;
    // Edible while it has food, which regrows one unit at a time up to full (the tree).
    bool bearsFruit;
    // The census counts creatures of this kind, living and dead, in the columns of this number
    // (0, 1, 2, ... in order); -1 for kinds it does not count.
    int censusColumn;
    // Bound of the step timer, in passes; land tiles get a random one from the loader instead.
    int maxTime;
    // A new element of this kind, of its class, in a world.
    Element* (*build)(World* world, const ElementKind& kind);

    // A creature that the player does not steer: every creature kind but the avatar's.
    bool isWild() const { return creature && type != AVATAR; }
    // Its name in the plural, as the counts of its creatures are labelled: "cyclopes".
    std::string plural() const { return std::string(name) + "s"; }

    // Whether land of a type code can be walked on: as its land kind says, and for any other
    // code (an element that a caller put on the land layer), when the code is at most 199.
    static bool isWalkable(int type);
    // Whether an element of the type code bears fruit; false for a code of no kind.
    static bool isFruitBearing(int type);
    // The kind that a letter of a map picture stands for on a layer, null for none.
    static const ElementKind* findLetter(int layer, char letter);

    // The kind of a type code, null for a code that names none.
    static const ElementKind* find(int type);
    // The kind that a map code makes on a layer, null when the code makes nothing there.
    static const ElementKind* find(int layer, int code);
    // The kind of a type code that names one.
    static const ElementKind& of(int type);

    static const ElementKind* begin();
    static const ElementKind* end();
};

#endif
