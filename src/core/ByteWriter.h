#ifndef ORVALLE_BYTE_WRITER_H
#define ORVALLE_BYTE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Builds a byte string of numbers and texts in a compact form that does not depend on the
// machine: counts and other small numbers as variable-length integers (7 bits a byte, the low
// bits first), signed ones zigzagged so that small negatives stay short, fixed-width words
// little-endian. ByteReader reads it back.
class ByteWriter {
  public:
    void byte(std::uint8_t b) { out.push_back(static_cast<char>(b)); }
    void number(std::uint64_t n);
    void signedNumber(std::int64_t n);
    void word(std::uint32_t w);
    void bytes(std::string_view raw) { out.append(raw); }
    // Its length, then its bytes.
    void text(std::string_view s);

    const std::string& data() const { return out; }
    std::string take() { return std::move(out); }

    // The CRC-32 (ISO 3309, as zlib and PNG compute it) of the bytes.
    static std::uint32_t crc32(std::string_view bytes);

  private:
    std::string out;
};

#endif
