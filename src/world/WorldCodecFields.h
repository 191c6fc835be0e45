#ifndef ORVALLE_WORLD_CODEC_FIELDS_H
#define ORVALLE_WORLD_CODEC_FIELDS_H

// What writing and reading a world's bytes (WorldCodec) agree on: the entries, the limits, the
// fields of an element's record and of the calendar, in the order they are written.
#include "core/Timer.h"
#include "elements/Element.h"
#include "elements/Habitat.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace worldCodec {
using Record = Element::Record;

// An entry of a layer or of the removed: empty, a new element's record, or the number of an
// element read before plus firstReference.
inline constexpr std::uint64_t emptyEntry = 0;
inline constexpr std::uint64_t newEntry = 1;
inline constexpr std::uint64_t firstReference = 2;
inline constexpr std::uint64_t noElement = 0;

inline constexpr std::size_t longestName = 255;
inline constexpr std::size_t mostNames = 1024;
// Deeper looks than this would take a pass longer than any player waits.
inline constexpr int deepestLook = 1000;
inline constexpr long long mostPasses = LLONG_MAX / 2;

// The record's numbers after the two names, in field order, with the range a reader accepts.
struct IntField {
    int Record::*field;
    std::int64_t lowest;
    std::int64_t highest;
    const char* what;
};
inline const IntField intFields[] = {
    {&Record::shown, 0, Element::Record::shownPlaceholder, "an element's frame"},
    {&Record::lastSecound, INT_MIN, INT_MAX, "an element's last second"},
    {&Record::time, INT_MIN, INT_MAX, "an element's step timer"},
    {&Record::maxTime, INT_MIN, INT_MAX, "an element's step bound"},
    {&Record::direction, 0, Element::Record::highestFacing, "an element's facing"},
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
inline constexpr std::size_t nameFields = 2;
inline constexpr std::size_t xField = nameFields + 13;
inline constexpr std::size_t yField = nameFields + 14;
// The numbers of an element's record, in the order written.
inline constexpr std::size_t fieldCount = nameFields + std::size(intFields);

// The calendar's fields, with the ranges it gives them.
struct CalendarField {
    int (Timer::*get)() const;
    int lowest;
    int highest;
};
inline const CalendarField calendarFields[] = {
    {&Timer::getYear, 0, INT_MAX},
    {&Timer::getMonth, 0, Timer::lastMonth},
    {&Timer::getDay, 0, Timer::lastDay},
    {&Timer::getHour, 0, Timer::lastHour},
    {&Timer::getMinute, 0, Timer::lastMinute},
    {&Timer::getSecound, 0, Timer::lastSecound},
};

inline constexpr int layers[] = {Habitat::elementLayer, Habitat::landLayer};
} // namespace worldCodec

#endif
