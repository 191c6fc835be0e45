#include "game/Switches.h"

#include "core/PlayerFiles.h"
#include "game/KeptFile.h"
#include "game/Pace.h"

#include <cstdio>
#include <sstream>
#include <utility>

namespace {
const char* const fileName = "switches";
// Longer than any file of switches: more is no such file but a damaged one.
const std::size_t mostBytes = 256;

const struct {
    const char* name;
    bool Shown::*shown;
} shownSwitches[] = {{"panel", &Shown::panel},
                     {"vitals", &Shown::vitals},
                     {"overview", &Shown::overview},
                     {"effects", &Shown::effects}};

// "1" or "0"; anything else is no switch.
std::optional<bool> onOrOff(const std::string& value) {
    if (value == "1" || value == "0") {
        return value == "1";
    }
    return std::nullopt;
}
} // namespace

std::optional<std::string> Switches::defaultFile() {
    return PlayerFiles::path(fileName);
}

Switches::Switches(std::string switchesFile) : file(std::move(switchesFile)) {
    load();
}

void Switches::load() {
    const std::optional<std::string> text =
        KeptFile::read(*file, mostBytes, "switches", "they start afresh");
    if (text && (text->size() > mostBytes || !read(*text))) {
        Switches afresh;
        afresh.file = std::move(file);
        *this = std::move(afresh);
        std::fprintf(stderr, "The switches in %s are damaged: they start afresh.\n", file->c_str());
    }
}

// Every line a known switch and its value; a switch the file leaves out stays as it is.
bool Switches::read(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t space = line.find(' ');
        const std::string name = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        bool known = false;
        for (const auto& kind : shownSwitches) {
            if (name == kind.name && onOrOff(value)) {
                shown.*kind.shown = *onOrOff(value);
                known = true;
            }
        }
        if (name == "pace" && Pace::named(value)) {
            pace = value;
            known = true;
        }
        if (!known) {
            return false;
        }
    }
    return true;
}

void Switches::keep() const {
    if (!file) {
        return;
    }
    std::string text;
    for (const auto& kind : shownSwitches) {
        text += std::string(kind.name) + (shown.*kind.shown ? " 1\n" : " 0\n");
    }
    text += "pace " + pace + "\n";
    const std::string failed = PlayerFiles::writeWhole(*file, text);
    if (!failed.empty()) {
        std::fprintf(stderr, "Cannot keep the switches in %s (%s).\n", file->c_str(),
                     failed.c_str());
    }
}
