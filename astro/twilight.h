#pragma once
// Civil, nautical and astronomical twilight of the observing night.

namespace vespario {

class ObservingPlace;

enum class TwilightKind { Civil = 0, Nautical = 1, Astronomical = 2 };

// The Sun's altitude limits (deg): -6, -12 and -18.
double TwilightLimitDegrees(TwilightKind kind);

struct TwilightTimes {
    bool reached = false;    // both ends below: evening and morning are set
    bool hasEvening = false; // the Sun goes down through the limit that evening
    bool hasMorning = false; // the Sun comes up through the limit that morning
    bool staysAbove = false; // neither: true above the limit all night, false below all day
    double evening = 0.0;    // end of evening twilight (JD, UT)
    double morning = 0.0;    // start of morning twilight (JD, UT)
};

struct NightTwilight {
    bool sunSetsAndRises = false; // false: no sunset or no sunrise that night
    double sunset = 0.0;          // the night's sunset (JD, UT), when there is one
    double sunrise = 0.0;         // the next sunrise (JD, UT), when there is one
    TwilightTimes kinds[3];       // by TwilightKind
};

// The local noon that opens the observing night in progress at jd (JD, UT), as a UT
// instant: the computed hour fields count their hours from it.
double OpeningNoon(const ObservingPlace &place, double jd);

// TwilightOfNight: the twilight times of the observing night in progress at jd.
//
// Given:
//   place   the observer
//   jd      the instant (JD, UT)
// Returned:
//   the night's sunset and next sunrise and, for each limit, the end of evening and the
//   start of morning twilight
// Notes:
//   1) The observing night is the one opened by the local noon at or before jd (as the
//      computed time fields count it): it runs from the Sun's upper culmination nearest
//      that noon to the next one, through the lower culmination between them.
//   2) Each limit is found from the Sun's altitude whether or not the Sun rises or sets:
//      evening is the instant it goes down through the limit (between the upper and the
//      lower culmination), morning the instant it comes up through it (between the lower
//      and the next upper), each refined to about a second on the side at or below the
//      limit (HorizonEvents with the shift -limit).
//   3) A limit the Sun does not cross that night is not reached: above it all night
//      (midnight sun, the light nights of summer) or below it all day (polar night).
NightTwilight TwilightOfNight(const ObservingPlace &place, double jd);

} // namespace vespario
