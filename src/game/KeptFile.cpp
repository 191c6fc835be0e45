#include "game/KeptFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::optional<std::string> KeptFile::read(const std::string& file, std::size_t most,
                                          const char* what, const char* afresh) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        if (errno != ENOENT) {
            std::fprintf(stderr, "Cannot read the %s in %s (%s): %s.\n", what, file.c_str(),
                         std::strerror(errno), afresh);
        }
        return std::nullopt;
    }
    std::string text(most + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), in));
    std::fclose(in);
    return text;
}
