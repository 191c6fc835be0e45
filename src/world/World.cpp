#include "world/World.h"

#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementArena.h"
#include "elements/ElementKind.h"
#include "images/Images.h"

#include <utility>

namespace {
// The world buffer holds one cell more than the view on every side.
const int bufferWidth = World::frameWidth + 2 * World::cellSize;
const int bufferHeight = World::frameHeight + 2 * World::cellSize;
const char* const musicFile = "clkcwhrv.mid";
// The sets that no kind names: a dead creature's meat, and its remains once the meat is gone.
const char* const corpseImageSets[] = {"meat", "dead"};
} // namespace

World::World(std::string fileName) : World(std::move(fileName), std::string()) {}

World::World(std::string fileName, const std::optional<std::string>& mediaFolder)
    : World(std::move(fileName), mediaFolder, true) {}

World::World(std::string fileName, const std::optional<std::string>& mediaFolder, bool idleClockOn)
    : image(create_bitmap(frameWidth, frameHeight)),
      buffer(create_bitmap(bufferWidth, bufferHeight)), x(0), y(0), avatar(nullptr),
      selected(nullptr), restartAsked(false), height(0), width(0),
      calendar(std::make_unique<Timer>()), arena(std::make_unique<ElementArena>()) {
    idleClock.on = idleClockOn;
    loadMedia(mediaFolder);
    loadWorld(std::move(fileName));
}

World::~World() {
    if (holdsOthersElements) {
        deleteOthersElements();
    }
    // The mouse pointer is drawn onto the frame; take it off before the frame goes away, or
    // the library would later restore the pointer's background into freed memory.
    show_mouse(nullptr);
}

// The music starts before the map is read; every kind's image set is in the cache before the
// first element asks for its frames.
void World::loadMedia(const std::optional<std::string>& mediaFolder) {
    if (mediaFolder) {
        music.reset(load_midi(Images::pathIn(*mediaFolder, musicFile).c_str()));
    }
    setMusic(true);
    images = std::make_unique<Images>(mediaFolder);
    for (const char* name : corpseImageSets) {
        images->add(name);
    }
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        images->add(kind->name);
        kindFrames.push_back(&images->getKindFrames(kind->name));
    }
}

// Its body may have left the grid; the pointer to it stays valid for the world's life.
bool World::isAvatarDead() const {
    return avatar != nullptr && !avatar->isAlive();
}

int World::countLiving(int type) const {
    int living = 0;
    for (const Element* creature : wildCreatures) {
        living += creature->getType() == type && creature->isAlive();
    }
    return living;
}

const Images::KindFrames& World::getKindFrames(const ElementKind& kind) const {
    return *kindFrames[static_cast<std::size_t>(&kind - ElementKind::begin())];
}

void World::incTimer() {
    calendar->inc();
}

// Without a loaded tune, or without a MIDI driver (no sound installed, as in headless runs,
// where the library would crash trying), there is nothing to start and the world stays silent.
void World::setMusic(bool on) {
    musicOn = on;
    if (!on) {
        stop_midi();
    } else if (music != nullptr && midi_driver != nullptr && midi_driver->id != MIDI_NONE) {
        play_midi(music.get(), -1);
    }
}

// Against the far edge first: a grid narrower than the screen gets a negative origin, so that
// the grid's last column meets the screen's right edge.
int World::clampOrigin(int v, int size, int screenSize) {
    const int max = size - screenSize;
    if (v > max) {
        return max;
    }
    return v < 0 ? 0 : v;
}

void World::setX(int v) {
    x = clampOrigin(v, width, getScreenWidth());
}

void World::setY(int v) {
    y = clampOrigin(v, height, getScreenHeight());
}
