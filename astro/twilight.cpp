#include "astro/twilight.h"

#include "astro/bodyriseset.h"
#include "astro/constants.h"
#include "astro/observingplace.h"

#include <cmath>
#include <vector>

namespace vespario {

double OpeningNoon(const ObservingPlace &place, double jd) {
    const double offset = (place.ZoneOffset() + place.DaylightOffset(jd)) / 24.0;
    return std::floor(jd + offset) - offset;
}

namespace {

// The Sun's night: its upper culmination nearest the opening noon, the lower one after
// it and the next upper one, with the Sun's altitude at each.
struct SunNight {
    bool found = false;
    HorizonEvent upper, lower, nextUpper;
};

SunNight NightAround(const std::vector<HorizonEvent> &events, double noon) {
    std::vector<const HorizonEvent *> culminations;
    for (const HorizonEvent &e : events) {
        if (e.kind == HorizonEventKind::UpperCulmination ||
            e.kind == HorizonEventKind::LowerCulmination)
            culminations.push_back(&e);
    }
    // Upper and lower culminations alternate.
    SunNight night;
    for (std::size_t i = 0; i + 2 < culminations.size(); ++i) {
        const HorizonEvent &upper = *culminations[i];
        if (upper.kind != HorizonEventKind::UpperCulmination)
            continue;
        if (night.found && std::fabs(upper.jd - noon) >= std::fabs(night.upper.jd - noon))
            continue;
        night = {true, upper, *culminations[i + 1], *culminations[i + 2]};
    }
    return night;
}

// The first crossing of the given kind in the events of the night.
bool FirstOfKind(const std::vector<HorizonEvent> &events, HorizonEventKind kind, double &jd) {
    for (const HorizonEvent &e : events) {
        if (e.kind == kind) {
            jd = e.jd;
            return true;
        }
    }
    return false;
}

TwilightTimes TimesForLimit(const ObservingPlace &place, const SunNight &night, double limit) {
    TwilightTimes times;
    const std::vector<HorizonEvent> events =
        HorizonEvents(place, SunWithShift(-limit), night.upper.jd, night.nextUpper.jd);
    times.hasEvening = FirstOfKind(events, HorizonEventKind::Set, times.evening);
    times.hasMorning = FirstOfKind(events, HorizonEventKind::Rise, times.morning);
    times.reached = times.hasEvening && times.hasMorning;
    times.staysAbove = night.lower.altitude > limit;
    return times;
}

} // namespace

double TwilightLimitDegrees(TwilightKind kind) {
    return -6.0 * (static_cast<int>(kind) + 1);
}

NightTwilight TwilightOfNight(const ObservingPlace &place, double jd) {
    NightTwilight result;
    if (!std::isfinite(jd))
        return result;
    const double noon = OpeningNoon(place, jd);
    const std::vector<HorizonEvent> events =
        HorizonEvents(place, SunWithShift(kSunRiseSetShift), noon - 0.6, noon + 1.6);
    const SunNight night = NightAround(events, noon);
    if (!night.found)
        return result;
    bool sets = false, rises = false;
    for (const HorizonEvent &e : events) {
        if (e.jd <= night.upper.jd || e.jd >= night.nextUpper.jd)
            continue;
        if (e.kind == HorizonEventKind::Set && !sets) {
            sets = true;
            result.sunset = e.jd;
        } else if (e.kind == HorizonEventKind::Rise && !rises) {
            rises = true;
            result.sunrise = e.jd;
        }
    }
    result.sunSetsAndRises = sets && rises;
    for (int k = 0; k < 3; ++k) {
        const double limit = TwilightLimitDegrees(static_cast<TwilightKind>(k)) * kDegToRad;
        result.kinds[k] = TimesForLimit(place, night, limit);
    }
    return result;
}

} // namespace vespario
