#pragma once
// The astronomy's constants, each with its unit. Every conversion between radians and
// hours or degrees uses the program's own value of pi, 3.14159265, not the full double, so
// that positions printed and read back agree with the files that earlier versions wrote.

namespace vespario {

inline constexpr double kPi = 3.14159265;                     // the program's pi (rad)
inline constexpr double kTwoPi = 6.2831853;                   // one full turn (rad)
inline constexpr double kHourToRad = 0.2617993875;            // one hour of right ascension
inline constexpr double kDegToRad = 0.017453292500000002;     // one degree (rad)
inline constexpr double kRadToDeg = 57.29577957855229;        // 180 / kPi (deg/rad)
inline constexpr double kRadToHours = 3.819718638570153;      // 12 / kPi (h/rad)
inline constexpr double kRadToHoursRiseSet = 3.819718634;     // the rise/set half-arc factor
inline constexpr double kArcsecToRad = 4.848136805555556e-06; // one arcsecond (rad)
inline constexpr double kRadToArcmin = 3437.7467747131377;    // 10800 / kPi (arcmin/rad)
inline constexpr double kRadToTenthsOfTimeSecond = 137509.8709885255; // 432000 / kPi
inline constexpr double kRadToArcsec = 206264.80648278826;            // 648000 / kPi (arcsec/rad)

// Time scales.
inline constexpr double kJd1900 = 2415020.0;       // 1900 January 0.5 (JD)
inline constexpr double kDaysPerCentury = 36525.0; // Julian century (days)
// 0.99727 solar hours per sidereal hour, expressed in days
inline constexpr double kSiderealToSolarDays = 0.04155289865416666;
inline constexpr double kInvalidJulianDate = -9000000100.0; // what a failed date parse gives

// Rise/set results that the computed fields use when a position never crosses the horizon.
inline constexpr double kSiderealDayHours = 23.9333; // a transit one sidereal day later (h)

} // namespace vespario
