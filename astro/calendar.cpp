#include "astro/calendar.h"

#include "platform/clock.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

constexpr double kJdOf1899Dec31Noon = 2415019.5; // the routine's day 0 (JD)
constexpr double kFirstGregorianDay = -115860.0; // 1582 October 15 in that day count
constexpr double kMaxDayCount = 1e11;            // keeps every part within an int

bool IsGregorian(int year, int month, int day) {
    if (year != 1582)
        return year > 1582;
    if (month != 10)
        return month > 10;
    return day >= 15;
}

int ToInt(double value) {
    return std::isfinite(value) ? static_cast<int>(std::clamp(value, -2e9, 2e9)) : 0;
}

struct DayParts {
    int year;
    int month;
    int day;
};

// The Gregorian (from 1582 October 15) or Julian calendar date of whole day i of the count
// that starts 1899 December 31 noon.
DayParts DateOfDayCount(double i) {
    if (i > kFirstGregorianDay) {
        const double a = std::floor(i / 36524.25 + 0.99835726) + 14.0;
        i += 1.0 + a - std::floor(a / 4.0);
    }
    const double b = std::floor(i / 365.25 + 0.802601);
    const double c = i - std::floor(365.25 * b + 0.750001) + 416.0;
    const double g = std::floor(c / 30.6001);
    const double day = c - std::floor(30.6001 * g);
    const double month = g > 13.5 ? g - 13.0 : g - 1.0;
    double year = month > 2.5 ? b + 1899.0 : b + 1900.0;
    if (year < 1.0)
        year -= 1.0; // there is no year 0
    return {ToInt(year), ToInt(month), ToInt(day)};
}

} // namespace

double JulianDate(int year, int month, int day, int hour, int minute, int second) {
    double y = year < 0 ? year + 1.0 : year;
    double m = month;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    double b = 0.0;
    if (IsGregorian(year, month, day)) {
        const double a = std::trunc(y / 100.0);
        b = 2.0 - a + std::trunc(a / 4.0);
    }
    const double c = y < 0 ? std::trunc(365.25 * y - 0.75) : std::trunc(365.25 * y);
    const double e = std::trunc(30.6001 * (m + 1.0));
    return b + (c - 694025.0) + e + day + 2415019.5 + hour / 24.0 + minute / 1440.0 +
           second / 86400.0;
}

CalendarParts CalendarDate(double jd) {
    if (!std::isfinite(jd))
        jd = 0.0;
    const double d = std::clamp(jd - kJdOf1899Dec31Noon, -kMaxDayCount, kMaxDayCount);
    double i = std::floor(d);
    double f = d - i;
    if (f >= 1.0) {
        f = 0.0;
        i += 1.0;
    }
    CalendarParts parts;
    const double hours = f * 24.0;
    parts.hour = ToInt(std::floor(hours));
    const double minutes = (hours - parts.hour) * 60.0;
    parts.minute = ToInt(std::floor(minutes));
    parts.second = ToInt(std::floor((minutes - parts.minute) * 60.0 + 0.5));
    if (parts.second >= 60) {
        parts.second = 0;
        ++parts.minute;
    }
    if (parts.minute >= 60) {
        parts.minute = 0;
        ++parts.hour;
    }
    if (parts.hour >= 24) {
        parts.hour = 0;
        i += 1.0;
    }
    const DayParts date = DateOfDayCount(i);
    parts.year = date.year;
    parts.month = date.month;
    parts.day = date.day;
    return parts;
}

int DayOfWeek(double jd) {
    if (!std::isfinite(jd))
        return 0;
    double weekday = std::fmod(std::floor(jd + 1.5), 7.0);
    if (weekday < 0.0)
        weekday += 7.0;
    return std::clamp(ToInt(weekday), 0, 6);
}

double PresentMoment() {
    const platform::UtcTime now = platform::UtcNowParts();
    return JulianDate(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

} // namespace vespario
