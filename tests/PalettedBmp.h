#ifndef ORVALLE_PALETTED_BMP_H
#define ORVALLE_PALETTED_BMP_H

#include <cstdint>
#include <string>
#include <vector>

// Paletted BMP files (4 or 8 bits a pixel) made in memory, uncompressed or run-length encoded
// (RLE4, RLE8) as picture editors save them. The palette always has all 256 colours: given no
// palette, Allegro converts with one that holds only what the file has and garbage after it.
struct PalettedPicture {
    int width;
    int height;
    // Palette indices (below 16), row by row from the top.
    std::vector<std::uint8_t> indices;
};

enum class BmpCompression : std::uint32_t { none = 0, rle8 = 1, rle4 = 2 };

// The whole file: headers, palette, then the data as given.
std::string bmpWithData(int width, int height, int bitsPerPixel, BmpCompression compression,
                        const std::string& data);

std::string uncompressedBmp(const PalettedPicture& picture, int bitsPerPixel);

// RLE8 for 8 bits a pixel, RLE4 for 4: runs of a repeated index as encoded runs, other stretches
// as absolute runs, every row closed by an end of line and the picture by an end of bitmap.
std::string runLengthBmp(const PalettedPicture& picture, int bitsPerPixel);

#endif
