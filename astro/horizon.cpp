#include "astro/horizon.h"

#include "astro/constants.h"
#include "astro/coordinates.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

double SafeAcos(double x) {
    return std::acos(std::clamp(x, -1.0, 1.0));
}

double IntoDay(double hours) {
    if (!std::isfinite(hours))
        return hours;
    return hours - 24.0 * std::floor(hours / 24.0);
}

} // namespace

void HorizonCoordinates(double hourAngle, double dec, double latitude, double &azimuth,
                        double &altitude) {
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    altitude = std::asin(std::clamp(
        std::sin(dec) * sinLat + std::cos(dec) * cosLat * std::cos(hourAngle), -1.0, 1.0));
    const double denominator = std::max(cosLat * std::cos(altitude), 1e-20);
    azimuth = SafeAcos((std::sin(dec) - sinLat * std::sin(altitude)) / denominator);
    if (std::sin(hourAngle) > 0.0)
        azimuth = kTwoPi - azimuth;
}

void EquatorialFromHorizon(double azimuth, double altitude, double latitude, double &hourAngle,
                           double &dec) {
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    dec = std::asin(std::clamp(
        std::sin(altitude) * sinLat + std::cos(altitude) * cosLat * std::cos(azimuth), -1.0, 1.0));
    const double denominator = std::max(cosLat * std::cos(dec), 1e-20);
    hourAngle = SafeAcos((std::sin(altitude) - sinLat * std::sin(dec)) / denominator);
    if (std::sin(azimuth) > 0.0)
        hourAngle = kTwoPi - hourAngle;
}

bool RiseSetSidereal(double ra, double dec, double latitude, double shift, RiseSetTimes &times) {
    const double cosLat = std::cos(latitude);
    if (!(std::fabs(std::cos(dec) * cosLat) >= 1e-10))
        return false;
    const double p = std::clamp(std::sin(latitude) / std::cos(dec), -0.9999999, 0.9999999);
    const double y = std::sin(std::acos(p));
    const double shiftedDec = dec + p * shift;
    const double c = -(std::tan(shiftedDec) * std::sin(latitude)) / cosLat;
    if (!(c >= -1.0 && c <= 1.0))
        return false;
    const double halfArc = (std::acos(c) + y * shift) * kRadToHoursRiseSet;
    times.riseSidereal = IntoDay(ra * kRadToHours - halfArc);
    times.setSidereal = IntoDay(ra * kRadToHours + halfArc);
    times.riseAzimuth = IntoFullTurn(SafeAcos(std::sin(shiftedDec) / cosLat));
    times.setAzimuth = IntoFullTurn(2.0 * kPi - times.riseAzimuth);
    return true;
}

} // namespace vespario
