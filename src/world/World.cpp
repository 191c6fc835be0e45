#include "world/World.h"

#include "core/InputLatch.h"
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "elements/Vision.h"
#include "world/LoadWorld.h"
#include "world/MapBuilder.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {
const char* const musicFile = "clkcwhrv.mid";
// The rest between two passes of a world played without a stage, as the game rests.
const int restMilliseconds = 30;
// The sets that no kind names: a dead creature's meat, and its remains once the meat is gone.
const char* const corpseImageSets[] = {"meat", "dead"};
} // namespace

World::World(std::string fileName) : World(std::move(fileName), std::string()) {}

World::World(std::string fileName, const std::optional<std::string>& mediaFolder)
    : World(std::move(fileName), mediaFolder, true) {}

World::World(std::string fileName, const std::optional<std::string>& mediaFolder, bool idleClock)
    : World(Unshaped{}, mediaFolder, idleClock) {
    loadWorld(std::move(fileName));
}

World::World(Unshaped, const std::optional<std::string>& mediaFolder, bool idleClock)
    : Habitat(static_cast<SweepBooks&>(*this)), grid(*this), keeper(grid),
      calendar(std::make_unique<Timer>()), sweep(grid, keeper, *calendar, clockKept(), idleClock) {
    loadMedia(mediaFolder);
}

World::~World() = default;

Habitat* Habitat::of(World* world) {
    return world;
}

World* Habitat::worldOf(Habitat* habitat) {
    return static_cast<World*>(habitat);
}

// The music starts before the map is read; every kind's image set is in the cache before the
// first element asks for its frames.
void World::loadMedia(const std::optional<std::string>& folder) {
    media = folder;
    if (media) {
        music.reset(load_midi(Images::pathIn(*media, musicFile).c_str()));
    }
    setMusic(true);
    images = std::make_unique<Images>(media);
    for (const char* name : corpseImageSets) {
        images->add(name);
    }
    for (const ElementKind* kind = ElementKind::begin(); kind != ElementKind::end(); ++kind) {
        images->add(kind->name);
    }
}

void World::loadWorld(std::string fileName) {
    if (grid.isShaped()) {
        std::fprintf(stderr, "Not loading %s: this world already holds a map\n", fileName.c_str());
        return;
    }
    LoadWorld reader(std::move(fileName));
    grid.shape(reader.getWidth(), reader.getHeight());
    sweep.startClock();
    MapBuilder::Residents residents = MapBuilder(grid, keeper, *this).build(reader);
    avatar = residents.avatar;
    wildCreatures = std::move(residents.wildCreatures);
    // The view starts on the avatar.
    centreView();
}

Element* World::get(int layer, int column, int row) const {
    return grid.get(layer, column, row);
}

void World::set(int layer, int column, int row, Element* e) {
    if (!grid.isInside(layer, column, row)) {
        return;
    }
    if (Element* leaving = grid.get(layer, column, row); leaving != nullptr && leaving != e) {
        leaving->wakeUp();
    }
    if (e != nullptr) {
        e->stayAwake();
        noteCreature(e);
    }
    keeper.put(layer, column, row, e);
}

// A caller ended an element that it took out of the grid.
void World::forget(const Element& e) {
    keeper.forget(e);
    if (avatar == &e) {
        avatar = nullptr;
    }
    if (selected == &e) {
        selected = nullptr;
    }
    std::erase(wildCreatures, &e);
}

void World::noteCreature(Element* e) {
    if (e->isCreature() && e != avatar &&
        std::find(wildCreatures.begin(), wildCreatures.end(), e) == wildCreatures.end()) {
        wildCreatures.push_back(e);
    }
}

Vision* World::getVision(Element* e, int range) const {
    if (e == nullptr) {
        return nullptr;
    }
    auto* vision = new Vision();
    grid.see(Viewpoint{e->getX(), e->getY(), e->getDirection(), range}, *vision);
    return vision;
}

// A look that waits lists the cells as they are still: looking again from the same viewpoint, as
// a creature does in each turn of a step, would list the same.
void World::look(const Element& viewer, Sight& sight) {
    const Viewpoint from{viewer.getX(), viewer.getY(), viewer.getDirection(),
                         viewer.getVisionRange()};
    if (!sight.pending || sight.from != from) {
        const bool mayWait =
            sweep.isTakingTurn(viewer) && grid.peek(elementLayer, from.x, from.y) == &viewer;
        grid.look(sight, from, mayWait);
    }
}

Stage* World::getStage() {
    if (stage == nullptr) {
        stage = Stage::make();
    }
    return stage.get();
}

void World::draw() {
    if (Stage* shown = getStage()) {
        shown->draw(*this);
    }
}

void World::run() {
    if (Stage* played = getStage()) {
        played->run(*this);
        return;
    }
    for (InputSnapshot next = InputLatch::take(); !next.quits(); next = InputLatch::take()) {
        pass(next);
        rest(restMilliseconds);
    }
}

void World::pass(const InputSnapshot& passInput) {
    input = passInput;
    sweep.run();
    centreView();
    incTimer();
    ++passes;
    switchMusicWithoutAvatar();
    selectWithMouse();
}

void World::centreView() {
    if (avatar == nullptr) {
        return;
    }
    setX(avatar->getX() - getScreenWidth() / 2);
    setY(avatar->getY() - getScreenHeight() / 2);
}

// The avatar switches the music while it lives; after its death (or on a map without one) the
// world takes the same keys, in the same order.
void World::switchMusicWithoutAvatar() {
    if (avatar != nullptr && avatar->isAlive()) {
        return;
    }
    if (input.isHeld(Action::musicOn)) {
        setMusic(true);
    } else if (input.isHeld(Action::musicOff)) {
        setMusic(false);
    }
}

// While the left button is down, or after a click since the last pass, the element-layer element
// under the pointer is selected; the right button alone lets go of the selection.
void World::selectWithMouse() {
    if (input.leftButton) {
        Element* clicked = get(elementLayer, getX() + input.pointerX / cellSize,
                               getY() + input.pointerY / cellSize);
        if (clicked != nullptr) {
            selected = clicked;
        }
    } else if (input.rightButton) {
        selected = nullptr;
    }
}

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

// Adding an image set again gives its name new frames; elements built before keep theirs.
const Images::KindFrames& World::getKindFrames(const ElementKind& kind) const {
    if (kindFrames.empty() || kindFramesRevision != images->revision()) {
        kindFrames.clear();
        for (const ElementKind* k = ElementKind::begin(); k != ElementKind::end(); ++k) {
            kindFrames.push_back(&images->getKindFrames(k->name));
        }
        kindFramesRevision = images->revision();
    }
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
    x = clampOrigin(v, getWidth(), getScreenWidth());
}

void World::setY(int v) {
    y = clampOrigin(v, getHeight(), getScreenHeight());
}
