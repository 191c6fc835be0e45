#ifndef ORVALLE_TIMER_H
#define ORVALLE_TIMER_H

#include <string>

// The world's simulated calendar: one second per pass. A minute has seconds 0..60, an hour
// minutes 0..60, a day hours 0..24, a month days 1..30 and a year months 1..12.
class Timer {
  public:
    // The calendar's units: the last value of each field before it wraps.
    static constexpr int lastSecound = 60;
    static constexpr int lastMinute = 60;
    static constexpr int lastHour = 24;
    static constexpr int lastDay = 30;
    static constexpr int lastMonth = 12;

    Timer();
    virtual ~Timer() = default;

    void reset();
    void inc();
    std::string toString();
    // "day 3  04:25:07": the day and the time of day, as the player reads them.
    std::string dayAndTime() const;
    int valueOf() const;

    // Puts the calendar back where a save found it; each value in the range the calendar gives it
    // (the year from 0, the month 0..12, the day 0..30, the hour 0..24, the minute and the second
    // 0..60), which the caller checks.
    void resumeAt(int y, int mo, int d, int h, int mi, int s);

    void setYear(int v);
    void setMonth(int v);
    void setDay(int v);
    void setHour(int v);
    void setMinute(int v);
    void setSecound(int v);

    int getYear() const { return year; }
    int getMonth() const { return month; }
    int getDay() const { return day; }
    int getHour() const { return hour; }
    int getMinute() const { return minute; }
    int getSecound() const { return secound; }

  private:
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int secound;
};

#endif
