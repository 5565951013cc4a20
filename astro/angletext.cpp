#include "astro/angletext.h"

#include "astro/constants.h"
#include "astro/numbertext.h"

#include <cmath>
#include <cstdio>

namespace vespario {

namespace {

std::string FormatPair(double first, double second) {
    return FormatFixed(first, 3, 7) + "," + FormatFixed(second, 3, 7);
}

std::size_t Skip(std::string_view text, std::size_t pos, std::string_view characters) {
    while (pos < text.size() && characters.find(text[pos]) != std::string_view::npos)
        ++pos;
    return pos;
}

bool At(std::string_view text, std::size_t pos, char c) {
    return pos < text.size() && text[pos] == c;
}

bool DigitAt(std::string_view text, std::size_t pos) {
    return pos < text.size() && IsDigit(text[pos]);
}

// The optional "minutes '" and "seconds [\"]" after the degrees; pos moves past them.
void ReadMinutesSeconds(std::string_view text, std::size_t &pos, double &minutes, double &seconds) {
    std::size_t used = 0;
    const int m = ReadInteger(text.substr(pos), &used);
    if (!DigitAt(text, pos) || !At(text, Skip(text, pos + used, " "), '\''))
        return;
    minutes = m;
    pos = Skip(text, Skip(text, pos + used, " ") + 1, " ");
    if (!DigitAt(text, pos) && !(At(text, pos, '.') && DigitAt(text, pos + 1)))
        return;
    seconds = ReadDecimal(text.substr(pos), &used);
    pos = Skip(text, pos + used, " ");
    if (At(text, pos, '"'))
        pos = Skip(text, pos + 1, " ");
}

// One angle from pos; pos moves past it and the blanks after it.
bool ReadDms(std::string_view text, std::size_t &pos, double &angle) {
    pos = Skip(text, pos, " ");
    const bool negative = At(text, pos, '-');
    if (negative || At(text, pos, '+'))
        ++pos;
    if (!DigitAt(text, pos))
        return false;
    std::size_t used = 0;
    const int degrees = ReadInteger(text.substr(pos), &used);
    pos = Skip(text, pos + used, " ");
    if (!At(text, pos, 'd'))
        return false;
    pos = Skip(text, pos + 1, " ");
    double minutes = 0.0, seconds = 0.0;
    ReadMinutesSeconds(text, pos, minutes, seconds);
    const double value = (degrees + minutes / 60.0 + seconds / 3600.0) * kDegToRad;
    angle = negative ? -value : value;
    return true;
}

} // namespace

std::string FormatDegreesPair(double first, double second) {
    return FormatPair(first * kRadToDeg, second * kRadToDeg);
}

std::string FormatHoursPair(double first, double second) {
    return FormatPair(first * kRadToHours, second * kRadToDeg);
}

std::string FormatRadiansPair(double first, double second) {
    return FormatPair(first, second);
}

bool ParseNumberPair(std::string_view text, double &first, double &second) {
    first = second = 0.0;
    std::size_t pos = Skip(text, 0, " ");
    if (!DigitAt(text, pos))
        return false;
    const double a = ReadDecimal(text.substr(pos));
    pos = Skip(text, Skip(text, pos, "0123456789."), " ,");
    if (!(DigitAt(text, pos) || At(text, pos, '+') || At(text, pos, '-')))
        return false;
    first = a;
    second = ReadDecimal(text.substr(pos));
    return true;
}

bool ParseDegreesPair(std::string_view text, double &first, double &second) {
    const bool ok = ParseNumberPair(text, first, second);
    first *= kDegToRad;
    second *= kDegToRad;
    return ok;
}

bool ParseHoursPair(std::string_view text, double &first, double &second) {
    const bool ok = ParseNumberPair(text, first, second);
    first *= kHourToRad;
    second *= kDegToRad;
    return ok;
}

bool ParseRadiansPair(std::string_view text, double &first, double &second) {
    return ParseNumberPair(text, first, second);
}

std::string FormatDms(double angle) {
    double tenths = std::fabs(angle) * kRadToDeg * 36000.0 + 0.5;
    tenths = std::isfinite(tenths) ? std::floor(std::fmin(tenths, 3.6e13)) : 0.0;
    const double degrees = std::floor(tenths / 36000.0);
    const double rest = tenths - degrees * 36000.0;
    const double minutes = std::floor(rest / 600.0);
    const double seconds = (rest - minutes * 600.0) / 10.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%.0fd %.0f' ", angle + 1e-08 < 0.0 ? "-" : "", degrees,
                  minutes);
    return buffer + FormatFixed(seconds, 1, 4) + "\"";
}

std::string FormatDmsPair(double first, double second) {
    return FormatDms(first) + ", " + FormatDms(second);
}

bool ParseDms(std::string_view text, double &angle) {
    angle = 0.0;
    std::size_t pos = 0;
    double value = 0.0;
    if (!ReadDms(text, pos, value) || pos != text.size())
        return false;
    angle = value;
    return true;
}

bool ParseDmsPair(std::string_view text, double &first, double &second) {
    first = second = 0.0;
    std::size_t pos = 0;
    double a = 0.0, b = 0.0;
    if (!ReadDms(text, pos, a))
        return false;
    pos = Skip(text, pos, " ,");
    if (!ReadDms(text, pos, b) || pos != text.size())
        return false;
    first = a;
    second = b;
    return true;
}

} // namespace vespario
