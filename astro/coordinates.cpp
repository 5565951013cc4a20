#include "astro/coordinates.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/precession.h"

#include <algorithm>
#include <cmath>

namespace vespario {

namespace {

constexpr double kGalacticPoleRa = 3.355395;   // 192.25 deg, 1950.0 (rad)
constexpr double kGalacticPoleDec = 0.4782202; // 27.4 deg, 1950.0 (rad)
constexpr double kGalacticNode = 0.5759587;    // 33 deg (rad)
constexpr double kGalacticEquinox = 1950.0;
constexpr double kSupergalacticTilt = 83.68 * kDegToRad;
constexpr double kSupergalacticZero = 137.37 * kDegToRad;

// atan(y/x) with the program's guard on the denominator and the quadrant from x's sign.
double ArcTangent(double y, double x) {
    if (std::fabs(x) < 1e-20)
        x = x < 0.0 ? -1e-20 : 1e-20;
    double angle = std::atan(y / x);
    if (x < 0.0)
        angle += kPi;
    return IntoFullTurn(angle);
}

double SafeAsin(double x) {
    return std::asin(std::clamp(x, -1.0, 1.0));
}

// The one rotation behind both supergalactic conversions.
void RotateSupergalactic(double lon, double lat, double tilt, double zeroIn, double zeroOut,
                         double &outLon, double &outLat) {
    const double x = std::cos(lat) * std::cos(lon - zeroIn);
    const double y = std::cos(lat) * std::sin(lon - zeroIn);
    const double z = std::sin(lat);
    const double y2 = y * std::cos(tilt) - z * std::sin(tilt);
    const double z2 = z * std::cos(tilt) + y * std::sin(tilt);
    const double length = std::sqrt(x * x + y2 * y2 + z2 * z2);
    outLat = SafeAsin(length > 0.0 ? z2 / length : 0.0);
    outLon = ArcTangent(y2, x) + zeroOut;
    outLon = IntoFullTurn(outLon);
}

} // namespace

double IntoFullTurn(double angle) {
    if (!std::isfinite(angle))
        return angle;
    angle = std::fmod(angle, 2.0 * kPi);
    return angle < 0.0 ? angle + 2.0 * kPi : angle;
}

void EquatorialToGalactic(double ra, double dec, double epochYear, Precession &precession,
                          double &l, double &b) {
    if (epochYear != kGalacticEquinox)
        precession.Apply(epochYear, kGalacticEquinox, ra, dec);
    const double dRa = ra - kGalacticPoleRa;
    b = SafeAsin(std::cos(dec) * std::cos(kGalacticPoleDec) * std::cos(dRa) +
                 std::sin(dec) * std::sin(kGalacticPoleDec));
    const double y = std::sin(dec) - std::sin(b) * std::sin(kGalacticPoleDec);
    const double x = std::cos(dec) * std::sin(dRa) * std::cos(kGalacticPoleDec);
    l = IntoFullTurn(ArcTangent(y, x) + kGalacticNode);
}

void GalacticToEquatorial(double l, double b, double epochYear, Precession &precession, double &ra,
                          double &dec) {
    const double dl = l - kGalacticNode;
    dec = SafeAsin(std::cos(b) * std::cos(kGalacticPoleDec) * std::sin(dl) +
                   std::sin(b) * std::sin(kGalacticPoleDec));
    const double y = std::cos(b) * std::cos(dl);
    const double x = std::sin(b) * std::cos(kGalacticPoleDec) -
                     std::cos(b) * std::sin(kGalacticPoleDec) * std::sin(dl);
    ra = IntoFullTurn(ArcTangent(y, x) + kGalacticPoleRa);
    if (epochYear != kGalacticEquinox)
        precession.Apply(kGalacticEquinox, epochYear, ra, dec);
}

void GalacticToSupergalactic(double l, double b, double &sgl, double &sgb) {
    RotateSupergalactic(l, b, -kSupergalacticTilt, kSupergalacticZero, 0.0, sgl, sgb);
}

void SupergalacticToGalactic(double sgl, double sgb, double &l, double &b) {
    RotateSupergalactic(sgl, sgb, kSupergalacticTilt, 0.0, kSupergalacticZero, l, b);
}

double MeanObliquity(double jd) {
    const double t = (jd - kJd1900) / kDaysPerCentury;
    const double degrees = 23.45229444 - (46.845 + (0.0059 - 0.00181 * t) * t) * t / 3600.0;
    return degrees * kDegToRad;
}

double EpochYearToJulianDate(double epochYear) {
    const double clamped = std::isfinite(epochYear) ? std::clamp(epochYear, -1e6, 1e6) : 2000.0;
    const double year = std::floor(clamped);
    const double months = (clamped - year) * 12.0;
    const double month = std::floor(months);
    const double day = std::floor((months - month) * 30.0);
    return JulianDate(static_cast<int>(year), static_cast<int>(month) + 1,
                      static_cast<int>(day) + 1);
}

void EquatorialToEcliptic(double ra, double dec, double epochYear, double &lon, double &lat) {
    const double eps = MeanObliquity(EpochYearToJulianDate(epochYear));
    lat = SafeAsin(std::sin(dec) * std::cos(eps) - std::cos(dec) * std::sin(eps) * std::sin(ra));
    lon = IntoFullTurn(
        std::atan2(std::sin(ra) * std::cos(eps) * std::cos(dec) + std::sin(dec) * std::sin(eps),
                   std::cos(ra) * std::cos(dec)));
}

void EclipticToEquatorial(double lon, double lat, double epochYear, double &ra, double &dec) {
    const double eps = MeanObliquity(EpochYearToJulianDate(epochYear));
    dec = SafeAsin(std::sin(lat) * std::cos(eps) + std::cos(lat) * std::sin(eps) * std::sin(lon));
    ra = IntoFullTurn(
        std::atan2(std::sin(lon) * std::cos(eps) * std::cos(lat) - std::sin(lat) * std::sin(eps),
                   std::cos(lon) * std::cos(lat)));
}

} // namespace vespario
