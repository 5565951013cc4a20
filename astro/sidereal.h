#pragma once
// Greenwich mean sidereal time on the 1900-based series, and back from sidereal time to UT.
// A sidereal time is carried as a "sidereal instant": a Julian Date near the UT instant
// whose time of day (its calendar hours, minutes and seconds) is the sidereal time, so that
// the date-time text format shows it.

namespace vespario {

// GreenwichSidereal: Greenwich mean sidereal time of a UT instant.
//
// Given:
//   jd      Julian Date (days, UT)
// Returned:
//   sidereal instant (days): within half a day of jd; its time of day is the GMST
// Notes:
//   1) The day fraction is taken from the calendar time of jd to the nearest second, so
//      the result follows jd in whole seconds.
//   2) Against the IAU 1982 GMST expression the series differs by at most 0.2 s over
//      1900-2100: the two fits drift apart by about 0.085 s per century (0 in 1900), and
//      the rounded daily rate 0.0657098 h adds a sawtooth that restarts every January.
// Reference:
//   Newcomb's sidereal time series as given by Duffett-Smith, "Practical Astronomy with
//   your Calculator", 3rd ed. 1988, section 12, with GST at 0h UT of January 0 of the year
//   (the 2400.051262 T term reduced to whole days per year).
double GreenwichSidereal(double jd);

// SiderealToUT: the UT instant at which the Greenwich mean sidereal time is that of x.
//
// Given:
//   x       sidereal instant (days), as GreenwichSidereal returns it
// Returned:
//   Julian Date (days, UT) within half a sidereal day of x
// Notes:
//   1) The UT is found on the calendar day of x and then moved by whole sidereal days (not
//      solar days, which would change the sidereal time by 3m56s) to the one nearest x.
//   2) Where one UT day holds the same sidereal time twice, the one nearer x is returned.
// Reference:
//   Duffett-Smith (above), section 13 (sidereal interval = 0.99727 solar).
double SiderealToUT(double x);

// The time of day of a sidereal instant (or any instant) in hours, 0 <= h < 24.
double TimeOfDayHours(double instant);

} // namespace vespario
