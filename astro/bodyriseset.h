#pragma once
// Rising and setting of the Sun, the Moon and the planets on a date, with one refinement
// step on the body's position at the first estimates.

#include <functional>

namespace vespario {

class ObservingPlace;

// The vertical shifts (rad): the Sun's 0.836 deg (refraction 34' and semi-diameter 16'),
// and refraction alone for the planets.
inline constexpr double kSunRiseSetShift = 0.014593;
inline constexpr double kRefractionRiseSetShift = 0.0098902;

struct DayRiseSet {
    bool found = false;       // false: no rise or set that day (then the rest is 0)
    double rise = 0.0;        // UT instant (JD)
    double set = 0.0;         // UT instant (JD)
    double riseAzimuth = 0.0; // 0...2 pi (rad), from north through east
    double setAzimuth = 0.0;  // 0...2 pi (rad)
};

// Where a body stands at an instant, and its vertical shift there.
struct BodyPlace {
    double ra = 0.0;    // apparent right ascension (rad)
    double dec = 0.0;   // apparent declination (rad)
    double shift = 0.0; // vertical shift for RiseSet (rad)
};

using BodyPlaceAt = std::function<BodyPlace(double jd)>;

// RiseSetForDate: rise and set of a body on the UT date of jd.
//
// Given:
//   place   the observer (latitude, longitude)
//   jd      any instant of the date; the date is d0 = floor(jd + 0.5) - 0.5 (0h UT)
//   body    the body's place at an instant
// Returned:
//   the rise and set instants and azimuths, or found = false
// Notes:
//   1) The first estimate uses the body's place at d0; each local sidereal time L from
//      RiseSet becomes the UT instant SiderealToUT(d0 + L/24 - longitude/360).
//   2) The body's place is then recomputed at the estimated rise (set) instant and RiseSet
//      gives the final rise (set), turned into UT the same way and then moved by whole
//      sidereal days to the one nearest the estimate, so that the event is the one whose
//      position was used (without that step an event now and then came out a day away from
//      its position, up to 6 minutes wrong for the Sun and far more for the Moon).
//   3) When RiseSet has no result at any of the three steps there is no rise or set.
DayRiseSet RiseSetForDate(const ObservingPlace &place, double jd, const BodyPlaceAt &body);

// The same for the Sun (apparent place, shift 0.836 deg), the Moon (its own shift, see
// MoonRiseSetShift) and a planet 1...8 (refraction only).
DayRiseSet SunRiseSetForDate(const ObservingPlace &place, double jd);
DayRiseSet MoonRiseSetForDate(const ObservingPlace &place, double jd);
DayRiseSet PlanetRiseSetForDate(const ObservingPlace &place, int planet, double jd);

} // namespace vespario
