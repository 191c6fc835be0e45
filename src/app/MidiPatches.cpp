#include "app/MidiPatches.h"

#include <allegro.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {
// The first patch file an index names on its "<program> <absolute path>" lines, or "" if none.
// The patches of a set come in one package, so the first stands for all of them.
std::string firstPatch(const char* index) {
    std::ifstream in(index);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        int program = 0;
        std::string path;
        if (fields >> program >> path && path[0] == '/') {
            return path;
        }
    }
    return "";
}
} // namespace

bool useShippedPatches(const char* index) {
    if (get_config_string("sound", "patches", nullptr) != nullptr) {
        return false;
    }
    const std::string patch = firstPatch(index);
    if (patch.empty() || !exists(patch.c_str())) {
        return false;
    }
    // Allegro looks for a relative patches file beside the program and in the home folder,
    // not in the working directory: it gets the index by its full path.
    char path[4096];
    canonicalize_filename(path, index, sizeof path);
    const std::string settings = std::string("[sound]\npatches = ") + path + "\n";
    override_config_data(settings.c_str(), static_cast<int>(settings.size()));
    return true;
}
