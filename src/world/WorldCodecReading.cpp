// Reading a world's bytes back into a world, checking every count and range on the way.
#include "world/WorldCodec.h"

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/RandomSequence.h"
#include "elements/ElementKind.h"
#include "world/World.h"
#include "world/WorldCodecFields.h"

#include <algorithm>

using namespace worldCodec;

SaveFile::Resumed WorldCodec::decode(std::string_view bytes,
                                     const std::optional<std::string>& mediaFolder) {
    ByteReader in(bytes);
    const auto width = static_cast<int>(in.countUpTo(longestSide, "the grid's width"));
    const auto height = static_cast<int>(in.countUpTo(longestSide, "the grid's height"));
    // Every cell takes at least a byte in each layer.
    const std::uint64_t cells =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (width == 0 || height == 0 || 2 * cells > in.left()) {
        throw ByteReader::Damaged("a grid size that the file cannot hold (" +
                                  std::to_string(width) + " x " + std::to_string(height) + ")");
    }
    std::unique_ptr<World> made(new World(World::Unshaped{}, mediaFolder, true));
    WorldCodec codec(*made);
    codec.readCalendar(in);
    World& world = *made;
    world.passes = static_cast<long>(in.countUpTo(mostPasses, "the passes run"));
    const auto viewX = static_cast<int>(in.numberIn(INT_MIN, INT_MAX, "the view"));
    const auto viewY = static_cast<int>(in.numberIn(INT_MIN, INT_MAX, "the view"));
    const bool musicOn = in.countUpTo(1, "the music switch") != 0;
    PlayState play;
    play.paused = in.countUpTo(1, "the pause") != 0;
    RandomSequence::State random;
    const std::string_view randomBytes = in.bytes(random.size(), "the random sequence");
    std::copy(randomBytes.begin(), randomBytes.end(), random.begin());
    AvatarLife& life = play.life;
    life.passes = static_cast<long>(in.countUpTo(mostPasses, "the avatar's life"));
    life.blows = static_cast<long>(in.countUpTo(mostPasses, "the avatar's life"));
    life.bites = static_cast<long>(in.countUpTo(mostPasses, "the avatar's life"));
    life.over = in.countUpTo(1, "the avatar's life") != 0;
    codec.readNames(in);

    world.grid.shape(width, height);
    world.sweep.startClock();
    for (int layer : layers) {
        codec.readLayer(in, layer);
    }
    const std::uint64_t removed = in.countUpTo(in.left(), "the elements taken off");
    for (std::uint64_t i = 0; i < removed; ++i) {
        Element* e = codec.readEntry(in, 0, 0, true);
        if (e == nullptr) {
            throw ByteReader::Damaged("an empty entry in the elements taken off");
        }
        world.keeper.keepRemoved(e);
    }
    codec.readReferences(in);
    in.expectEnd("the world");
    if (!RandomSequence::restore(random)) {
        throw ByteReader::Damaged("a random sequence that is none");
    }
    world.setX(viewX);
    world.setY(viewY);
    world.setMusic(musicOn);
    return {std::move(made), play};
}

void WorldCodec::readCalendar(ByteReader& in) {
    int values[std::size(calendarFields)];
    for (std::size_t i = 0; i < std::size(calendarFields); ++i) {
        values[i] = static_cast<int>(
            in.numberIn(calendarFields[i].lowest, calendarFields[i].highest, "the calendar"));
    }
    world.calendar->resumeAt(values[0], values[1], values[2], values[3], values[4], values[5]);
}

void WorldCodec::readNames(ByteReader& in) {
    const std::uint64_t count = in.countUpTo(mostNames, "the names of the frame sets");
    for (std::uint64_t i = 0; i < count; ++i) {
        names.push_back(in.text(longestName, "the names of the frame sets"));
    }
}

void WorldCodec::readLayer(ByteReader& in, int layer) {
    for (int column = 0; column < world.getWidth(); ++column) {
        for (int row = 0; row < world.getHeight(); ++row) {
            if (Element* e = readEntry(in, column, row, false)) {
                world.keeper.build(layer, column, row, e, !e->followClock());
            }
        }
    }
}

Element* WorldCodec::readEntry(ByteReader& in, int column, int row, bool newOnly) {
    const std::uint64_t entry =
        in.countUpTo(newOnly ? newEntry : firstReference - 1 + elements.size(), "an entry");
    if (entry == emptyEntry) {
        return nullptr;
    }
    if (entry == newEntry) {
        return readRecord(in, column, row);
    }
    return elements[entry - firstReference];
}

// The element is built of its kind's class, or as a plain element for a type of no kind.
Element* WorldCodec::readRecord(ByteReader& in, int column, int row) {
    const std::uint64_t differing =
        in.countUpTo((std::uint64_t{1} << fieldCount) - 1, "an element's fields");
    Fields fields = previous;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        if ((differing >> i & 1u) != 0) {
            fields[i] = in.signedNumber("an element's fields");
        }
    }
    previous = fields;
    fields[xField] += column;
    fields[yField] += row;
    for (std::size_t i = 0; i < nameFields; ++i) {
        if (fields[i] < 0 || static_cast<std::uint64_t>(fields[i]) >= names.size()) {
            throw ByteReader::Damaged("a frame set name out of range in an element");
        }
    }
    Record r{};
    for (std::size_t i = 0; i < std::size(intFields); ++i) {
        const IntField& f = intFields[i];
        const std::int64_t value = fields[nameFields + i];
        if (value < f.lowest || value > f.highest) {
            throw ByteReader::Damaged("a value out of range (" + std::to_string(value) + ") in " +
                                      f.what);
        }
        r.*f.field = static_cast<int>(value);
    }
    // A step from a cell far outside the grid would overflow its coordinates.
    if (r.x < 0 || r.x >= world.getWidth() || r.y < 0 || r.y >= world.getHeight()) {
        throw ByteReader::Damaged("an element outside the grid");
    }
    const std::string& kindName = names[static_cast<std::size_t>(fields[0])];
    r.looks = &world.images->getKindFrames(kindName, names[static_cast<std::size_t>(fields[1])]);
    const ElementKind* kind = ElementKind::find(r.type);
    Element* e =
        kind != nullptr ? kind->build(&world, *kind) : new Element(&world, kindName, r.type);
    e->restore(r);
    elements.push_back(e);
    return e;
}

void WorldCodec::readReferences(ByteReader& in) {
    const std::uint64_t attacks = in.countUpTo(elements.size(), "the attackers");
    for (std::uint64_t i = 0; i < attacks; ++i) {
        Element* victim = readReference(in, "the attackers");
        Element* attacker = readReference(in, "the attackers");
        // No attacker is a state like any other; no victim is no element to set it on.
        if (victim == nullptr) {
            throw ByteReader::Damaged("an attack on no element in the attackers");
        }
        victim->setAttacker(attacker);
    }
    world.avatar = readReference(in, "the avatar");
    world.selected = readReference(in, "the selection");
    const std::uint64_t counted = in.countUpTo(elements.size(), "the counted creatures");
    for (std::uint64_t i = 0; i < counted; ++i) {
        if (Element* e = readReference(in, "the counted creatures")) {
            world.wildCreatures.push_back(e);
        }
    }
}

Element* WorldCodec::readReference(ByteReader& in, const char* what) const {
    const std::uint64_t number = in.countUpTo(elements.size(), what);
    return number == noElement ? nullptr : elements[number - 1];
}
