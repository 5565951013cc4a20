#pragma once
// Nutation in longitude and obliquity on the 1900-based series.

namespace vespario {

struct Nutation {
    double longitude = 0.0; // delta psi (degrees)
    double obliquity = 0.0; // delta epsilon (degrees)
};

// NutationOfDate: nutation in longitude and in obliquity.
//
// Given:
//   jd      Julian Date (the theory's time argument; UT is used as given)
// Returned:
//   delta psi and delta epsilon (degrees)
// Notes:
//   The largest terms of the IAU 1980 theory are within about 0.5" of this truncated
//   series; the arguments are the mean longitudes of Sun (L) and Moon (L'), their mean
//   anomalies (M, M') and the Moon's node (Omega), all 1900-based.
// Reference:
//   Explanatory Supplement to the Astronomical Ephemeris, 1961, p. 44; Duffett-Smith,
//   P., "Astronomy with your Personal Computer", 2nd ed., Cambridge 1990, NUTAT.
Nutation NutationOfDate(double jd);

} // namespace vespario
