#include "core/Timer.h"

#include <gtest/gtest.h>

namespace {
void incTimes(Timer& timer, int n) {
    for (int i = 0; i < n; ++i) {
        timer.inc();
    }
}

void setAll(Timer& t, int year, int month, int day, int hour, int minute, int secound) {
    t.setYear(year);
    t.setMonth(month);
    t.setDay(day);
    t.setHour(hour);
    t.setMinute(minute);
    t.setSecound(secound);
}
} // namespace

TEST(Calendar, MinuteHas61Seconds) {
    Timer timer;
    incTimes(timer, 60);
    EXPECT_EQ(60, timer.getSecound());
    EXPECT_EQ(0, timer.getMinute());
    timer.inc();
    EXPECT_EQ(0, timer.getSecound());
    EXPECT_EQ(1, timer.getMinute());
}

TEST(Calendar, CarriesThroughEveryUnit) {
    Timer timer;
    setAll(timer, 3, 12, 30, 24, 60, 60);
    timer.inc();
    EXPECT_EQ(4, timer.getYear());
    EXPECT_EQ(1, timer.getMonth());
    EXPECT_EQ(1, timer.getDay());
    EXPECT_EQ(0, timer.getHour());
    EXPECT_EQ(0, timer.getMinute());
    EXPECT_EQ(0, timer.getSecound());
}

TEST(Calendar, FirstDayAfterResetIsDayZero) {
    Timer timer;
    timer.setHour(24);
    timer.setMinute(60);
    timer.setSecound(60);
    timer.inc();
    EXPECT_EQ(1, timer.getDay());
    EXPECT_EQ(0, timer.getMonth());
    EXPECT_EQ(0, timer.getHour());
}

TEST(Calendar, OneDayIs61x61x25Increments) {
    Timer timer;
    incTimes(timer, 61 * 61 * 25 - 1);
    EXPECT_EQ(0, timer.getDay());
    timer.inc();
    EXPECT_EQ(1, timer.getDay());
    EXPECT_EQ(0, timer.getHour());
}

TEST(Calendar, SettersClampToTheirRange) {
    Timer timer;
    timer.setMonth(0);
    EXPECT_EQ(1, timer.getMonth());
    timer.setMonth(13);
    EXPECT_EQ(12, timer.getMonth());
    timer.setDay(0);
    EXPECT_EQ(1, timer.getDay());
    timer.setDay(31);
    EXPECT_EQ(30, timer.getDay());
    timer.setHour(25);
    EXPECT_EQ(24, timer.getHour());
    timer.setHour(24);
    EXPECT_EQ(24, timer.getHour());
    timer.setHour(-1);
    EXPECT_EQ(0, timer.getHour());
    timer.setMinute(61);
    EXPECT_EQ(60, timer.getMinute());
    timer.setSecound(61);
    EXPECT_EQ(60, timer.getSecound());
    timer.setSecound(-3);
    EXPECT_EQ(0, timer.getSecound());
    timer.setYear(0);
    EXPECT_EQ(1, timer.getYear());
    timer.setYear(-5);
    EXPECT_EQ(1, timer.getYear());
    timer.setYear(7);
    EXPECT_EQ(7, timer.getYear());
}

TEST(Calendar, ToStringJoinsTheFieldsWithoutSeparator) {
    Timer timer;
    EXPECT_EQ("000000", timer.toString());
    setAll(timer, 1, 2, 3, 4, 5, 6);
    EXPECT_EQ("123456", timer.toString());
    setAll(timer, 11, 2, 1, 0, 0, 0);
    EXPECT_EQ("112", timer.toString().substr(0, 3));
    setAll(timer, 1, 12, 1, 0, 0, 0);
    EXPECT_EQ("112", timer.toString().substr(0, 3));
}

TEST(Calendar, ValueOfCountsSecondsAndWrapsAt32Bits) {
    Timer timer;
    EXPECT_EQ(0, timer.valueOf());
    timer.setSecound(60);
    Timer later;
    later.setMinute(1);
    EXPECT_EQ(later.valueOf(), timer.valueOf());
    setAll(timer, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(7 + 6 * 60 + 5 * 3600 + 4 * 86400 + 3 * 2592000 + 2 * 31104000, timer.valueOf());
    // The sum first passes 2^31 - 1 in the twelfth month of year 68 and wraps negative.
    setAll(timer, 68, 12, 14, 0, 0, 0);
    EXPECT_GT(timer.valueOf(), 0);
    setAll(timer, 68, 12, 16, 0, 0, 0);
    const long long exact = 68LL * 31104000 + 12LL * 2592000 + 16LL * 86400;
    EXPECT_EQ(static_cast<int>(exact - 4294967296LL), timer.valueOf());
    EXPECT_LT(timer.valueOf(), 0);
}
