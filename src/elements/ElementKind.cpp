#include "elements/ElementKind.h"

#include "elements/Avatar.h"
#include "elements/Cyclope.h"
#include "elements/Element.h"
#include "elements/Habitat.h"
#include "elements/Spider.h"

#include <cstdlib>
#include <iterator>
#include <vector>

namespace {
const int defaultMaxTime = 10;
const int avatarMaxTime = 6;

// An element of the kind, played by the class: Element for land and things, a creature's class
// for a creature, which any kind that behaves as that creature does may name.
template <class Plays> Element* build(World* world, const ElementKind& kind) {
    return new Plays(world, kind);
}

constexpr auto buildPlain = build<Element>;

constexpr int land = Habitat::landLayer;
constexpr int element = Habitat::elementLayer;

// Land with a higher type code than this cannot be walked on.
const int highestWalkableLand = 199;
const int notCounted = -1;

// In the order in which the world registers their image sets. Constant, so that the checks below
// refuse a broken table at build time.
constexpr ElementKind kinds[] = {
    // name, type code, layer, letter, creature, working, walkable, bears fruit, census column,
    // maxTime, class
    {"avatar", AVATAR, element, '@', true, false, false, false, 2, avatarMaxTime, build<Avatar>},
    {"cyclope", CYCLOPE, element, 'C', true, true, false, false, 0, defaultMaxTime, build<Cyclope>},
    {"water", WATER, land, 'w', false, true, false, false, notCounted, defaultMaxTime, buildPlain},
    {"adobe", ADOBE, land, 'a', false, true, true, false, notCounted, defaultMaxTime, buildPlain},
    {"spider", SPIDER, element, 'S', true, true, false, false, 1, defaultMaxTime, build<Spider>},
    {"ground", GROUND, land, 'g', false, true, true, false, notCounted, defaultMaxTime, buildPlain},
    {"fire", FIRE, element, 'F', false, true, false, false, notCounted, defaultMaxTime, buildPlain},
    {"lawn", LAWN, land, 'L', false, true, true, false, notCounted, defaultMaxTime, buildPlain},
    {"littlelawn", LITTLELAWN, land, 'l', false, true, true, false, notCounted, defaultMaxTime,
     buildPlain},
    {"rocks", ROCKS, land, 'r', false, true, true, false, notCounted, defaultMaxTime, buildPlain},
    {"tree", TREE, element, 'T', false, true, false, true, notCounted, defaultMaxTime, buildPlain},
    {"wall", WALL, element, '#', false, true, false, false, notCounted, defaultMaxTime, buildPlain},
};

// The first kind that is the same as an earlier one by `same`, null when there is none.
template <class Same> constexpr const ElementKind* repeatedKind(Same same) {
    for (auto later = std::begin(kinds); later != std::end(kinds); ++later) {
        for (auto earlier = std::begin(kinds); earlier != later; ++earlier) {
            if (same(*earlier, *later)) {
                return later;
            }
        }
    }
    return nullptr;
}

// Each kind must have a code of its own: the index by code keeps only the last kind of a code, so
// the others would vanish from every map without a word.
constexpr int noneReused = -1;
constexpr int reusedTypeCode() {
    const ElementKind* kind =
        repeatedKind([](const ElementKind& a, const ElementKind& b) { return a.type == b.type; });
    return kind != nullptr ? kind->type : noneReused;
}
static_assert(reusedTypeCode() == noneReused,
              "two kinds of the table share a type code (the left side below)");

// A letter of a map picture must name one kind of its layer: findLetter only finds the first.
constexpr char reusedLetter() {
    const ElementKind* kind = repeatedKind([](const ElementKind& a, const ElementKind& b) {
        return a.layer == b.layer && a.letter == b.letter;
    });
    return kind != nullptr ? kind->letter : '\0';
}
static_assert(reusedLetter() == '\0',
              "two kinds of one layer share a letter (its character code is the left side below)");
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

bool ElementKind::isWalkable(int type) {
    const ElementKind* kind = find(land, type);
    return kind != nullptr ? kind->walkable : type <= highestWalkableLand;
}

bool ElementKind::isFruitBearing(int type) {
    const ElementKind* kind = find(type);
    return kind != nullptr && kind->bearsFruit;
}

const ElementKind* ElementKind::findLetter(int layer, char letter) {
    for (const ElementKind& kind : kinds) {
        if (kind.layer == layer && kind.letter == letter) {
            return &kind;
        }
    }
    return nullptr;
}
