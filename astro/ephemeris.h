#pragma once
// What the Sun, Moon and planet routines share: the 1900-based time argument, rates in
// revolutions per century turned into angles, and the apparent place of a body on the
// ecliptic and equator of date.

namespace vespario {

// Julian centuries of 36525 days from 1900 January 0.5 (JD 2415020.0).
double CenturiesSince1900(double jd);

// frac(rate T) x 360: the angle (degrees, 0...360) that a rate in revolutions per century
// has turned through in T centuries, taken modulo one turn before it is multiplied so
// that large rates keep their precision.
double TurnsToDegrees(double revolutionsPerCentury, double t);

// An angle in degrees brought into 0...360.
double IntoDegrees360(double degrees);

// An apparent place: ecliptic longitude and latitude of date (rad; nutation and
// aberration applied as each body's routine says) and the right ascension and declination
// that the mean obliquity of date gives for them (rad, right ascension 0...2 pi).
struct ApparentPlace {
    double longitude = 0.0;
    double latitude = 0.0;
    double ra = 0.0;
    double dec = 0.0;
};

// EclipticToEquatorialOfDate: right ascension and declination of an ecliptic position.
//
// Given:
//   lon, lat   ecliptic longitude and latitude of date (rad)
//   jd         the date (JD) whose mean obliquity (MeanObliquity) is used
// Returned:
//   ra 0...2 pi and dec (rad)
void EclipticToEquatorialOfDate(double lon, double lat, double jd, double &ra, double &dec);

// The same, filling in ra and dec of a place whose longitude and latitude are set.
void CompleteApparentPlace(ApparentPlace &place, double jd);

} // namespace vespario
