#include "astro/datetimetext.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/numbertext.h"

#include <cstdio>

namespace vespario {

namespace {

constexpr std::size_t kDateTimeLength = 19;

// One fixed-place field: optional blanks, then an integer that fills the field.
bool ReadField(std::string_view text, std::size_t pos, std::size_t length, int &value) {
    std::string_view field = text.substr(pos, length);
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    std::size_t used = 0;
    value = ReadInteger(field, &used);
    return used > 0 && used == field.size();
}

bool HasSeparators(std::string_view text) {
    return text[4] == '/' && text[7] == '/' && text[10] == ' ' && text[13] == ':' &&
           text[16] == ':';
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

std::string FormatDateTime(double jd) {
    const CalendarParts d = CalendarDate(jd);
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%04i/%02i/%02i %02i:%02i:%02i", d.year, d.month, d.day,
                  d.hour, d.minute, d.second);
    return buffer;
}

double ParseDateTime(std::string_view text) {
    if (text.size() < kDateTimeLength || !HasSeparators(text))
        return kInvalidJulianDate;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadField(text, 0, 4, year) || !ReadField(text, 5, 2, month) ||
        !ReadField(text, 8, 2, day) || !ReadField(text, 11, 2, hour) ||
        !ReadField(text, 14, 2, minute) || !ReadField(text, 17, 2, second))
        return kInvalidJulianDate;
    if (!InRange(month, 1, 12) || !InRange(day, 1, 31) || !InRange(hour, 0, 24) ||
        !InRange(minute, 0, 60) || !InRange(second, 0, 60))
        return kInvalidJulianDate;
    return JulianDate(year, month, day, hour, minute, second);
}

} // namespace vespario
