#include "world/BestTime.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
const char* const folderName = "orvalle";
const char* const fileName = "best-time";
// Longer than any life could last: a number beyond it is no record but a damaged file.
const long mostPasses = 1'000'000'000'000L;
const std::size_t mostDigits = 13;

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

// The record in a file's text: digits, perhaps a line break, nothing else.
std::optional<long> recordIn(const std::string& text) {
    const std::string digits = text.ends_with('\n') ? text.substr(0, text.size() - 1) : text;
    if (digits.empty() || digits.size() > mostDigits ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const long passes = std::strtol(digits.c_str(), nullptr, 10);
    if (passes <= 0 || passes > mostPasses) {
        return std::nullopt;
    }
    return passes;
}
} // namespace

std::optional<std::string> BestTime::defaultFile() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data != nullptr && data[0] == '/') {
        folder = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.local/share";
    } else {
        return std::nullopt;
    }
    return folder + "/" + folderName + "/" + fileName;
}

BestTime::BestTime(std::string recordFile) : file(std::move(recordFile)) {
    load();
}

void BestTime::load() {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        if (errno != ENOENT) {
            std::fprintf(stderr, "Cannot read the best time in %s (%s): it starts afresh.\n",
                         file.c_str(), std::strerror(errno));
        }
        return;
    }
    // No further than a record can be long: one more byte tells a longer file.
    std::string text(mostDigits + 2, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), in));
    std::fclose(in);
    best = recordIn(text);
    if (!best) {
        std::fprintf(stderr, "The best time in %s is damaged: it starts afresh.\n", file.c_str());
    }
}

bool BestTime::offer(long passes) {
    if (passes <= 0 || (best && passes <= *best)) {
        return false;
    }
    best = passes;
    save();
    return true;
}

void BestTime::save() const {
    const std::string temporary = file + ".new" + std::to_string(getpid());
    bool written = makeFolders(file);
    if (written) {
        std::FILE* out = std::fopen(temporary.c_str(), "w");
        written = out != nullptr;
        if (out != nullptr) {
            written = std::fprintf(out, "%ld\n", *best) > 0 && std::fflush(out) == 0 &&
                      fsync(fileno(out)) == 0;
            written = std::fclose(out) == 0 && written;
        }
        written = written && std::rename(temporary.c_str(), file.c_str()) == 0;
    }
    if (!written) {
        std::fprintf(stderr, "Cannot keep the best time in %s (%s).\n", file.c_str(),
                     std::strerror(errno));
        std::remove(temporary.c_str());
    }
}
