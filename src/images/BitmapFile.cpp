#include "images/BitmapFile.h"

#include "images/RunLengthStream.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
const long fileHeaderSize = 14;
const long os2InfoSize = 12;
const long windowsInfoSize = 40;
const std::uint32_t uncompressed = 0;
const std::uint32_t runLength8 = 1;
const std::uint32_t runLength4 = 2;
const std::uint32_t bitFields = 3;
// A run-length file of a few bytes can declare any size, and Allegro allocates and clears it
// all: sides beyond this are refused (a sprite is 100 pixels, the screen 800).
const std::int64_t largestRunLengthSide = 2048;

struct Header {
    std::uint32_t dataOffset;
    long infoSize;
    std::int64_t width;
    std::int64_t height;
    unsigned bitsPerPixel;
    std::uint32_t compression;
};

std::uint32_t little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// Fills header from the first bytes of the file; false when they are no BMP header.
bool parse(const unsigned char* bytes, long length, Header& header) {
    if (length < fileHeaderSize + os2InfoSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const unsigned char* info = bytes + fileHeaderSize;
    header.dataOffset = little(bytes + 10, 4);
    header.infoSize = little(info, 4);
    if (header.infoSize == os2InfoSize) {
        header = {header.dataOffset,   os2InfoSize,          little(info + 4, 2),
                  little(info + 6, 2), little(info + 10, 2), uncompressed};
        return true;
    }
    if (header.infoSize < windowsInfoSize || length < fileHeaderSize + windowsInfoSize) {
        return false;
    }
    header.width = static_cast<std::int32_t>(little(info + 4, 4));
    header.height = static_cast<std::int32_t>(little(info + 8, 4));
    header.bitsPerPixel = little(info + 14, 2);
    header.compression = little(info + 16, 4);
    return true;
}

bool isRunLength(const Header& header) {
    return header.compression == runLength8 || header.compression == runLength4;
}

bool isSupportedFormat(const Header& header) {
    switch (header.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24: return header.compression == uncompressed;
    case 16:
    case 32: return header.compression == uncompressed || header.compression == bitFields;
    default: return false;
    }
}

// The pixel rows, each padded to four bytes, must fit in the file after the headers. A negative
// height (rows stored top-down) reaches Allegro's 64-bit build as a height near 2^32, for which
// it asks malloc for about 2^64 bytes: such a file never loads, so it is refused here.
bool pixelsFitIn(const Header& header, long fileSize) {
    if (header.width <= 0 || header.height <= 0) {
        return false;
    }
    const std::int64_t rowBytes = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    return fileHeaderSize + header.infoSize + rowBytes * header.height <= fileSize;
}

// Allegro decodes RLE8 only from 8-bit and RLE4 only from 4-bit files with the Windows header,
// bottom-up, starting right at the data offset (the palette before it is read to there). A side
// of no pixel is refused by the walk of the data.
bool isDecodableRunLength(const Header& header) {
    const unsigned bits = header.compression == runLength8 ? 8 : 4;
    return header.bitsPerPixel == bits && header.infoSize == windowsInfoSize &&
           header.width <= largestRunLengthSide && header.height <= largestRunLengthSide &&
           header.dataOffset >= fileHeaderSize + windowsInfoSize;
}

// Reads the run-length data from the file and walks it as the decoder will.
bool runLengthDataFits(const Header& header, std::FILE* file, long fileSize) {
    if (!isDecodableRunLength(header)) {
        return false;
    }
    std::vector<unsigned char> data(static_cast<std::size_t>(fileSize - header.dataOffset));
    if (std::fseek(file, static_cast<long>(header.dataOffset), SEEK_SET) != 0 ||
        std::fread(data.data(), 1, data.size(), file) != data.size()) {
        return false;
    }
    return RunLengthStream::staysInBitmap(data.data(), data.size(), static_cast<int>(header.width),
                                          static_cast<int>(header.height),
                                          header.bitsPerPixel == 4);
}

// Allegro reads (as the palette) every byte up to the data offset, one call a byte even past the
// end of the file: an offset of 2 GB in a file of 200 bytes takes it seconds of work.
bool isSafe(const Header& header, std::FILE* file, long fileSize) {
    if (header.dataOffset > fileSize) {
        return false;
    }
    if (isRunLength(header)) {
        return runLengthDataFits(header, file, fileSize);
    }
    return isSupportedFormat(header) && pixelsFitIn(header, fileSize);
}
} // namespace

bool BitmapFile::isSafeToLoad(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char bytes[fileHeaderSize + windowsInfoSize];
    const long length = static_cast<long>(std::fread(bytes, 1, sizeof bytes, file));
    const bool sized = std::fseek(file, 0, SEEK_END) == 0;
    const long fileSize = sized ? std::ftell(file) : -1;
    Header header{};
    const bool safe = parse(bytes, length, header) && isSafe(header, file, fileSize);
    std::fclose(file);
    return safe;
}
