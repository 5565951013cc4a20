#pragma once
// Rising, culmination and setting of the Sun, the Moon and the planets on a local date,
// each found from the body's own position at the event.

#include <functional>
#include <vector>

namespace vespario {

class ObservingPlace;

// The vertical shifts (rad): the Sun's 0.836 deg (refraction 34' and semi-diameter 16'),
// and refraction alone for the planets.
inline constexpr double kSunRiseSetShift = 0.014593;
inline constexpr double kRefractionRiseSetShift = 0.0098902;

// The events of one body on one local date; a flag that is false leaves its instant (and
// azimuth) 0: the body does not rise, culminate or set on that date.
struct DayRiseSet {
    bool rises = false;
    bool transits = false;
    bool sets = false;
    double rise = 0.0;        // UT instant (JD)
    double transit = 0.0;     // UT instant (JD) of the upper culmination (hour angle 0)
    double set = 0.0;         // UT instant (JD)
    double riseAzimuth = 0.0; // 0...2 pi (rad), from north through east
    double setAzimuth = 0.0;  // 0...2 pi (rad)
};

// Where a body stands at an instant, and its vertical shift there.
struct BodyPlace {
    double ra = 0.0;    // apparent right ascension (rad)
    double dec = 0.0;   // apparent declination (rad)
    double shift = 0.0; // vertical shift (rad): the event is the centre at altitude -shift
};

using BodyPlaceAt = std::function<BodyPlace(double jd)>;

enum class HorizonEventKind { Rise, UpperCulmination, Set, LowerCulmination };

struct HorizonEvent {
    HorizonEventKind kind = HorizonEventKind::Rise;
    double jd = 0.0;       // UT instant (JD)
    double altitude = 0.0; // altitude of the centre then (rad)
    BodyPlace place;       // the body's place then
};

// HorizonEvents: every rise, set and culmination of a body in a span of time.
//
// Given:
//   place   the observer (latitude, longitude)
//   body    the body's place at an instant
//   from    start of the span (JD, UT)
//   to      end of the span (JD, UT)
// Returned:
//   the events with from <= jd < to, in time order
// Notes:
//   1) The culminations are the instants of hour angle 0 (upper) and pi (lower) on the
//      program's own sidereal time, each refined on the body's position until a step is
//      below a second. Between two culminations the altitude changes one way only, so a
//      rise (set) lies between a lower and an upper (upper and lower) culmination exactly
//      when the altitude plus the shift changes sign between them.
//   2) Each rise and set is refined on the body's position at the estimate until a step is
//      below a second; the instant returned has the centre at or below -shift to within
//      that second, never more than a second away from the crossing.
//   3) A body that only grazes -shift between two culminations, by less than its own motion
//      in declination shifts the extreme from the culmination (for the Moon some 0.01 deg),
//      may be taken as not crossing it.
std::vector<HorizonEvent> HorizonEvents(const ObservingPlace &place, const BodyPlaceAt &body,
                                        double from, double to);

// RiseSetForDate: the first rise, upper culmination and set of a body on a local date.
//
// Given:
//   place       the observer (latitude, longitude, zone and daylight rules)
//   localTime   any local-clock instant of the date (JD in local time numbers, e.g.
//               ObservingPlace::LocalDate); the date runs from local midnight to local
//               midnight
//   body        the body's place at an instant
// Returned:
//   the events whose local date (as LocalTimeText shows it) is that date; azimuths are
//   those of RiseSet on the body's place at the event
DayRiseSet RiseSetForDate(const ObservingPlace &place, double localTime, const BodyPlaceAt &body);

// The same for the Sun (apparent place, shift 0.836 deg), the Moon (its own shift, see
// MoonRiseSetShift) and a planet 1...8 (refraction only).
DayRiseSet SunRiseSetForDate(const ObservingPlace &place, double localTime);
DayRiseSet MoonRiseSetForDate(const ObservingPlace &place, double localTime);
DayRiseSet PlanetRiseSetForDate(const ObservingPlace &place, int planet, double localTime);

// The Sun's place with a given vertical shift (rad): the twilight limits use -limit.
BodyPlaceAt SunWithShift(double shift);

} // namespace vespario
