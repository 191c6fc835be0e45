#ifndef ORVALLE_BYTE_READER_H
#define ORVALLE_BYTE_READER_H

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Reads what a ByteWriter wrote, checking every step: a read past the end, a number too long or
// out of the range asked for throws Damaged, which says what was being read. Nothing is read
// outside the bytes given.
class ByteReader {
  public:
    class Damaged : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    explicit ByteReader(std::string_view bytes) : in(bytes) {}

    std::uint8_t byte(const char* what);
    std::uint64_t number(const char* what);
    std::int64_t signedNumber(const char* what);
    // A number that must lie in lowest..highest.
    std::int64_t numberIn(std::int64_t lowest, std::int64_t highest, const char* what);
    // A count that must be at most highest.
    std::uint64_t countUpTo(std::uint64_t highest, const char* what);
    std::uint32_t word(const char* what);
    std::string_view bytes(std::size_t count, const char* what);
    // A text of at most longest bytes.
    std::string text(std::size_t longest, const char* what);

    std::size_t left() const { return in.size() - at; }
    // Throws unless every byte was read.
    void expectEnd(const char* what) const;

  private:
    [[noreturn]] static void fail(const std::string& why, const char* what);

    std::string_view in;
    std::size_t at = 0;
};

#endif
