#include "ElementKind.h"

#include "Avatar.h"
#include "Cyclope.h"
#include "Element.h"
#include "ElementArena.h"
#include "Spider.h"
#include "World.h"

#include <cstdlib>
#include <iterator>
#include <vector>

namespace {
const int defaultMaxTime = 10;
const int avatarMaxTime = 6;

// The creature classes know their own kind.
template <class Creature>
Element* buildCreature(ElementArena& arena, World* world, const ElementKind& /*kind*/) {
    return arena.create<Creature>(world);
}

Element* buildPlain(ElementArena& arena, World* world, const ElementKind& kind) {
    return arena.create<Element>(world, kind);
}

const int land = World::landLayer;
const int element = World::elementLayer;

// In the order in which the world registers their image sets.
const ElementKind kinds[] = {
    // name, type code, layer, creature, working, maxTime, class
    {"avatar", AVATAR, element, true, false, avatarMaxTime, buildCreature<Avatar>},
    {"cyclope", CYCLOPE, element, true, true, defaultMaxTime, buildCreature<Cyclope>},
    {"water", WATER, land, false, true, defaultMaxTime, buildPlain},
    {"adobe", ADOBE, land, false, true, defaultMaxTime, buildPlain},
    {"spider", SPIDER, element, true, true, defaultMaxTime, buildCreature<Spider>},
    {"ground", GROUND, land, false, true, defaultMaxTime, buildPlain},
    {"fire", FIRE, element, false, true, defaultMaxTime, buildPlain},
    {"lawn", LAWN, land, false, true, defaultMaxTime, buildPlain},
    {"littlelawn", LITTLELAWN, land, false, true, defaultMaxTime, buildPlain},
    {"rocks", ROCKS, land, false, true, defaultMaxTime, buildPlain},
    {"tree", TREE, element, false, true, defaultMaxTime, buildPlain},
    {"wall", WALL, element, false, true, defaultMaxTime, buildPlain},
};
} // namespace

const ElementKind* ElementKind::begin() {
    return std::begin(kinds);
}

const ElementKind* ElementKind::end() {
    return std::end(kinds);
}

namespace {
// Every cell of a map asks for its kind, so the kinds are indexed once by their (small) codes.
const std::vector<const ElementKind*>& kindsByType() {
    static const std::vector<const ElementKind*> index = [] {
        std::vector<const ElementKind*> byType;
        for (const ElementKind& kind : kinds) {
            if (static_cast<std::size_t>(kind.type) >= byType.size()) {
                byType.resize(static_cast<std::size_t>(kind.type) + 1, nullptr);
            }
            byType[kind.type] = &kind;
        }
        return byType;
    }();
    return index;
}
} // namespace

const ElementKind* ElementKind::find(int type) {
    const std::vector<const ElementKind*>& byType = kindsByType();
    return type >= 0 && static_cast<std::size_t>(type) < byType.size() ? byType[type] : nullptr;
}

const ElementKind* ElementKind::find(int layer, int code) {
    const ElementKind* kind = find(code);
    return kind != nullptr && kind->layer == layer ? kind : nullptr;
}

const ElementKind& ElementKind::of(int type) {
    const ElementKind* kind = find(type);
    if (kind == nullptr) {
        std::abort(); // only the kinds' own type codes are passed here
    }
    return *kind;
}
