#ifndef ORVALLE_CENSUS_H
#define ORVALLE_CENSUS_H

#include <string>
#include <vector>

class Element;
class World;
struct ElementKind;

// A head count of the world at one moment, one CSV row per count:
//   pass                  the number of passes run so far
//   <kind>s_alive         creatures of the kind on the grid that are alive
//   <kind>s_dead          creatures of the kind that died: remains still on the grid plus those
//                         that rotted away and were taken off the grid
//   carcasses_with_meat   dead creatures on the grid with food left
//   trees_with_food       trees on the grid with food left
//   tree_food             the food of all trees on the grid
// for each kind that the kinds table gives a census column. Only the element layer holds
// creatures and trees.
class Census {
  public:
    explicit Census(const World& world);

    // The kinds that the census counts, in the order of their columns.
    static const std::vector<const ElementKind*>& countedKinds();
    static std::string header();
    std::string row(long pass) const;

    int getAlive(int type) const;
    int getDead(int type) const;
    int getCarcassesWithMeat() const { return carcassesWithMeat; }
    int getTreesWithFood() const { return treesWithFood; }
    long getTreeFood() const { return treeFood; }

  private:
    struct Tally {
        int alive = 0;
        int dead = 0;
    };

    void countOnGrid(const Element& element);
    // The place of a creature's kind among the counted kinds, -1 for anything else.
    static int slot(const Element& element);
    static int slot(int type);

    // One per counted kind, in the same order.
    std::vector<Tally> tallies;
    int carcassesWithMeat = 0;
    int treesWithFood = 0;
    long treeFood = 0;
};

#endif
