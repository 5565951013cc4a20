#pragma once
// The compact RaDec text of stored positions, e.g. "004244.8+411609" for 0h42m44.8s,
// +41 deg 16' 09": right ascension digits, the declination's sign, declination digits.
// Two precision codes travel with a parsed text so that it prints back as it was given:
//
//   code  right ascension     declination
//   0     hhmm                dd or dd.d
//   1     hhmm.m              ddmm
//   2     hhmmss              ddmm.m
//   3     hhmmss.s            ddmmss

#include <string>
#include <string_view>

namespace vespario {

class Precession;

struct RaDecPrecision {
    int ra = 3;
    int dec = 3;
};

// ParseRaDec: position of a RaDec text.
//
// Given:
//   text        the RaDec text; it may hold no blank
// Returned:
//   true and ra (rad, as given: not reduced to 0...2 pi), dec (rad) and the precision
//   codes; false with ra = dec = 0 when the text is not a RaDec
// Notes:
//   The text before the first "+" or "-" is the right ascension: at least four characters
//   whose first four are digits. The declination after the sign needs at least two leading
//   digits; ddmm and ddmmss forms need the digits in place (see the table above).
bool ParseRaDec(std::string_view text, double &ra, double &dec, RaDecPrecision &precision);
bool ParseRaDec(std::string_view text, double &ra, double &dec);

// FormatRaDec: the RaDec text of a position at the given precision codes (0 to 3; other
// values are taken as 3). Right ascension is rounded to a tenth of a second of time and
// declination to a second of arc before the codes round further; every carry runs on into
// minutes, hours and degrees, and 24 hours print as 00.
std::string FormatRaDec(double ra, double dec, RaDecPrecision precision = {});

// NormaliseRaDecEntry: the stored J2000 form of what a user typed into a RaDec field.
//
// Given:
//   text        "glgb," and a galactic longitude and latitude in degrees, or an epoch year
//               of four digits, "," and a RaDec text of that equinox
// Returned:
//   true and the J2000 RaDec text (galactic input with codes 1 and 1, an epoch entry with
//   the codes it was typed with); false for any other text (short texts, plain RaDec
//   texts and unparsable entries), which the caller keeps as typed
bool NormaliseRaDecEntry(std::string_view text, std::string &normalised, Precession &precession);
bool NormaliseRaDecEntry(std::string_view text, std::string &normalised);

// SeparationArcmin: angular distance of two positions (rad), truncated to whole arcminutes.
// Reference: the spherical law of cosines; Meeus, "Astronomical Algorithms", 2nd ed.
// 1998, equation 17.1.
int SeparationArcmin(double ra1, double dec1, double ra2, double dec2);

// The same for two RaDec texts; 32767 when either is not a valid RaDec.
int SeparationArcmin(std::string_view radec1, std::string_view radec2);

inline constexpr int kNoSeparation = 32767;

} // namespace vespario
