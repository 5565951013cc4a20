#pragma once
// The number-pair and degree-minute-second notations of the conversion tools.
// All angles in radians on the program's pi.

#include <string>
#include <string_view>

namespace vespario {

// "%7.3f,%7.3f" of two angles: both in degrees, the first in hours and the second in
// degrees, or both in radians.
std::string FormatDegreesPair(double first, double second);
std::string FormatHoursPair(double first, double second);
std::string FormatRadiansPair(double first, double second);

// ParseNumberPair: two numbers such as "10.68, +41.27" or "123.4-56.7".
//
// Given:
//   text    blanks, a number that starts with a digit, blanks or commas, a number that
//           starts with a digit or a sign; anything after the second number is ignored
// Returned:
//   true and both numbers; false with both 0 when the text does not have that shape
bool ParseNumberPair(std::string_view text, double &first, double &second);

// The same, turning degrees (both), hours and degrees, or radians (unchanged) to radians.
bool ParseDegreesPair(std::string_view text, double &first, double &second);
bool ParseHoursPair(std::string_view text, double &first, double &second);
bool ParseRadiansPair(std::string_view text, double &first, double &second);

// FormatDms: `%id %i' %4.1f"` of an angle in degrees, minutes and seconds, with a leading
// "-" when angle + 1e-08 rad is negative. Seconds are rounded to tenths before the split,
// so that no "60.0" seconds are printed.
std::string FormatDms(double angle);

// Two angles by FormatDms, joined by ", ".
std::string FormatDmsPair(double first, double second);

// ParseDms: an angle such as `-12d 30' 15.5"`, `41d 16'` or `7d`.
//
// Given:
//   text    blanks, optional sign, whole degrees, blanks, "d", blanks; then optionally
//           whole minutes, blanks, "'", blanks; then optionally a number of seconds and
//           an optional `"`; only blanks may follow
// Returned:
//   true and the angle (rad); false with the angle 0 when refused
bool ParseDms(std::string_view text, double &angle);

// Two such angles, separated by blanks and commas (or nothing before a sign).
bool ParseDmsPair(std::string_view text, double &first, double &second);

} // namespace vespario
