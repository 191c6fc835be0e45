// Writes a save of a map after its first pass, the avatar's health lowered to a given value: a
// game resumed from it is that close to a warning.
#include "elements/Element.h"
#include "world/SaveFile.h"
#include "world/World.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MAP SAVE HEALTH\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "Allegro could not start: %s\n", allegro_error);
        return 1;
    }
    World world(argv[1], std::nullopt);
    world.pass(InputSnapshot());
    for (Element* avatar = world.getAvatar(); avatar->getHelth() > std::atoi(argv[3]);) {
        avatar->decHelth();
    }
    const std::string failed = SaveFile::write(world, argv[2]);
    if (!failed.empty()) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], failed.c_str());
        return 1;
    }
    return 0;
}
