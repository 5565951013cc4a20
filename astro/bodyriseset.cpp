#include "astro/bodyriseset.h"

#include "astro/horizon.h"
#include "astro/moon.h"
#include "astro/observingplace.h"
#include "astro/planets.h"
#include "astro/sidereal.h"
#include "astro/sun.h"

#include <cmath>

namespace vespario {

namespace {

constexpr double kSiderealDay = 0.99726957; // days

double SiderealOnDate(const ObservingPlace &place, double d0, double localSiderealHours) {
    return SiderealToUT(d0 + localSiderealHours / 24.0 - place.Longitude() / 360.0);
}

// The refined event taken on the same day as the estimate it was refined at: the sidereal
// time to UT step may land a sidereal day either side of it (when the refined sidereal time
// wraps past 24h, or the estimate lies near the edge of the day), and the event would then
// be reported with a position a day away from it.
double NearEstimate(double refined, double estimate) {
    return refined - kSiderealDay * std::round((refined - estimate) / kSiderealDay);
}

bool RiseSetAt(const ObservingPlace &place, const BodyPlaceAt &body, double jd,
               RiseSetTimes &times) {
    const BodyPlace p = body(jd);
    return place.RiseSet(p.ra, p.dec, p.shift, times);
}

} // namespace

DayRiseSet RiseSetForDate(const ObservingPlace &place, double jd, const BodyPlaceAt &body) {
    DayRiseSet result;
    if (!std::isfinite(jd))
        return result;
    const double d0 = std::floor(jd + 0.5) - 0.5;
    RiseSetTimes first;
    if (!RiseSetAt(place, body, d0, first))
        return result;
    const double riseEstimate = SiderealOnDate(place, d0, first.riseSidereal);
    const double setEstimate = SiderealOnDate(place, d0, first.setSidereal);
    RiseSetTimes atRise, atSet;
    if (!RiseSetAt(place, body, riseEstimate, atRise) ||
        !RiseSetAt(place, body, setEstimate, atSet))
        return result;
    result.found = true;
    result.rise = NearEstimate(SiderealOnDate(place, d0, atRise.riseSidereal), riseEstimate);
    result.set = NearEstimate(SiderealOnDate(place, d0, atSet.setSidereal), setEstimate);
    result.riseAzimuth = atRise.riseAzimuth;
    result.setAzimuth = atSet.setAzimuth;
    return result;
}

DayRiseSet SunRiseSetForDate(const ObservingPlace &place, double jd) {
    return RiseSetForDate(place, jd, [](double t) {
        const ApparentPlace sun = SunApparent(t);
        return BodyPlace{sun.ra, sun.dec, kSunRiseSetShift};
    });
}

DayRiseSet MoonRiseSetForDate(const ObservingPlace &place, double jd) {
    return RiseSetForDate(place, jd, [](double t) {
        const MoonPosition moon = ComputeMoon(t);
        return BodyPlace{moon.apparent.ra, moon.apparent.dec,
                         MoonRiseSetShift(moon.horizontalParallax)};
    });
}

DayRiseSet PlanetRiseSetForDate(const ObservingPlace &place, int planet, double jd) {
    return RiseSetForDate(place, jd, [planet](double t) {
        const PlanetPosition p = ComputePlanet(planet, t);
        return BodyPlace{p.apparent.ra, p.apparent.dec, kRefractionRiseSetShift};
    });
}

} // namespace vespario
