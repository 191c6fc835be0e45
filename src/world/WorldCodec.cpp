// The bytes of a world: a header, the names of the frame sets shown, both layers cell by cell
// (columns outer, rows inner, as the sweep visits them), the elements taken off the grid, and
// last the references between elements by number. An element's record lists only the fields
// that differ from the record before it, which keeps a land of millions of tiles small.
#include "world/WorldCodec.h"

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/RandomSequence.h"
#include "world/World.h"
#include "world/WorldCodecFields.h"

#include <algorithm>
#include <string_view>

using namespace worldCodec;

// Encoding only reads the world.
std::string WorldCodec::encode(const World& subject, const PlayState& play) {
    WorldCodec codec(const_cast<World&>(subject));
    World& world = codec.world;
    codec.noteReferable();
    ByteWriter cells;
    for (int layer : layers) {
        codec.writeLayer(cells, layer);
    }
    cells.number(world.keeper.getRemoved().size());
    for (const Element* e : world.keeper.getRemoved()) {
        codec.writeEntry(cells, e, 0, 0);
    }
    codec.writeReferences(cells);

    ByteWriter out;
    out.number(static_cast<std::uint64_t>(world.getWidth()));
    out.number(static_cast<std::uint64_t>(world.getHeight()));
    for (const CalendarField& field : calendarFields) {
        out.signedNumber((world.calendar.get()->*field.get)());
    }
    out.number(static_cast<std::uint64_t>(world.passes));
    out.signedNumber(world.x);
    out.signedNumber(world.y);
    out.number(world.musicOn ? 1 : 0);
    out.number(play.paused ? 1 : 0);
    const RandomSequence::State random = RandomSequence::capture();
    out.bytes(std::string_view(reinterpret_cast<const char*>(random.data()), random.size()));
    const AvatarLife& life = play.life;
    out.number(static_cast<std::uint64_t>(life.passes));
    out.number(static_cast<std::uint64_t>(life.blows));
    out.number(static_cast<std::uint64_t>(life.bites));
    out.number(life.over ? 1 : 0);
    out.number(codec.names.size());
    for (const std::string& name : codec.names) {
        out.text(name);
    }
    out.bytes(cells.data());
    return out.take();
}

// Creatures, the avatar, the selection, attackers and elements standing in several cells.
void WorldCodec::noteReferable() {
    auto note = [this](const Element* e) {
        if (e != nullptr) {
            referable.emplace(e, noElement);
        }
    };
    auto noteElement = [&](const Element* e) {
        if (e != nullptr && (e->isCreature() || e->cellsHeld() > 1)) {
            note(e);
        }
        if (e != nullptr) {
            note(e->getAttacker());
        }
    };
    for (int layer : layers) {
        for (int column = 0; column < world.getWidth(); ++column) {
            for (int row = 0; row < world.getHeight(); ++row) {
                noteElement(world.grid.peek(layer, column, row));
            }
        }
    }
    for (const Element* e : world.keeper.getRemoved()) {
        noteElement(e);
    }
    note(world.avatar);
    note(world.selected);
    for (const Element* e : world.wildCreatures) {
        note(e);
    }
}

void WorldCodec::writeLayer(ByteWriter& out, int layer) {
    for (int column = 0; column < world.getWidth(); ++column) {
        for (int row = 0; row < world.getHeight(); ++row) {
            if (world.grid.holdsLandValues(column, row) && layer == Habitat::landLayer) {
                writeEntry(out, world.grid.copyLand(column, row).get(), column, row);
            } else {
                writeEntry(out, world.grid.peek(layer, column, row), column, row);
            }
        }
    }
}

// A referable element gets its number when first written; the others need none, as no entry
// names them again.
void WorldCodec::writeEntry(ByteWriter& out, const Element* e, int column, int row) {
    if (e == nullptr) {
        out.number(emptyEntry);
        return;
    }
    if (auto found = referable.find(e); found != referable.end()) {
        if (found->second != noElement) {
            out.number(found->second - 1 + firstReference);
            return;
        }
        found->second = written + 1;
    }
    out.number(newEntry);
    writeRecord(out, *e, column, row);
    ++written;
}

// The column and row are written as the distance from the cell: nought for an element standing
// where it says it stands.
void WorldCodec::writeRecord(ByteWriter& out, const Element& e, int column, int row) {
    const Record r = e.record();
    Fields fields{};
    fields[0] = nameIndex(*r.looks->name);
    fields[1] = nameIndex(*r.looks->framesName);
    for (std::size_t i = 0; i < std::size(intFields); ++i) {
        fields[nameFields + i] = r.*intFields[i].field;
    }
    fields[xField] -= column;
    fields[yField] -= row;
    std::uint64_t differing = 0;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        differing |= fields[i] != previous[i] ? std::uint64_t{1} << i : 0;
    }
    out.number(differing);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        if (fields[i] != previous[i]) {
            out.signedNumber(fields[i]);
        }
    }
    previous = fields;
}

std::int64_t WorldCodec::nameIndex(const std::string& name) {
    auto [found, added] = nameIndices.emplace(name, static_cast<std::int64_t>(names.size()));
    if (added) {
        names.push_back(name);
    }
    return found->second;
}

// Each attacker as a pair of numbers, then the avatar, the selection and the counted creatures.
void WorldCodec::writeReferences(ByteWriter& out) const {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> attacks;
    for (const auto& [e, number] : referable) {
        if (number != noElement && referenceTo(e->getAttacker()) != noElement) {
            attacks.emplace_back(number, referenceTo(e->getAttacker()));
        }
    }
    std::sort(attacks.begin(), attacks.end());
    out.number(attacks.size());
    for (const auto& [victim, attacker] : attacks) {
        out.number(victim);
        out.number(attacker);
    }
    out.number(referenceTo(world.avatar));
    out.number(referenceTo(world.selected));
    std::vector<std::uint64_t> counted;
    for (const Element* e : world.wildCreatures) {
        if (referenceTo(e) != noElement) {
            counted.push_back(referenceTo(e));
        }
    }
    out.number(counted.size());
    for (std::uint64_t number : counted) {
        out.number(number);
    }
}

// An element's number plus one, or noElement for none or one the world does not hold.
std::uint64_t WorldCodec::referenceTo(const Element* e) const {
    const auto found = e != nullptr ? referable.find(e) : referable.end();
    return found != referable.end() ? found->second : noElement;
}
