#include "core/ByteWriter.h"

#include <array>

namespace {
std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
} // namespace

void ByteWriter::number(std::uint64_t n) {
    while (n >= 0x80) {
        byte(static_cast<std::uint8_t>(n | 0x80));
        n >>= 7;
    }
    byte(static_cast<std::uint8_t>(n));
}

void ByteWriter::signedNumber(std::int64_t n) {
    const auto bits = static_cast<std::uint64_t>(n);
    number((bits << 1) ^ (n < 0 ? ~std::uint64_t{0} : 0));
}

void ByteWriter::word(std::uint32_t w) {
    for (int shift = 0; shift < 32; shift += 8) {
        byte(static_cast<std::uint8_t>(w >> shift));
    }
}

void ByteWriter::text(std::string_view s) {
    number(s.size());
    bytes(s);
}

std::uint32_t ByteWriter::crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) {
        c = table[(c ^ static_cast<unsigned char>(b)) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}
