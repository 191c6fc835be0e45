// The bytes of a world: a header, the names of the frame sets shown, both layers cell by cell
// (columns outer, rows inner, as the sweep visits them), the elements taken off the grid, and
// last the references between elements by number. An element's record lists only the fields
// that differ from the record before it, which keeps a land of millions of tiles small.
#include "world/WorldCodec.h"

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/RandomSequence.h"
#include "core/Timer.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {
using Record = Element::Record;

// An entry of a layer or of the removed: empty, a new element's record, or the number of an
// element read before plus firstReference.
const std::uint64_t emptyEntry = 0;
const std::uint64_t newEntry = 1;
const std::uint64_t firstReference = 2;
const std::uint64_t noElement = 0;

const std::size_t longestName = 255;
const std::size_t mostNames = 1024;
// Deeper looks than this would take a pass longer than any player waits.
const int deepestLook = 1000;
const long long mostPasses = LLONG_MAX / 2;

// The record's numbers after the two names, in field order, with the range a reader accepts.
struct IntField {
    int Record::*field;
    std::int64_t lowest;
    std::int64_t highest;
    const char* what;
};
const IntField intFields[] = {
    {&Record::shown, 0, Element::shownPlaceholder, "an element's frame"},
    {&Record::lastSecound, INT_MIN, INT_MAX, "an element's last second"},
    {&Record::time, INT_MIN, INT_MAX, "an element's step timer"},
    {&Record::maxTime, INT_MIN, INT_MAX, "an element's step bound"},
    {&Record::direction, 0, Element::highestFacing, "an element's facing"},
    {&Record::type, INT_MIN, INT_MAX, "an element's type"},
    {&Record::counterAttack, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::counterEat, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::counterFood, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::counterUnderAttack, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::counterHelth, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::food, INT_MIN, INT_MAX, "an element's food"},
    {&Record::counterDead, INT_MIN, INT_MAX, "an element's counters"},
    {&Record::x, INT_MIN, INT_MAX, "an element's column"},
    {&Record::y, INT_MIN, INT_MAX, "an element's row"},
    {&Record::visionRange, 0, deepestLook, "an element's vision range"},
    {&Record::helth, INT_MIN, INT_MAX, "an element's health"},
    {&Record::strong, INT_MIN, INT_MAX, "an element's strength"},
    {&Record::flags, 0, 255, "an element's flags"},
};
const std::size_t nameFields = 2;
const std::size_t xField = nameFields + 13;
const std::size_t yField = nameFields + 14;
static_assert(std::size(intFields) + nameFields == 21);

// The calendar's fields, with the ranges it gives them.
struct CalendarField {
    int (Timer::*get)() const;
    int lowest;
    int highest;
};
const CalendarField calendarFields[] = {
    {&Timer::getYear, 0, INT_MAX}, {&Timer::getMonth, 0, 12},  {&Timer::getDay, 0, 30},
    {&Timer::getHour, 0, 24},      {&Timer::getMinute, 0, 60}, {&Timer::getSecound, 0, 60},
};

const int layers[] = {Habitat::elementLayer, Habitat::landLayer};
} // namespace

// Encoding only reads the world.
std::string WorldCodec::encode(const World& subject) {
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
    out.number(world.controls.isPaused() ? 1 : 0);
    const RandomSequence::State random = RandomSequence::capture();
    out.bytes(std::string_view(reinterpret_cast<const char*>(random.data()), random.size()));
    const DeathCard::Life life = world.controls.getDeathCard().getLife();
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
                noteElement(world.grid.get(layer, column, row));
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
            writeEntry(out, world.grid.get(layer, column, row), column, row);
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

std::unique_ptr<World> WorldCodec::decode(std::string_view bytes,
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
    const bool paused = in.countUpTo(1, "the pause") != 0;
    RandomSequence::State random;
    const std::string_view randomBytes = in.bytes(random.size(), "the random sequence");
    std::copy(randomBytes.begin(), randomBytes.end(), random.begin());
    DeathCard::Life life;
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
    world.controls.resumeLife(life);
    world.controls.resumePaused(paused);
    return made;
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
        if (victim == nullptr || attacker == nullptr) {
            throw ByteReader::Damaged("an attack without an element in the attackers");
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
