#ifndef ORVALLE_WORLD_CODEC_H
#define ORVALLE_WORLD_CODEC_H

#include "elements/Element.h"
#include "world/SaveFile.h"
#include "world/WorldCodecFields.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ByteReader;
class ByteWriter;
class World;

// The whole state of a world as bytes, and a world made from them: both layers, every element's
// state, the elements the sweep took off (the dead that rotted away, still counted and perhaps
// still someone's attacker), the avatar, the selection, the view, the calendar, the passes run,
// the avatar's life so far, the music switch, the pause and the position in the random sequence. A
// world decoded runs on exactly as the encoded one would have. What a creature saw is not kept:
// every creature looks again in its next turn before it decides anything. An element that a caller
// took out of the grid is the caller's and is not kept; a reference to it is kept as none.
class WorldCodec {
  public:
    // A side longer than this is refused, and so is a grid of more cells than the bytes could
    // describe.
    static constexpr int longestSide = 1 << 16;

    static std::string encode(const World& world, const PlayState& play);
    // Throws ByteReader::Damaged, saying what is wrong; nothing of a world that fails is kept,
    // and the random sequence moves only when the whole world was read.
    static SaveFile::Resumed decode(std::string_view bytes,
                                    const std::optional<std::string>& mediaFolder);

  private:
    // An element's record as the numbers written, in field order.
    using Fields = std::array<std::int64_t, worldCodec::fieldCount>;

    explicit WorldCodec(World& subject) : world(subject) {}

    // Writing.
    void noteReferable();
    void writeLayer(ByteWriter& out, int layer);
    void writeEntry(ByteWriter& out, const Element* e, int column, int row);
    void writeRecord(ByteWriter& out, const Element& e, int column, int row);
    std::int64_t nameIndex(const std::string& name);
    void writeReferences(ByteWriter& out) const;
    std::uint64_t referenceTo(const Element* e) const;

    // Reading.
    void readCalendar(ByteReader& in);
    void readNames(ByteReader& in);
    void readLayer(ByteReader& in, int layer);
    // The element of an entry: a new one read from its record, or one read before; null for
    // none.
    Element* readEntry(ByteReader& in, int column, int row, bool newOnly);
    Element* readRecord(ByteReader& in, int column, int row);
    void readReferences(ByteReader& in);
    Element* readReference(ByteReader& in, const char* what) const;

    World& world;
    // Writing: the elements that may be met twice (in two cells, or as someone's attacker, the
    // avatar, the selection or a counted creature), by their number once written.
    std::unordered_map<const Element*, std::uint64_t> referable;
    std::map<std::string, std::int64_t> nameIndices;
    std::vector<std::string> names;
    std::uint64_t written = 0;
    // Reading: every element read, by number.
    std::vector<Element*> elements;
    // Both: the fields of the record before, which the next one writes only where it differs.
    Fields previous{};
};

#endif
