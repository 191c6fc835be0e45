#include "core/Timer.h"

#include "core/Utils.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

Timer::Timer() {
    reset();
}

void Timer::reset() {
    year = 0;
    month = 0;
    day = 0;
    hour = 0;
    minute = 0;
    secound = 0;
}

void Timer::inc() {
    if (++secound <= lastSecound) {
        return;
    }
    secound = 0;
    if (++minute <= lastMinute) {
        return;
    }
    minute = 0;
    if (++hour <= lastHour) {
        return;
    }
    hour = 0;
    if (++day <= lastDay) {
        return;
    }
    day = 1;
    if (++month <= lastMonth) {
        return;
    }
    month = 1;
    ++year;
}

std::string Timer::toString() {
    return decimal(year) + decimal(month) + decimal(day) + decimal(hour) + decimal(minute) +
           decimal(secound);
}

std::string Timer::dayAndTime() const {
    char text[64];
    std::snprintf(text, sizeof text, "day %d  %02d:%02d:%02d", day, hour, minute, secound);
    return text;
}

int Timer::valueOf() const {
    // The sum wraps like 32-bit signed arithmetic; computing it unsigned keeps that defined.
    std::uint32_t sum =
        static_cast<std::uint32_t>(secound) + 60u * static_cast<std::uint32_t>(minute) +
        3600u * static_cast<std::uint32_t>(hour) + 86400u * static_cast<std::uint32_t>(day) +
        2592000u * static_cast<std::uint32_t>(month) + 31104000u * static_cast<std::uint32_t>(year);
    return static_cast<std::int32_t>(sum);
}

void Timer::resumeAt(int y, int mo, int d, int h, int mi, int s) {
    year = y;
    month = mo;
    day = d;
    hour = h;
    minute = mi;
    secound = s;
}

void Timer::setYear(int v) {
    year = v > 0 ? v : 1;
}
void Timer::setMonth(int v) {
    month = std::clamp(v, 1, lastMonth);
}
void Timer::setDay(int v) {
    day = std::clamp(v, 1, lastDay);
}
void Timer::setHour(int v) {
    hour = std::clamp(v, 0, lastHour);
}
void Timer::setMinute(int v) {
    minute = std::clamp(v, 0, lastMinute);
}
void Timer::setSecound(int v) {
    secound = std::clamp(v, 0, lastSecound);
}
