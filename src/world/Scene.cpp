#include "world/Scene.h"

#include "elements/Element.h"

BITMAP* Scene::getLandImage(int column, int row) const {
    const WorldGrid& grid = world.grid;
    if (grid.holdsLandValues(column, row)) {
        return grid.copyLand(column, row)->getImage();
    }
    Element* tile = grid.peek(Habitat::landLayer, column, row);
    return tile != nullptr ? tile->getImage() : nullptr;
}
