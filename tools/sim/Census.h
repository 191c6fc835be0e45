#ifndef ORVALLE_CENSUS_H
#define ORVALLE_CENSUS_H

#include <string>

class Element;
class World;

// A head count of the world at one moment, one CSV row per count:
//   pass                  the number of passes run so far
//   <kind>_alive          creatures of the kind on the grid that are alive
//   <kind>_dead           creatures of the kind that died: remains still on the grid plus those
//                         that rotted away and were taken off the grid
//   carcasses_with_meat   dead creatures on the grid with food left
//   trees_with_food       trees on the grid with food left
//   tree_food             the food of all trees on the grid
// for the kinds cyclopes, spiders and avatars. Only the element layer holds creatures and trees.
class Census {
  public:
    explicit Census(const World& world);

    static std::string header();
    std::string row(long pass) const;

    int getAlive(int type) const;
    int getDead(int type) const;
    int getCarcassesWithMeat() const { return carcassesWithMeat; }
    int getTreesWithFood() const { return treesWithFood; }
    long getTreeFood() const { return treeFood; }

  private:
    struct Kind {
        int alive = 0;
        int dead = 0;
    };

    void countOnGrid(const Element& element);
    // The place of a creature kind in kinds, -1 for anything else.
    static int kindIndex(const Element& element);
    static int kindIndex(int type);

    // Cyclopes, spiders and avatars, in the order of the columns.
    Kind kinds[3];
    int carcassesWithMeat = 0;
    int treesWithFood = 0;
    long treeFood = 0;
};

#endif
