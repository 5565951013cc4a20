#pragma once
// Civil, nautical and astronomical twilight of the observing night.

namespace vespario {

class ObservingPlace;

enum class TwilightKind { Civil = 0, Nautical = 1, Astronomical = 2 };

// The Sun's altitude limits (deg): -6, -12 and -18.
double TwilightLimitDegrees(TwilightKind kind);

struct TwilightTimes {
    bool reached = false; // false: the Sun stays above the limit all night
    double evening = 0.0; // end of evening twilight (JD, UT)
    double morning = 0.0; // start of morning twilight (JD, UT)
};

struct NightTwilight {
    bool sunSetsAndRises = false; // false: no sunset or sunrise; the rest is 0
    double sunset = 0.0;          // the night's sunset (JD, UT)
    double sunrise = 0.0;         // the next sunrise (JD, UT)
    TwilightTimes kinds[3];       // by TwilightKind
};

// TwilightOfNight: the twilight times of the observing night in progress at jd.
//
// Given:
//   place   the observer
//   jd      the instant (JD, UT)
// Returned:
//   the night's sunset and next sunrise (SunRiseSetForDate) and, for each limit, the end
//   of evening and the start of morning twilight
// Notes:
//   1) The observing night is the one opened by the local noon at or before jd (as the
//      computed time fields count it): its sunset is the first after that noon, its
//      sunrise the first after that sunset, each taken from the rise and set of the UT
//      dates around it.
//   2) Evening: from the sunset the Sun's altitude is computed at one-minute steps until
//      it is at or below the limit; morning: the same backward from the sunrise. A limit
//      that the Sun does not reach before the sunrise (after the sunset) is not reached.
//   3) A date without sunset or sunrise (midnight sun, polar night) gives none.
NightTwilight TwilightOfNight(const ObservingPlace &place, double jd);

} // namespace vespario
