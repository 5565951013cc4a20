#include "astro/bodyriseset.h"

#include "astro/constants.h"
#include "astro/horizon.h"
#include "astro/moon.h"
#include "astro/observingplace.h"
#include "astro/planets.h"
#include "astro/sun.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

constexpr double kSecondDays = 1.0 / 86400.0; // a refinement step below this ends it
constexpr int kMaxSteps = 40;
// The hour angle of a fixed point grows by a full turn each sidereal day (rad/day).
constexpr double kSiderealRate = kTwoPi * 24.065709792 / 24.0;
// Half the longest interval between two culminations (the Moon's, 12.4 h) and a little.
constexpr double kCulminationLead = 0.53; // days
constexpr int kMaxCulminations = 16;

// The body at an instant: its place, the altitude of its centre and that altitude plus the
// shift, which is positive while the body is up.
HorizonEvent At(const ObservingPlace &place, const BodyPlaceAt &body, double jd,
                HorizonEventKind kind) {
    HorizonEvent e;
    e.kind = kind;
    e.jd = jd;
    e.place = body(jd);
    double azimuth = 0.0;
    place.Horizon(place.HourAngle(jd, e.place.ra), e.place.dec, azimuth, e.altitude);
    return e;
}

double Height(const HorizonEvent &e) {
    return e.altitude + e.place.shift;
}

// The hour angle's distance from target (0 or pi), -pi...pi (rad).
double FromTarget(const ObservingPlace &place, const HorizonEvent &e, double target) {
    return std::remainder(place.HourAngle(e.jd, e.place.ra) - target, kTwoPi);
}

// The culmination nearest guess, by secant steps on the hour angle; rate is the body's
// hour angle rate to start with (rad/day).
HorizonEvent Culminate(const ObservingPlace &place, const BodyPlaceAt &body, double guess,
                       bool upper, double rate) {
    const HorizonEventKind kind =
        upper ? HorizonEventKind::UpperCulmination : HorizonEventKind::LowerCulmination;
    const double target = upper ? 0.0 : kPi;
    HorizonEvent previous = At(place, body, guess, kind);
    double previousOff = FromTarget(place, previous, target);
    HorizonEvent current = At(place, body, guess - previousOff / rate, kind);
    for (int i = 0; i < kMaxSteps; ++i) {
        const double off = FromTarget(place, current, target);
        const double dt = current.jd - previous.jd;
        if (!(std::fabs(dt) >= kSecondDays))
            break;
        // The sidereal time follows the clock in whole seconds: a slope measured over a few
        // seconds may be far out, and the rate to start with then serves.
        const double slope = (off - previousOff) / dt;
        if (slope > 0.5 * kSiderealRate && slope < 1.5 * kSiderealRate)
            rate = slope;
        previous = current;
        previousOff = off;
        current = At(place, body, current.jd - off / rate, kind);
    }
    return current;
}

// The culminations from the last before 'from' to the first at or after 'to'.
std::vector<HorizonEvent> Culminations(const ObservingPlace &place, const BodyPlaceAt &body,
                                       double from, double to) {
    std::vector<HorizonEvent> out;
    const double start = from - kCulminationLead;
    const HorizonEvent first = At(place, body, start, HorizonEventKind::LowerCulmination);
    const double h = place.HourAngle(start, first.place.ra);
    bool upper = h >= kPi;
    double rate = kSiderealRate;
    double guess = start + ((upper ? kTwoPi : kPi) - h) / rate;
    for (int i = 0; i < kMaxCulminations; ++i) {
        const HorizonEvent c = Culminate(place, body, guess, upper, rate);
        if (!std::isfinite(c.jd) || (!out.empty() && c.jd <= out.back().jd))
            break;
        // Half a turn of hour angle since the last culmination gives the body's own rate
        // (the Moon's is 3.5 % below the sidereal one).
        if (!out.empty())
            rate =
                std::clamp(kPi / (c.jd - out.back().jd), 0.5 * kSiderealRate, 1.5 * kSiderealRate);
        out.push_back(c);
        if (c.jd >= to)
            break;
        upper = !upper;
        guess = c.jd + kPi / rate;
    }
    return out;
}

// A first estimate of the crossing between culminations a and b: the hour angle at which
// their mean place stands at -shift, as a fraction of the half turn between them.
double EstimateCrossing(const ObservingPlace &place, const HorizonEvent &a, const HorizonEvent &b,
                        bool rising) {
    const double phi = place.Latitude() * kDegToRad;
    const double dec = 0.5 * (a.place.dec + b.place.dec);
    const double h0 = -0.5 * (a.place.shift + b.place.shift);
    const double c = (std::sin(h0) - std::sin(phi) * std::sin(dec)) /
                     std::max(std::cos(phi) * std::cos(dec), 1e-12);
    const double h = std::acos(std::clamp(c, -1.0, 1.0));
    const double fraction = rising ? (kPi - h) / kPi : h / kPi;
    return a.jd + (b.jd - a.jd) * std::clamp(fraction, 0.0, 1.0);
}

// The crossing of -shift between culminations a and b (Height changes sign between them):
// secant steps kept inside the bracket, halving it when a step would leave it.
HorizonEvent Cross(const ObservingPlace &place, const BodyPlaceAt &body, const HorizonEvent &a,
                   const HorizonEvent &b, bool rising) {
    const HorizonEventKind kind = rising ? HorizonEventKind::Rise : HorizonEventKind::Set;
    HorizonEvent down = Height(a) <= 0.0 ? a : b;
    HorizonEvent up = Height(a) <= 0.0 ? b : a;
    HorizonEvent current = At(place, body, EstimateCrossing(place, a, b, rising), kind);
    HorizonEvent previous = Height(current) <= 0.0 ? up : down;
    for (int i = 0; i < kMaxSteps; ++i) {
        (Height(current) <= 0.0 ? down : up) = current;
        const double slope = (Height(current) - Height(previous)) / (current.jd - previous.jd);
        double next = current.jd - Height(current) / slope;
        const double lo = std::min(down.jd, up.jd), hi = std::max(down.jd, up.jd);
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        const double step = std::fabs(next - current.jd);
        if (!(step >= kSecondDays) || hi - lo < kSecondDays)
            break;
        previous = current;
        current = At(place, body, next, kind);
    }
    // The side at or below -shift, as the twilight ends are counted.
    if (Height(current) <= 0.0)
        return current;
    if (std::fabs(down.jd - current.jd) <= 2.0 * kSecondDays) {
        down.kind = kind; // it may still be the culmination the bracket started from
        return down;
    }
    const double direction = down.jd > current.jd ? 1.0 : -1.0;
    const HorizonEvent nudged = At(place, body, current.jd + direction * kSecondDays, kind);
    return Height(nudged) <= 0.0 ? nudged : current;
}

double AzimuthAt(const ObservingPlace &place, const HorizonEvent &e) {
    RiseSetTimes times;
    if (place.RiseSet(e.place.ra, e.place.dec, e.place.shift, times))
        return e.kind == HorizonEventKind::Rise ? times.riseAzimuth : times.setAzimuth;
    double azimuth = 0.0, altitude = 0.0;
    place.Horizon(place.HourAngle(e.jd, e.place.ra), e.place.dec, azimuth, altitude);
    return azimuth;
}

} // namespace

std::vector<HorizonEvent> HorizonEvents(const ObservingPlace &place, const BodyPlaceAt &body,
                                        double from, double to) {
    std::vector<HorizonEvent> events;
    if (!std::isfinite(from) || !std::isfinite(to) || !(to > from))
        return events;
    const std::vector<HorizonEvent> culminations = Culminations(place, body, from, to);
    for (std::size_t i = 0; i < culminations.size(); ++i) {
        const HorizonEvent &a = culminations[i];
        if (a.jd >= from && a.jd < to)
            events.push_back(a);
        if (i + 1 == culminations.size() || a.jd >= to)
            continue;
        const HorizonEvent &b = culminations[i + 1];
        const bool rising = a.kind == HorizonEventKind::LowerCulmination;
        const bool crosses =
            rising ? Height(a) <= 0.0 && Height(b) > 0.0 : Height(a) > 0.0 && Height(b) <= 0.0;
        if (!crosses || b.jd < from)
            continue;
        const HorizonEvent e = Cross(place, body, a, b, rising);
        if (e.jd >= from && e.jd < to)
            events.push_back(e);
    }
    return events;
}

DayRiseSet RiseSetForDate(const ObservingPlace &place, double localTime, const BodyPlaceAt &body) {
    DayRiseSet result;
    if (!std::isfinite(localTime))
        return result;
    const double date = std::floor(localTime + 0.5) - 0.5;
    // Daylight time adds 0 or 1 hour: the date lies within these UT instants.
    const double zone = place.ZoneOffset() / 24.0;
    const double from = date - zone - 1.0 / 24.0;
    const double to = date + 1.0 - zone;
    for (const HorizonEvent &e : HorizonEvents(place, body, from, to)) {
        if (place.LocalDate(e.jd) != date)
            continue;
        switch (e.kind) {
        case HorizonEventKind::Rise:
            if (!result.rises) {
                result.rises = true;
                result.rise = e.jd;
                result.riseAzimuth = AzimuthAt(place, e);
            }
            break;
        case HorizonEventKind::Set:
            if (!result.sets) {
                result.sets = true;
                result.set = e.jd;
                result.setAzimuth = AzimuthAt(place, e);
            }
            break;
        case HorizonEventKind::UpperCulmination:
            if (!result.transits) {
                result.transits = true;
                result.transit = e.jd;
            }
            break;
        case HorizonEventKind::LowerCulmination:
            break;
        }
    }
    return result;
}

BodyPlaceAt SunWithShift(double shift) {
    return [shift](double t) {
        const ApparentPlace sun = SunApparent(t);
        return BodyPlace{sun.ra, sun.dec, shift};
    };
}

DayRiseSet SunRiseSetForDate(const ObservingPlace &place, double localTime) {
    return RiseSetForDate(place, localTime, SunWithShift(kSunRiseSetShift));
}

DayRiseSet MoonRiseSetForDate(const ObservingPlace &place, double localTime) {
    return RiseSetForDate(place, localTime, [](double t) {
        const MoonPosition moon = ComputeMoon(t);
        return BodyPlace{moon.apparent.ra, moon.apparent.dec,
                         MoonRiseSetShift(moon.horizontalParallax)};
    });
}

DayRiseSet PlanetRiseSetForDate(const ObservingPlace &place, int planet, double localTime) {
    return RiseSetForDate(place, localTime, [planet](double t) {
        const PlanetPosition p = ComputePlanet(planet, t);
        return BodyPlace{p.apparent.ra, p.apparent.dec, kRefractionRiseSetShift};
    });
}

} // namespace vespario
