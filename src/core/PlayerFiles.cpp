#include "core/PlayerFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char* const folderName = "orvalle";

// The folders of a path, made as needed, private to the player; false when one cannot be.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

bool writeAndSync(const std::string& file, std::string_view bytes) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool flushed = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
                         std::fflush(out) == 0 && fsync(fileno(out)) == 0;
    // The reason is the first error's.
    const int error = flushed ? 0 : errno;
    const bool closed = std::fclose(out) == 0;
    if (!flushed) {
        errno = error;
    }
    return flushed && closed;
}
} // namespace

std::optional<std::string> PlayerFiles::path(const std::string& name) {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data != nullptr && data[0] == '/') {
        folder = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.local/share";
    } else {
        return std::nullopt;
    }
    return folder + "/" + folderName + "/" + name;
}

std::string PlayerFiles::writeWhole(const std::string& file, std::string_view bytes) {
    const std::string temporary = file + ".new" + std::to_string(getpid());
    errno = 0;
    const bool written = makeFolders(file) && writeAndSync(temporary, bytes) &&
                         std::rename(temporary.c_str(), file.c_str()) == 0;
    if (written) {
        return {};
    }
    std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    return reason;
}
