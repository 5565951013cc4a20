#include "astro/ephemeris.h"

#include "astro/constants.h"
#include "astro/coordinates.h"

#include <algorithm>
#include <cmath>

namespace vespario {

double CenturiesSince1900(double jd) {
    return (jd - kJd1900) / kDaysPerCentury;
}

double TurnsToDegrees(double revolutionsPerCentury, double t) {
    const double turns = revolutionsPerCentury * t;
    if (!std::isfinite(turns))
        return turns;
    return (turns - std::floor(turns)) * 360.0;
}

double IntoDegrees360(double degrees) {
    if (!std::isfinite(degrees))
        return degrees;
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0.0 ? reduced + 360.0 : reduced;
}

void EclipticToEquatorialOfDate(double lon, double lat, double jd, double &ra, double &dec) {
    const double eps = MeanObliquity(jd);
    const double sinDec =
        std::sin(lat) * std::cos(eps) + std::cos(lat) * std::sin(eps) * std::sin(lon);
    dec = std::asin(std::clamp(sinDec, -1.0, 1.0));
    ra = IntoFullTurn(
        std::atan2(std::sin(lon) * std::cos(eps) * std::cos(lat) - std::sin(lat) * std::sin(eps),
                   std::cos(lon) * std::cos(lat)));
}

void CompleteApparentPlace(ApparentPlace &place, double jd) {
    EclipticToEquatorialOfDate(place.longitude, place.latitude, jd, place.ra, place.dec);
}

} // namespace vespario
