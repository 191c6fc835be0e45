#ifndef ORVALLE_WORLD_GRID_H
#define ORVALLE_WORLD_GRID_H

#include "elements/Vision.h"

#include <bit>
#include <cstdint>
#include <deque>
#include <vector>

class Element;

// One column of one layer: an element pointer per row, null for an empty cell. Columns, not
// rows, because the sweep goes down each column in turn and so reads every Line front to back.
// Beside the cells, a bit per row marks the cells that the sweep must visit: every cell whose
// element runs, and perhaps a few more. A cell that is empty or whose element follows the idle
// clock may go unmarked, and the sweep then passes it by without reading it.
//
// A second bit per row says, on the land layer, that a creature may step there: walkable land,
// read by every step without touching the land's element.
struct Line {
    std::vector<Element*> cells;
    std::vector<std::uint64_t> awake;
    std::vector<std::uint64_t> open;

    explicit Line(int rows)
        : cells(static_cast<std::size_t>(rows), nullptr),
          awake((static_cast<std::size_t>(rows) + 63) / 64, 0),
          open((static_cast<std::size_t>(rows) + 63) / 64, 0) {}
    bool isAwake(int row) const { return isSet(awake, row); }
    void wake(int row) { set(awake, row, true); }
    void sleep(int row) { set(awake, row, false); }
    bool isOpen(int row) const { return isSet(open, row); }
    void setOpen(int row, bool v) { set(open, row, v); }

  private:
    static bool isSet(const std::vector<std::uint64_t>& bits, int row) {
        return (bits[row / 64] >> (row % 64) & 1) != 0;
    }
    static void set(std::vector<std::uint64_t>& bits, int row, bool v) {
        const std::uint64_t bit = std::uint64_t{1} << (row % 64);
        bits[row / 64] = v ? bits[row / 64] | bit : bits[row / 64] & ~bit;
    }
};

// One layer of the grid: a Line per column.
struct Type {
    std::vector<Line> columns;
};

// The cells of a world in its two layers, the land and the elements standing on it, and what
// works on cells alone: neighbours, a step from one cell to the next and the cone a creature
// sees. Layers are numbered as everywhere in the game: 0 the land, 1 the elements.
class WorldGrid {
  public:
    static constexpr int landLayer = 0;
    static constexpr int elementLayer = 1;

    // No cells until shaped.
    WorldGrid() = default;
    // Gives the grid its size, every cell empty and asleep. Only an empty grid takes a shape.
    void shape(int columns, int rows);
    bool isShaped() const { return shaped; }

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool isInside(int layer, int column, int row) const {
        return column >= 0 && column < width && row >= 0 && row < height &&
               (layer == landLayer || layer == elementLayer);
    }
    // Null outside the grid.
    Element* get(int layer, int column, int row) const {
        return isInside(layer, column, row) ? line(layer, column).cells[row] : nullptr;
    }
    // Stores e in a cell inside the grid; a cell that receives an element is marked awake.
    void put(int layer, int column, int row, Element* e);
    // The same, marking the cell only when asked: the loader leaves idle elements asleep.
    void place(int layer, int column, int row, Element* e, bool awake);
    // Marks the cells where e stands at its own coordinates, so that the sweep runs it.
    void wake(const Element* e);

    Line& line(int layer, int column) { return of(layer).columns[column]; }
    const Line& line(int layer, int column) const { return of(layer).columns[column]; }
    // The first row at or after from that is awake in either of the two Lines of a column; the
    // height when there is none. Inline: the sweep asks it for every cell it visits.
    int nextAwakeRow(const Line& first, const Line& second, int from) const {
        const std::size_t words = first.awake.size();
        for (std::size_t word = static_cast<std::size_t>(from) / 64; word < words; ++word) {
            std::uint64_t bits = first.awake[word] | second.awake[word];
            if (word == static_cast<std::size_t>(from) / 64) {
                bits &= ~std::uint64_t{0} << (from % 64);
            }
            if (bits != 0) {
                return static_cast<int>(word * 64) + std::countr_zero(bits);
            }
        }
        return height;
    }

    // The neighbour of e's cell in a direction, null outside the grid or for no direction.
    Element* get(const Element* e, int layer, int direction) const;
    Element* getFront(const Element* e, int layer) const;
    // Moves e one cell when the land there can be walked on and nothing stands there.
    bool move(Element* e, int direction);
    // Adds to vision the cells of the cone ahead of e, nearest row first.
    void see(const Element* e, int range, Vision& vision) const;
    // The same from a viewpoint, with the cells as they were when the grid had taken asOf
    // writes: a cell written since is read as it was then.
    void see(const Viewpoint& from, Vision& vision) const;

    // Every write into a cell after loading counts; what was in a cell before each write is kept
    // from the count given to forgetWritesBefore on, so that what a viewer saw can be worked out
    // later than it looked.
    std::uint64_t getWriteCount() const { return writeCount; }
    void forgetWritesBefore(std::uint64_t count);

    // Column and row steps of a direction; false for a value that names no neighbour.
    static bool stepOf(int direction, int& dx, int& dy);

  private:
    Type& of(int layer) { return layer == landLayer ? land : elements; }
    const Type& of(int layer) const { return layer == landLayer ? land : elements; }

    // A write into a cell, with what stood there before it.
    struct Write {
        int layer;
        int column;
        int row;
        Element* before;
    };
    // Adds the cone's cells as they are now, the common case: nothing written since.
    void seeNow(const Viewpoint& from, Vision& vision) const;
    // The cone's cells, each as the first write after from.asOf found it, or as it is now.
    void seeThen(const Viewpoint& from, Vision& vision) const;

    Type land;
    Type elements;
    // The writes from number writeCount - writes.size() on.
    std::deque<Write> writes;
    std::uint64_t writeCount = 0;
    int width = 0;
    int height = 0;
    bool shaped = false;
};

#endif
