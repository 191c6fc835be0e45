#ifndef ORVALLE_LAND_CELLS_H
#define ORVALLE_LAND_CELLS_H

#include "elements/ElementRecord.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class Element;
struct ElementKind;
class World;

// The land of a grid kept as values. Nearly every land tile only animates on the idle clock, and
// is like every other tile of its kind but for its cell, its step timer's bound and where its
// timer and frame stood when it began to follow the clock: four bytes, where its element takes
// well over a hundred. A cell keeps those values until something asks for its element, which is
// then made as it would be had it stood there all along (WorldGrid).
class LandCells {
  public:
    void shape(int columns, int rows);

    // Takes over e, which stands in the cell, when it follows the idle clock from tick `ticks`
    // and is a tile like those taken over before but for its values. True when taken over: the
    // cell then holds e's values, and e itself is no longer needed.
    bool takeOver(const Element& e, int column, int row, long ticks);
    bool holds(int column, int row) const {
        const std::uint8_t kind = cells[at(column, row)].kind;
        return kind != noKind && kind != madeHere;
    }
    // The element for the values of a cell that holds some; the cell holds none from then on,
    // and is marked as made here until a write takes that element out (forgetMade).
    Element* make(World& world, int column, int row);
    bool wasMadeHere(int column, int row) const { return cells[at(column, row)].kind == madeHere; }
    void forgetMade(int column, int row) { cells[at(column, row)].kind = noKind; }
    // An element equal to the one that the cell's values stand for, which the caller ends; the
    // cell keeps its values.
    std::unique_ptr<Element> copy(World& world, int column, int row) const;

  private:
    // A cell's values; kind noKind for a cell that holds none.
    struct Values {
        std::uint8_t kind;    // the kind's index in the kinds table, plus one
        std::uint8_t maxTime; // the step timer's bound
        std::uint8_t time;    // the step timer when it began to follow the clock
        std::uint8_t shown;   // the frame shown then (ElementRecord::shown)
    };
    static constexpr std::uint8_t noKind = 0;
    static constexpr std::uint8_t madeHere = 255;

    std::size_t at(int column, int row) const {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(height) +
               static_cast<std::size_t>(row);
    }
    // The record of e with the values that differ from tile to tile set to nought.
    static ElementRecord common(const Element& e);
    ElementRecord recordOf(int column, int row) const;
    static const ElementKind& kindOf(const Values& v);
    Element* build(World& world, int column, int row) const;

    std::vector<Values> cells;
    int height = 0;
    // Per kind of the kinds table, the record that its tiles share once their values are
    // nought; recorded means the kind has one.
    std::vector<ElementRecord> shared;
    std::vector<bool> recorded;
    // The clock's tick from which every tile kept here follows it.
    long since = 0;
    bool anyKept = false;
};

#endif
