#include "images/RunLengthStream.h"

namespace {
// The escape codes that follow a zero count.
const unsigned char endOfLine = 0;
const unsigned char endOfPicture = 1;
const unsigned char delta = 2;
} // namespace

RunLengthStream::RunLengthStream(const unsigned char* data, std::size_t size, int bitmapWidth,
                                 bool fourBitPixels)
    : next(data), end(data + size), width(bitmapWidth), fourBits(fourBitPixels), line(0),
      position(0) {}

bool RunLengthStream::staysInBitmap(const unsigned char* data, std::size_t size, int width,
                                    int height, bool fourBits) {
    return width > 0 && height > 0 && RunLengthStream(data, size, width, fourBits).walk(height);
}

// The decoder starts on the bottom line and goes up one line per line end. It stops at the end
// of picture, or once it has gone past the top line; whatever follows is never read.
bool RunLengthStream::walk(int height) {
    for (line = height - 1; line >= 0; --line) {
        position = 0;
        Step result = step();
        // Like the decoder, a line whose position got two past its width counts as ended.
        while (result == Step::next && position - 1 <= width) {
            result = step();
        }
        if (result == Step::unsafe) {
            return false;
        }
        if (result == Step::pictureEnd) {
            return true;
        }
    }
    return true;
}

RunLengthStream::Step RunLengthStream::step() {
    if (!take(2)) {
        return Step::unsafe;
    }
    const unsigned char count = next[-2];
    const unsigned char code = next[-1];
    if (count > 0) {
        return write(count);
    }
    switch (code) {
    case endOfLine: return Step::lineEnd;
    case endOfPicture: return Step::pictureEnd;
    case delta: return move();
    default: return absolute(code);
    }
}

// A delta moves right and up without writing; only a later write can land outside.
RunLengthStream::Step RunLengthStream::move() {
    if (!take(2)) {
        return Step::unsafe;
    }
    position += next[-2];
    line -= next[-1];
    return Step::next;
}

// Literal pixels, padded to a 16-bit boundary: RLE8 reads one byte a pixel, RLE4 a 16-bit word
// for every four pixels.
RunLengthStream::Step RunLengthStream::absolute(int pixels) {
    const int bytes = fourBits ? (pixels + 3) / 4 * 2 : (pixels + 1) / 2 * 2;
    return take(static_cast<std::size_t>(bytes)) ? write(pixels) : Step::unsafe;
}

RunLengthStream::Step RunLengthStream::write(int pixels) {
    if (line < 0 || position < 0 || position + pixels > width) {
        return Step::unsafe;
    }
    position += pixels;
    return Step::next;
}

bool RunLengthStream::take(std::size_t count) {
    if (static_cast<std::size_t>(end - next) < count) {
        return false;
    }
    next += count;
    return true;
}
