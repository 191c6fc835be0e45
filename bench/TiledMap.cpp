#include "TiledMap.h"

#include "world/LoadWorld.h"

TiledMap::TiledMap(const std::string& sourceFile) {
    LoadWorld source(sourceFile);
    sourceWidth = source.getWidth();
    sourceHeight = source.getHeight();
    for (int cell = 0; cell < sourceWidth * sourceHeight; ++cell) {
        land.push_back(source.getNext(0));
        elements.push_back(source.getNext(1));
    }
}

std::string TiledMap::text(int width, int height) const {
    std::string text = "<world>\n{[";
    text.append(std::to_string(width)).append("][").append(std::to_string(height));
    text.append("]}\n<land>\n").append(layerText(land, width, height));
    return text.append("<element>\n").append(layerText(elements, width, height));
}

std::string TiledMap::layerText(const std::vector<int>& codes, int width, int height) const {
    std::string text = "{\n";
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int code = codes[(row % sourceHeight) * sourceWidth + column % sourceWidth];
            text.append("[").append(std::to_string(code)).append("]");
        }
        text += "\n";
    }
    return text + "}\n";
}
