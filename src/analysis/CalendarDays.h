#pragma once
// Gregorian calendar counts for the day-by-day loops of the solar analyses,
// and the date-time values (days since 1899-12-30, the time of day as the
// fraction) by which their charts place points.
#include <QDate>

namespace tam32 {

constexpr bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

// 0 for a month outside 1..12, so a loop over its days runs no day.
constexpr int DaysInMonth(int Year, int Month) {
    constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12) return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

constexpr int DaysInYear(int Year) { return IsLeapYear(Year) ? 366 : 365; }

// The day a stored target date means: 29 February of a common year is taken
// as 28 February (the date was set in a leap year); other days stay.
constexpr int TargetDayInYear(int Year, int Month, int Day) {
    return Month == 2 && Day == 29 && !IsLeapYear(Year) ? 28 : Day;
}

// The date-time value of midnight of a valid date.
inline double DateValue(int Year, int Month, int Day) {
    return double(QDate(1899, 12, 30).daysTo(QDate(Year, Month, Day)));
}
// The date-time value of a time of day.
constexpr double TimeValue(int Hour, int Minute) { return (Hour * 60 + Minute) / 1440.0; }

}  // namespace tam32
