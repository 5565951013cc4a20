#include "db/astropositions.h"

#include "astro/radectext.h"

namespace vespario {

bool AstroPositionServices::ParseRaDec(std::string_view text, double& ra, double& dec) const {
    return vespario::ParseRaDec(text, ra, dec);
}

double AstroPositionServices::HoursPastNoon(double raHours) const {
    return m_place->HoursPastNoon(raHours);
}

bool AstroPositionServices::RiseSet(double ra, double dec, double& riseHrs,
                                    double& setHrs) const {
    return m_place->RiseSetHoursPastNoon(ra, dec, riseHrs, setHrs);
}

double AstroPositionServices::PlaceLatitude() const { return m_place->Latitude(); }

void AstroPositionServices::AzimuthAltitude(double ra, double dec, double& az,
                                            double& alt) const {
    m_place->AzimuthAltitude(ra, dec, az, alt);
}

} // namespace vespario
