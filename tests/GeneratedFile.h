#ifndef ORVALLE_GENERATED_FILE_H
#define ORVALLE_GENERATED_FILE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A read-only stream whose content is made while it is read: pieces of text, each repeated a
// number of times. Files of hundreds of megabytes can so be fed to a reader without being held in
// memory or written to disk.
class GeneratedFile {
  public:
    struct Piece {
        std::string text;
        std::uint64_t repeat;
    };

    explicit GeneratedFile(std::vector<Piece> content);

    // A new stream over the whole content; the caller closes it. The object must outlive it.
    std::FILE* open();

    std::uint64_t size() const;

  private:
    static ssize_t readCookie(void* cookie, char* out, std::size_t size);
    std::size_t fill(char* out, std::size_t size);

    std::vector<Piece> pieces;
    std::size_t piece;
    std::uint64_t repeatsDone;
    std::size_t offset;
};

#endif
