#pragma once
// Gregorian calendar counts for the day-by-day loops of the solar analyses,
// and the date-time values (days since 1899-12-30, the time of day as the
// fraction) by which their charts place points.
#include <QDate>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

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

struct TMonthDay {
    int Month, Day;
};

// The dates of months FirstMonth..LastMonth of Year in order, each month's
// days limited to DayRange(Month) (first, last; by default the whole month),
// leaving out what the calendar has not (years outside 1..9999 have none).
inline std::vector<TMonthDay> DatesOfMonths(
    int Year, int FirstMonth, int LastMonth,
    const std::function<std::pair<int, int>(int Month)>& DayRange = nullptr) {
    std::vector<TMonthDay> Dates;
    if (Year < 1 || Year > 9999) return Dates;
    for (int Month = std::max(FirstMonth, 1); Month <= std::min(LastMonth, 12); ++Month) {
        const auto [First, Last] = DayRange ? DayRange(Month) : std::pair{1, DaysInMonth(Year, Month)};
        for (int Day = std::max(First, 1); Day <= std::min(Last, 31); ++Day)
            if (QDate::isValid(Year, Month, Day)) Dates.push_back({Month, Day});
    }
    return Dates;
}

// The date-time value of midnight of a valid date.
inline double DateValue(int Year, int Month, int Day) {
    return double(QDate(1899, 12, 30).daysTo(QDate(Year, Month, Day)));
}
// The date-time value of a time of day.
constexpr double TimeValue(int Hour, int Minute) { return (Hour * 60 + Minute) / 1440.0; }

}  // namespace tam32
