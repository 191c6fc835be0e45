#include "game/BestTime.h"

#include "core/PlayerFiles.h"
#include "game/KeptFile.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
const char* const fileName = "best-time";
// Longer than any life could last: a number beyond it is no record but a damaged file.
const long mostPasses = 1'000'000'000'000L;
const std::size_t mostDigits = 13;

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
    return PlayerFiles::path(fileName);
}

BestTime::BestTime(std::string recordFile) : file(std::move(recordFile)) {
    load();
}

void BestTime::load() {
    // No further than a record can be long: one more byte tells a longer file.
    const std::optional<std::string> text =
        KeptFile::read(file, mostDigits + 1, "best time", "it starts afresh");
    if (!text) {
        return;
    }
    best = recordIn(*text);
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
    const std::string failed = PlayerFiles::writeWhole(file, std::to_string(*best) + "\n");
    if (!failed.empty()) {
        std::fprintf(stderr, "Cannot keep the best time in %s (%s).\n", file.c_str(),
                     failed.c_str());
    }
}
