#ifndef ORVALLE_WORLD_GRID_H
#define ORVALLE_WORLD_GRID_H

#include "core/HugePageBlock.h"
#include "elements/Habitat.h"
#include "elements/Vision.h"
#include "world/LandCells.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class Element;
class World;

// One column of one layer: an element pointer per row, null for an empty cell. Columns, not
// rows, because the sweep goes down each column in turn and so reads every Line front to back.
// Beside the cells, a bit per row marks the cells that the sweep must visit: every cell whose
// element runs, and perhaps a few more. A cell that is empty or whose element follows the idle
// clock may go unmarked, and the sweep then passes it by without reading it.
//
// A second bit per row says, on the land layer, that a creature may step there: walkable land,
// read by every step without touching the land's element.
struct Line {
    Element** cells; // this column's rows, in its layer's block (Type)
    std::vector<std::uint64_t> awake;
    std::vector<std::uint64_t> open;

    Line(Element** column, int rows)
        : cells(column), awake((static_cast<std::size_t>(rows) + 63) / 64, 0),
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

// One layer of the grid: a Line per column, whose cells lie in one block, column after column.
struct Type {
    HugePageBlock block;
    std::vector<Line> columns;
    // Cell (column, row) is cells()[WorldGrid::cellIndex(column, row)].
    Element** cells() const { return reinterpret_cast<Element**>(block.get()); }
};

// The cells of a world in its two layers, the land and the elements standing on it, and what
// works on cells alone: neighbours, whether a step can be made and the cone a creature sees.
// Layers are numbered as everywhere in the game: 0 the land, 1 the elements. Every write into a
// cell goes through place(), which keeps each element's count of the cells it stands in and fills
// the looks that see the cell before it changes.
//
// A creature looks on every pass but its vision is read far less often, so a look taken in the
// creature's own turn, while it stands where it looks from, may only note where it looked from
// and wait (Sight::pending). Its vision is filled when it is read, or before any cell of its cone
// is written, or before the creature leaves the cell it looked from, whichever comes first: so a
// look waits only while its creature stands in the element layer at the look's cell, where a
// write finds it by searching the cells within waitingReach, and it always lists the cells as
// they were when the creature looked. A look deeper than waitingReach is filled at once.
//
// Land is kept as values (LandCells) wherever a tile only animates on the idle clock: such a
// cell holds no element until one is asked for (get, a neighbour, the land list of a vision when
// it is read, a write into the cell), and the element then made is the cell's from that moment
// on, as if it had stood there all along. A vision lists such a cell and asks the grid for its
// element when its land list is read.
class WorldGrid {
  public:
    // No cells until shaped; land elements are made for world.
    explicit WorldGrid(World& world) : owner(world), seen(*this) {}
    // Visions that outlive the grid list no cells of it any more.
    ~WorldGrid();
    WorldGrid(const WorldGrid&) = delete;
    WorldGrid& operator=(const WorldGrid&) = delete;
    // Gives the grid its size, every cell empty and asleep; once only (the world checks).
    void shape(int columns, int rows);
    bool isShaped() const { return shaped; }

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool isInside(int layer, int column, int row) const {
        return column >= 0 && column < width && row >= 0 && row < height &&
               (layer == Habitat::landLayer || layer == Habitat::elementLayer);
    }
    // Null outside the grid. Land kept as values is made into its element.
    Element* get(int layer, int column, int row) const {
        if (!isInside(layer, column, row)) {
            return nullptr;
        }
        Element* e = of(layer).cells()[cellIndex(column, row)];
        return e != nullptr || layer != Habitat::landLayer || !landValues.holds(column, row)
                   ? e
                   : makeLand(column, row);
    }
    // The element that a cell holds, null for land kept as values: for the grid's own books.
    Element* peek(int layer, int column, int row) const {
        return isInside(layer, column, row) ? of(layer).cells()[cellIndex(column, row)] : nullptr;
    }
    // True when the cell's land is kept as values, and copyLand gives its element.
    bool holdsLandValues(int column, int row) const {
        return isInside(Habitat::landLayer, column, row) && landValues.holds(column, row);
    }
    // An element equal to the land that a cell keeps as values, which the caller ends.
    std::unique_ptr<Element> copyLand(int column, int row) const;
    // A cell's number: columns outer, rows inner, as the sweep visits them.
    std::size_t cellIndex(int column, int row) const {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(height) +
               static_cast<std::size_t>(row);
    }
    // Stores e in a cell inside the grid, marking the cell awake when asked: the loader leaves
    // idle elements asleep. Returns the element that was there when the write leaves it in no
    // cell of the grid, or null.
    Element* place(int layer, int column, int row, Element* e, bool awake);
    // Keeps a land element that the loader built as values instead, when it can: it follows the
    // idle clock and stands in no cell yet. True when kept: e is then the caller's to end.
    bool keepAsValues(const Element& e, int column, int row, long clockTicks);
    // Empties a cell as the world ends: no look is filled, for every element is about to end, and
    // the elements around may have ended already. Returns what place() would.
    Element* empty(int layer, int column, int row);
    // Marks the cells where e stands at its own coordinates, so that the sweep runs it.
    void wake(const Element* e);

    Line& line(int layer, int column) { return of(layer).columns[column]; }
    const Line& line(int layer, int column) const { return of(layer).columns[column]; }
    // The first row at or after from that is awake in either of the two Lines of a column; the
    // height when there is none. Inline: the sweep asks it for every cell it visits.
    int nextAwakeRow(const Line& first, const Line& second, int from) const {
        const std::size_t words = first.awake.size();
        std::size_t word = static_cast<std::size_t>(from) / 64;
        if (word >= words) {
            return height;
        }
        const std::uint64_t fromOn = ~std::uint64_t{0} << (from % 64);
        std::uint64_t bits = (first.awake[word] | second.awake[word]) & fromOn;
        while (bits == 0) {
            if (++word == words) {
                return height;
            }
            bits = first.awake[word] | second.awake[word];
        }
        return static_cast<int>(word * 64) + std::countr_zero(bits);
    }

    // Asks the processor for the element standing in a cell and for the cells of the element
    // layer that a look from it may read, ahead of the element's turn; a row of the grid's
    // height stands for the one past the last. A hint, which changes nothing.
    void readyCell(int column, int row) const;

    // The neighbour of e's cell in a direction, null outside the grid or for no direction.
    Element* get(const Element* e, int layer, int direction) const;
    Element* getFront(const Element* e, int layer) const;
    // The cell one step of e away in a direction, when the land there can be walked on and
    // nothing stands there.
    bool canStep(const Element* e, int direction, int& column, int& row) const;
    // Adds to vision the cells of the cone seen from a viewpoint, nearest row first.
    void see(const Viewpoint& from, Vision& vision) const;

    // A look into s from a viewpoint: filled now, or left to wait when the caller says that its
    // creature is taking its turn and stands in the element layer at the viewpoint.
    void look(Sight& s, const Viewpoint& from, bool mayWait);
    // Fills s from the cells as they are now: a look that waits, whose cells are still those it
    // saw.
    void fill(Sight& s);

    // Column and row steps of a direction; false for a value that names no neighbour.
    static bool stepOf(int direction, int& dx, int& dy);

  private:
    // The grid as the visions that list its cells of land values see it: each such cell's element
    // is the one made from its values, wherever a write has taken it since.
    class SeenLand : public LandSource {
      public:
        explicit SeenLand(const WorldGrid& cells) : grid(cells) {}
        void listLand(const Viewpoint& from, Vision& vision) override;
        Element* landSeenAt(std::size_t cell) override;
        // Before land changes, every vision lists the land it saw.
        void listWaitingLand();
        void track(Vision& vision) override { visions.insert(&vision); }
        void untrack(Vision& vision) override { visions.erase(&vision); }

        const WorldGrid& grid;
        std::unordered_set<Vision*> visions;
        // The elements made from values that a write took out of their cells, by cell.
        std::unordered_map<std::size_t, Element*> left;
    };

    // Makes the element of a cell's land values and puts it in the cell.
    Element* makeLand(int column, int row) const;
    Type& of(int layer) { return layer == Habitat::landLayer ? land : elements; }
    const Type& of(int layer) const { return layer == Habitat::landLayer ? land : elements; }

    static constexpr int waitingReach = 3;
    // The cells within waitingReach of a cell, inside the grid: those of the looks that may wait
    // and see it, and those that a look waiting from it may see.
    struct Reach {
        int firstColumn;
        int lastColumn;
        int firstRow;
        int lastRow;
    };
    Reach reachOf(int column, int row) const;

    // The element that a write took out of a cell, when it now stands in no cell; else null.
    static Element* leftTheGrid(Element* leaving);
    // Fills the looks that wait and see the cell, and the one that waits from it when its viewer
    // is about to leave it.
    void settleLooksOver(int layer, int column, int row);

    World& owner;
    // Making a land element out of values changes nothing that a reader of the grid can tell.
    mutable Type land;
    Type elements;
    mutable LandCells landValues;
    mutable SeenLand seen;
    // A bit per cell of the element layer, by cellIndex: the element there may have a look
    // waiting to be filled, which a write searches the cells around it for without touching the
    // elements of the others. The rows of a column lie side by side, and a word to spare at the
    // end lets the bits of any rows be read as two words.
    std::vector<std::uint64_t> looking;
    void setLooking(int column, int row, bool v);
    // The looking bits of a column's rows first to last (at most 64 of them), bit i for row
    // first + i.
    std::uint64_t lookingRows(int column, int first, int last) const;
    // Set by the first look that waits: until then no write searches for looks (the loader's).
    bool looksWait = false;
    int width = 0;
    int height = 0;
    bool shaped = false;
};

#endif
