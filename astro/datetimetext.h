#pragma once
// The date-time text "yyyy/mm/dd hh:mm:ss" of instants, sidereal instants and local times.

#include <string>
#include <string_view>

namespace vespario {

// FormatDateTime: "%04i/%02i/%02i %02i:%02i:%02i" of the calendar date of jd (days).
std::string FormatDateTime(double jd);

// ParseDateTime: the Julian Date of a text "yyyy/mm/dd hh:mm:ss".
//
// Given:
//   text    at least 19 characters: "/" at the 5th and 8th, a blank at the 11th and ":"
//           at the 14th and 17th; anything after the 19th is ignored
// Returned:
//   Julian Date (days), or kInvalidJulianDate (-9000000100.0) when the text is refused
// Notes:
//   Each field must hold an integer alone (blanks before it and a sign are taken, as a C
//   integer conversion would). Accepted: month 1-12, day 1-31, hour 0-24, minute 0-60,
//   second 0-60, the upper bounds included; a day past the month's end runs on into the
//   next month (2000/02/30 is March 1).
double ParseDateTime(std::string_view text);

} // namespace vespario
