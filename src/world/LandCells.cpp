#include "world/LandCells.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"

#include <iterator>
#include <limits>

void LandCells::shape(int columns, int rows) {
    height = rows;
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows),
                 Values{noKind, 0, 0, 0});
    const auto kinds = static_cast<std::size_t>(ElementKind::end() - ElementKind::begin());
    shared.assign(kinds, ElementRecord{});
    recorded.assign(kinds, false);
}

ElementRecord LandCells::common(const Element& e) {
    ElementRecord r = e.record();
    r.x = 0;
    r.y = 0;
    r.maxTime = 0;
    r.time = 0;
    r.shown = 0;
    return r;
}

// The first tile of a kind sets what all its tiles share; the first tile at all, the tick.
bool LandCells::takeOver(const Element& e, int column, int row, long ticks) {
    const ElementKind* kind = ElementKind::find(e.getType());
    const ElementRecord r = e.record();
    const int largest = std::numeric_limits<std::uint8_t>::max();
    if (kind == nullptr || !e.isClocked() || (anyKept && ticks != since) || r.x != column ||
        r.y != row || r.maxTime < 0 || r.maxTime > largest || r.time < 0 || r.time > largest ||
        r.shown < 0 || r.shown > largest) {
        return false;
    }
    const auto index = static_cast<std::size_t>(kind - ElementKind::begin());
    if (index + 1 >= madeHere) {
        return false;
    }
    if (!recorded[index]) {
        shared[index] = common(e);
        recorded[index] = true;
    }
    if (common(e) != shared[index]) {
        return false;
    }
    since = ticks;
    anyKept = true;
    cells[at(column, row)] =
        Values{static_cast<std::uint8_t>(index + 1), static_cast<std::uint8_t>(r.maxTime),
               static_cast<std::uint8_t>(r.time), static_cast<std::uint8_t>(r.shown)};
    return true;
}

const ElementKind& LandCells::kindOf(const Values& v) {
    return ElementKind::begin()[v.kind - 1];
}

ElementRecord LandCells::recordOf(int column, int row) const {
    const Values& v = cells[at(column, row)];
    ElementRecord r = shared[v.kind - 1];
    r.x = column;
    r.y = row;
    r.maxTime = v.maxTime;
    r.time = v.time;
    r.shown = v.shown;
    return r;
}

// Of the kind's own class, with the values it had when it began to follow the clock.
Element* LandCells::build(World& world, int column, int row) const {
    const ElementKind& kind = kindOf(cells[at(column, row)]);
    Element* e = kind.build(&world, kind);
    e->restore(recordOf(column, row));
    e->followClockSince(since);
    return e;
}

Element* LandCells::make(World& world, int column, int row) {
    Element* e = build(world, column, row);
    cells[at(column, row)].kind = madeHere;
    return e;
}

std::unique_ptr<Element> LandCells::copy(World& world, int column, int row) const {
    return std::unique_ptr<Element>(build(world, column, row));
}
