#include "GeneratedFile.h"

#include <algorithm>

GeneratedFile::GeneratedFile(std::vector<Piece> content)
    : pieces(std::move(content)), piece(0), repeatsDone(0), offset(0) {}

std::FILE* GeneratedFile::open() {
    piece = 0;
    repeatsDone = 0;
    offset = 0;
    cookie_io_functions_t functions{};
    functions.read = &GeneratedFile::readCookie;
    return fopencookie(this, "r", functions);
}

std::uint64_t GeneratedFile::size() const {
    std::uint64_t total = 0;
    for (const Piece& p : pieces) {
        total += p.text.size() * p.repeat;
    }
    return total;
}

ssize_t GeneratedFile::readCookie(void* cookie, char* out, std::size_t size) {
    return static_cast<ssize_t>(static_cast<GeneratedFile*>(cookie)->fill(out, size));
}

std::size_t GeneratedFile::fill(char* out, std::size_t size) {
    std::size_t written = 0;
    while (written < size && piece < pieces.size()) {
        const Piece& current = pieces[piece];
        if (repeatsDone == current.repeat || current.text.empty()) {
            ++piece;
            repeatsDone = 0;
            continue;
        }
        const std::size_t count = std::min(size - written, current.text.size() - offset);
        std::copy_n(current.text.data() + offset, count, out + written);
        written += count;
        offset += count;
        if (offset == current.text.size()) {
            offset = 0;
            ++repeatsDone;
        }
    }
    return written;
}
