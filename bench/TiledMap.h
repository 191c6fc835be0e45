#ifndef ORVALLE_TILED_MAP_H
#define ORVALLE_TILED_MAP_H

#include <string>
#include <vector>

// Map text of any size made by repeating a source map in both directions, so both layers keep
// the source's mix of land, trees, walls and creatures (only the first avatar counts).
class TiledMap {
  public:
    // Reads the source map; ends the program when it cannot be read.
    explicit TiledMap(const std::string& sourceFile);

    std::string text(int width, int height) const;

  private:
    std::string layerText(const std::vector<int>& codes, int width, int height) const;

    int sourceWidth;
    int sourceHeight;
    std::vector<int> land;
    std::vector<int> elements;
};

#endif
