#include "PalettedBmp.h"

namespace {
const int paletteSize = 256;
const std::size_t longestRun = 255;

void put(std::string& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes += static_cast<char>(value >> (8 * i));
    }
}

// Two pixels a byte for 4 bits (the left one in the high half), one otherwise.
std::string packed(const std::uint8_t* pixels, std::size_t count, bool fourBits) {
    std::string bytes;
    for (std::size_t i = 0; i < count; i += fourBits ? 2 : 1) {
        const int second = fourBits && i + 1 < count ? pixels[i + 1] : 0;
        bytes += static_cast<char>(fourBits ? pixels[i] << 4 | second : pixels[i]);
    }
    return bytes;
}

std::size_t repeatLength(const std::uint8_t* row, std::size_t at, std::size_t width) {
    std::size_t end = at + 1;
    while (end < width && end - at < longestRun && row[end] == row[at]) {
        ++end;
    }
    return end - at;
}

// How many pixels from at on hold no repeated neighbours.
std::size_t literalLength(const std::uint8_t* row, std::size_t at, std::size_t width) {
    std::size_t end = at + 1;
    while (end < width && end - at < longestRun && (end + 1 == width || row[end + 1] != row[end])) {
        ++end;
    }
    return end - at;
}

void encodeRow(std::string& out, const std::uint8_t* row, std::size_t width, bool fourBits) {
    const auto run = [&](std::size_t count, std::uint8_t index) {
        out += static_cast<char>(count);
        out += static_cast<char>(fourBits ? index << 4 | index : index);
    };
    for (std::size_t at = 0; at < width;) {
        std::size_t count = repeatLength(row, at, width);
        if (count > 1) {
            run(count, row[at]);
        } else if ((count = literalLength(row, at, width)) < 3) {
            for (std::size_t i = 0; i < count; ++i) {
                run(1, row[at + i]);
            }
        } else {
            const std::string data = packed(row + at, count, fourBits);
            out += '\0';
            out += static_cast<char>(count);
            out += data + std::string(data.size() % 2, '\0');
        }
        at += count;
    }
    out += std::string("\0\0", 2);
}

const std::uint8_t* rowFromBottom(const PalettedPicture& picture, int y) {
    return picture.indices.data() +
           static_cast<std::size_t>(picture.height - 1 - y) * picture.width;
}
} // namespace

std::string bmpWithData(int width, int height, int bitsPerPixel, BmpCompression compression,
                        const std::string& data) {
    const std::uint32_t dataOffset = 14 + 40 + 4 * paletteSize;
    std::string bytes("BM");
    put(bytes, dataOffset + data.size(), 4);
    put(bytes, 0, 4);
    put(bytes, dataOffset, 4);
    for (std::uint32_t value :
         {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        put(bytes, value, 4);
    }
    put(bytes, 1, 2);
    put(bytes, bitsPerPixel, 2);
    for (std::uint32_t value :
         {static_cast<std::uint32_t>(compression), static_cast<std::uint32_t>(data.size()), 2835u,
          2835u, static_cast<std::uint32_t>(paletteSize), 0u}) {
        put(bytes, value, 4);
    }
    for (int i = 0; i < paletteSize; ++i) {
        put(bytes, (i * 0x4b1d37u) & 0xffffffu, 4);
    }
    return bytes + data;
}

std::string uncompressedBmp(const PalettedPicture& picture, int bitsPerPixel) {
    std::string data;
    for (int y = 0; y < picture.height; ++y) {
        std::string row = packed(rowFromBottom(picture, y), picture.width, bitsPerPixel == 4);
        data += row + std::string((4 - row.size() % 4) % 4, '\0');
    }
    return bmpWithData(picture.width, picture.height, bitsPerPixel, BmpCompression::none, data);
}

std::string runLengthBmp(const PalettedPicture& picture, int bitsPerPixel) {
    std::string data;
    for (int y = 0; y < picture.height; ++y) {
        encodeRow(data, rowFromBottom(picture, y), picture.width, bitsPerPixel == 4);
    }
    data += std::string("\0\1", 2);
    return bmpWithData(picture.width, picture.height, bitsPerPixel,
                       bitsPerPixel == 4 ? BmpCompression::rle4 : BmpCompression::rle8, data);
}
