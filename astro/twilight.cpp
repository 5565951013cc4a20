#include "astro/twilight.h"

#include "astro/bodyriseset.h"
#include "astro/constants.h"
#include "astro/observingplace.h"
#include "astro/sun.h"

#include <cmath>
#include <limits>

namespace vespario {

namespace {

constexpr double kStepDays = 0.0006944444444444444; // one minute

double SunAltitude(const ObservingPlace &place, double jd) {
    const ApparentPlace sun = SunApparent(jd);
    double azimuth = 0.0, altitude = 0.0;
    place.Horizon(place.HourAngle(jd, sun.ra), sun.dec, azimuth, altitude);
    return altitude;
}

// The local noon that opens the observing night in progress at jd (JD, UT).
double OpeningNoon(const ObservingPlace &place, double jd) {
    const double offset = (place.ZoneOffset() + place.DaylightOffset(jd)) / 24.0;
    return std::floor(jd + offset) - offset;
}

// The first sunset (or sunrise) after 'after' and within a day of it; NaN when none.
double FirstEventAfter(const ObservingPlace &place, double after, bool sunset) {
    double best = std::numeric_limits<double>::quiet_NaN();
    for (int day = -1; day <= 2; ++day) {
        const DayRiseSet s = SunRiseSetForDate(place, after + day);
        if (!s.found)
            continue;
        const double event = sunset ? s.set : s.rise;
        if (event > after && event < after + 1.0 && !(event >= best))
            best = event;
    }
    return best;
}

// Steps from 'from' by 'step' until the altitude is at or below limit, at most to 'until'.
bool StepToLimit(const ObservingPlace &place, double from, double until, double step, double limit,
                 double &found) {
    const long steps = static_cast<long>(std::fabs(until - from) / kStepDays);
    for (long i = 0; i <= steps; ++i) {
        const double t = from + step * static_cast<double>(i);
        if (SunAltitude(place, t) <= limit) {
            found = t;
            return true;
        }
    }
    return false;
}

} // namespace

double TwilightLimitDegrees(TwilightKind kind) {
    return -6.0 * (static_cast<int>(kind) + 1);
}

NightTwilight TwilightOfNight(const ObservingPlace &place, double jd) {
    NightTwilight night;
    if (!std::isfinite(jd))
        return night;
    const double sunset = FirstEventAfter(place, OpeningNoon(place, jd), true);
    if (std::isnan(sunset))
        return night;
    const double sunrise = FirstEventAfter(place, sunset, false);
    if (std::isnan(sunrise))
        return night;
    night.sunSetsAndRises = true;
    night.sunset = sunset;
    night.sunrise = sunrise;
    // Each deeper limit is reached after the shallower one: its search starts there.
    double evening = sunset, morning = sunrise;
    for (TwilightTimes &times : night.kinds) {
        const int index = static_cast<int>(&times - night.kinds);
        const double limit = TwilightLimitDegrees(static_cast<TwilightKind>(index)) * kDegToRad;
        if (!StepToLimit(place, evening, sunrise, kStepDays, limit, evening) ||
            !StepToLimit(place, morning, sunset, -kStepDays, limit, morning))
            break;
        times.reached = true;
        times.evening = evening;
        times.morning = morning;
    }
    return night;
}

} // namespace vespario
