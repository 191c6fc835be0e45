#include "core/ByteReader.h"

namespace {
// Ten bytes of 7 bits hold any 64-bit number.
const int longestNumber = 10;
} // namespace

void ByteReader::fail(const std::string& why, const char* what) {
    throw Damaged(why + " in " + what);
}

std::uint8_t ByteReader::byte(const char* what) {
    if (at >= in.size()) {
        fail("the file ends early", what);
    }
    return static_cast<std::uint8_t>(in[at++]);
}

std::uint64_t ByteReader::number(const char* what) {
    std::uint64_t n = 0;
    for (int i = 0; i < longestNumber; ++i) {
        const std::uint8_t b = byte(what);
        n |= static_cast<std::uint64_t>(b & 0x7Fu) << (7 * i);
        if ((b & 0x80u) == 0) {
            return n;
        }
    }
    fail("a number too long", what);
}

std::int64_t ByteReader::signedNumber(const char* what) {
    const std::uint64_t n = number(what);
    return static_cast<std::int64_t>(n >> 1) ^ -static_cast<std::int64_t>(n & 1u);
}

std::int64_t ByteReader::numberIn(std::int64_t lowest, std::int64_t highest, const char* what) {
    const std::int64_t n = signedNumber(what);
    if (n < lowest || n > highest) {
        fail("a value out of range (" + std::to_string(n) + ")", what);
    }
    return n;
}

std::uint64_t ByteReader::countUpTo(std::uint64_t highest, const char* what) {
    const std::uint64_t n = number(what);
    if (n > highest) {
        fail("a count too large (" + std::to_string(n) + ")", what);
    }
    return n;
}

std::uint32_t ByteReader::word(const char* what) {
    std::uint32_t w = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        w |= static_cast<std::uint32_t>(byte(what)) << shift;
    }
    return w;
}

std::string_view ByteReader::bytes(std::size_t count, const char* what) {
    if (count > left()) {
        fail("the file ends early", what);
    }
    const std::string_view read = in.substr(at, count);
    at += count;
    return read;
}

std::string ByteReader::text(std::size_t longest, const char* what) {
    const std::uint64_t length = number(what);
    if (length > longest) {
        fail("a text too long", what);
    }
    return std::string(bytes(static_cast<std::size_t>(length), what));
}

void ByteReader::expectEnd(const char* what) const {
    if (at != in.size()) {
        fail(std::to_string(left()) + " bytes too many", what);
    }
}
