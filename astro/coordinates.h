#pragma once
// Equatorial coordinates to and from galactic, supergalactic and ecliptic coordinates.
// All angles in radians, on the program's pi.

namespace vespario {

class Precession;

// EquatorialToGalactic: galactic longitude and latitude of an equatorial position.
//
// Given:
//   ra, dec        position (rad) for the equinox epochYear
//   epochYear      equinox of ra, dec (years)
//   precession     the cache used to bring the position to 1950.0
// Returned:
//   l, b           galactic longitude 0...2 pi and latitude (rad)
// Notes:
//   The pole at ra 192.25 deg, dec 27.4 deg and the node at 33 deg, all for 1950.0 (the
//   IAU 1958 system). Compared with the ICRS-based system the result differs by up to
//   about a second of arc (no E-terms, no FK4 to FK5 equinox correction).
// Reference:
//   Blaauw, A., et al. 1960, MNRAS 121, 123; Duffett-Smith, "Practical Astronomy with
//   your Calculator", 3rd ed. 1988, section 30.
void EquatorialToGalactic(double ra, double dec, double epochYear, Precession &precession,
                          double &l, double &b);

// GalacticToEquatorial: the inverse of EquatorialToGalactic; ra, dec for epochYear.
void GalacticToEquatorial(double l, double b, double epochYear, Precession &precession, double &ra,
                          double &dec);

// GalacticToSupergalactic and SupergalacticToGalactic: one rotation about the axis through
// galactic longitude 137.37 deg (the supergalactic zero point) by 83.68 deg.
//
// Given:
//   l, b / sgl, sgb   longitude and latitude (rad)
// Returned:
//   the other pair (rad), longitude 0...2 pi
// Reference:
//   de Vaucouleurs, G., et al. 1976, Second Reference Catalogue of Bright Galaxies
//   (pole at l = 47.37 deg, b = +6.32 deg).
void GalacticToSupergalactic(double l, double b, double &sgl, double &sgb);
void SupergalacticToGalactic(double sgl, double sgb, double &l, double &b);

// MeanObliquity: mean obliquity of the ecliptic (rad) at a Julian Date.
//
// Reference:
//   Newcomb; Explanatory Supplement to the Astronomical Ephemeris, 1961, p. 98
//   (23.452294 deg - 46.845" T - 0.0059" T^2 + 0.00181" T^3, T from 1900 January 0.5).
double MeanObliquity(double jd);

// The Julian Date that the ecliptic conversions take for an epoch year: the whole year,
// the fraction times 12 as the month and the rest times 30 as the day.
double EpochYearToJulianDate(double epochYear);

// EquatorialToEcliptic and EclipticToEquatorial: rotation about the equinox direction by
// the mean obliquity of epochYear.
//
// Given:
//   ra, dec / lon, lat   position (rad)
//   epochYear            equinox of both (years)
// Returned:
//   the other pair (rad), longitude and right ascension 0...2 pi
// Reference:
//   Duffett-Smith (above), sections 27 and 28.
void EquatorialToEcliptic(double ra, double dec, double epochYear, double &lon, double &lat);
void EclipticToEquatorial(double lon, double lat, double epochYear, double &ra, double &dec);

// An angle brought into 0...2 pi (the program's pi).
double IntoFullTurn(double angle);

} // namespace vespario
