#include "core/Timer.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace {
// A date's fields and their setters, in this order: year, month, day, hour, minute, secound.
using Date = std::array<int, 6>;
void (Timer::*const setters[])(int) = {&Timer::setYear, &Timer::setMonth,  &Timer::setDay,
                                       &Timer::setHour, &Timer::setMinute, &Timer::setSecound};

void incTimes(Timer& timer, int n) {
    for (int i = 0; i < n; ++i) {
        timer.inc();
    }
}

void setAll(Timer& t, const Date& d) {
    t.setYear(d[0]);
    t.setMonth(d[1]);
    t.setDay(d[2]);
    t.setHour(d[3]);
    t.setMinute(d[4]);
    t.setSecound(d[5]);
}

Date dateOf(const Timer& t) {
    return {t.getYear(), t.getMonth(), t.getDay(), t.getHour(), t.getMinute(), t.getSecound()};
}
} // namespace

// reset() goes back to before the first minute, hour, day and month. Counting from there, a minute
// lasts 61 seconds, a day 61 x 61 x 25, and the day that ends first is day 1 of month 0.
TEST(Calendar, CountsTheFirstMinuteAndDayFromReset) {
    Timer timer;
    setAll(timer, {3, 12, 30, 24, 60, 60});
    timer.reset();
    EXPECT_EQ((Date{0, 0, 0, 0, 0, 0}), dateOf(timer));
    incTimes(timer, 60);
    EXPECT_EQ((Date{0, 0, 0, 0, 0, 60}), dateOf(timer));
    timer.inc();
    EXPECT_EQ((Date{0, 0, 0, 0, 1, 0}), dateOf(timer));
    incTimes(timer, 61 * 61 * 25 - 62);
    EXPECT_EQ((Date{0, 0, 0, 24, 60, 60}), dateOf(timer));
    timer.inc();
    EXPECT_EQ((Date{0, 0, 1, 0, 0, 0}), dateOf(timer));
}

// One second from each date: a unit past its last value starts again and carries into the next,
// and every month, the eleventh and twelfth too, comes in turn.
TEST(Calendar, CarriesThroughEveryUnit) {
    const std::pair<Date, Date> steps[] = {
        {{3, 1, 1, 0, 59, 60}, {3, 1, 1, 0, 60, 0}},
        {{3, 1, 1, 0, 60, 60}, {3, 1, 1, 1, 0, 0}},
        {{3, 1, 1, 23, 60, 60}, {3, 1, 1, 24, 0, 0}},
        {{3, 1, 1, 24, 60, 60}, {3, 1, 2, 0, 0, 0}},
        {{3, 1, 29, 24, 60, 60}, {3, 1, 30, 0, 0, 0}},
        {{3, 1, 30, 24, 60, 60}, {3, 2, 1, 0, 0, 0}},
        {{3, 11, 30, 24, 60, 60}, {3, 12, 1, 0, 0, 0}},
        {{3, 12, 30, 24, 60, 60}, {4, 1, 1, 0, 0, 0}},
    };
    for (const auto& [from, to] : steps) {
        Timer timer;
        setAll(timer, from);
        timer.inc();
        EXPECT_EQ(to, dateOf(timer)) << "one second after " << testing::PrintToString(from);
    }
}

// A setter keeps a value inside its field's range, takes the nearest end for one outside it (a
// year has no last end), and leaves the other fields alone.
TEST(Calendar, SettersClampToTheirRange) {
    // Per field in the order of a Date: value set, value read back.
    const std::vector<std::pair<int, int>> fields[] = {
        {{-5, 1}, {0, 1}, {1, 1}, {7, 7}},     // year
        {{0, 1}, {1, 1}, {12, 12}, {13, 12}},  // month
        {{0, 1}, {1, 1}, {30, 30}, {31, 30}},  // day
        {{-1, 0}, {0, 0}, {24, 24}, {25, 24}}, // hour
        {{-1, 0}, {0, 0}, {60, 60}, {61, 60}}, // minute
        {{-3, 0}, {0, 0}, {60, 60}, {61, 60}}, // secound
    };
    for (std::size_t f = 0; f < std::size(fields); ++f) {
        for (const auto& [in, out] : fields[f]) {
            Timer timer;
            (timer.*setters[f])(in);
            Date expected{};
            expected[f] = out;
            EXPECT_EQ(expected, dateOf(timer)) << "field " << f << " set to " << in;
        }
    }
}

TEST(Calendar, ToStringJoinsTheFieldsWithoutSeparator) {
    Timer timer;
    EXPECT_EQ("000000", timer.toString());
    setAll(timer, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ("123456", timer.toString());
    setAll(timer, {11, 2, 1, 0, 0, 0});
    EXPECT_EQ("112", timer.toString().substr(0, 3));
    setAll(timer, {1, 12, 1, 0, 0, 0});
    EXPECT_EQ("112", timer.toString().substr(0, 3));
}

TEST(Calendar, ValueOfCountsSecondsAndWrapsAt32Bits) {
    Timer timer;
    EXPECT_EQ(0, timer.valueOf());
    timer.setSecound(60);
    Timer later;
    later.setMinute(1);
    EXPECT_EQ(later.valueOf(), timer.valueOf());
    setAll(timer, {2, 3, 4, 5, 6, 7});
    EXPECT_EQ(7 + 6 * 60 + 5 * 3600 + 4 * 86400 + 3 * 2592000 + 2 * 31104000, timer.valueOf());
    // The sum first passes 2^31 - 1 in the twelfth month of year 68 and wraps negative.
    setAll(timer, {68, 12, 14, 0, 0, 0});
    EXPECT_GT(timer.valueOf(), 0);
    setAll(timer, {68, 12, 16, 0, 0, 0});
    const long long exact = 68LL * 31104000 + 12LL * 2592000 + 16LL * 86400;
    EXPECT_EQ(static_cast<int>(exact - 4294967296LL), timer.valueOf());
    EXPECT_LT(timer.valueOf(), 0);
}
