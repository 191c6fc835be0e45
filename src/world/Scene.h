#ifndef ORVALLE_SCENE_H
#define ORVALLE_SCENE_H

#include "world/World.h"

#include <vector>

class Element;
class Images;
class Timer;

// What drawing reads of a world, and nothing more: its size, the view, the cells, the avatar and
// the selection, the calendar, the image cache and the wild creatures. It changes nothing. The
// elements come as the grid holds them, because showing one (its frame, its status line) is the
// element's own business.
class Scene {
  public:
    explicit Scene(const World& shown) : world(shown) {}

    int getWidth() const { return world.getWidth(); }
    int getHeight() const { return world.getHeight(); }
    // The view origin: the grid cell at the top left of the screen.
    int getX() const { return world.getX(); }
    int getY() const { return world.getY(); }
    Element* get(Habitat::Layer layer, int column, int row) const {
        return world.get(layer, column, row);
    }
    // The frame that the land of a cell shows, null for none: of the land kept as values no
    // element is made, which a picture of the whole grid would do for millions of cells.
    BITMAP* getLandImage(int column, int row) const;
    const Element* getAvatar() const { return world.getAvatar(); }
    bool isAvatarDead() const { return world.isAvatarDead(); }
    Element* getSelected() const { return world.getSelected(); }
    const Timer& getCalendar() const { return *world.getTimer(); }
    const Images& getImages() const { return *world.getImages(); }
    const std::vector<Element*>& getWildCreatures() const { return world.getWildCreatures(); }
    int countLiving(int type) const { return world.countLiving(type); }

  private:
    const World& world;
};

#endif
