#include "db/astropositions.h"

#include "astro/atlascharts.h"
#include "astro/radectext.h"

namespace vespario {

bool AstroPositionServices::ParseRaDec(std::string_view text, double &ra, double &dec) const {
    return vespario::ParseRaDec(text, ra, dec);
}

int AstroPositionServices::ConstellationIndex(double ra, double dec) const {
    return m_constellations.ConstellationIndex(ra, dec);
}

std::string_view AstroPositionServices::ConstellationAbbrev(int index) const {
    return m_constellations.ConstellationAbbrev(index);
}

// The record layer's atlas list is in the same order as the astronomy's.
static StarAtlas ToStarAtlas(Atlas atlas) {
    return static_cast<StarAtlas>(static_cast<int>(atlas));
}

int AstroPositionServices::Chart(Atlas atlas, double ra, double dec) const {
    return AtlasChart(ToStarAtlas(atlas), ra, dec);
}

double AstroPositionServices::ChartCentreHours(Atlas atlas, int chart) const {
    return vespario::ChartCentreHours(ToStarAtlas(atlas), chart);
}

double AstroPositionServices::HoursPastNoon(double raHours) const {
    return m_place->HoursPastNoon(raHours);
}

bool AstroPositionServices::RiseSet(double ra, double dec, double &riseHrs, double &setHrs) const {
    return m_place->RiseSetHoursPastNoon(ra, dec, riseHrs, setHrs);
}

double AstroPositionServices::PlaceLatitude() const {
    return m_place->Latitude();
}

void AstroPositionServices::AzimuthAltitude(double ra, double dec, double &az, double &alt) const {
    m_place->AzimuthAltitude(ra, dec, az, alt);
}

} // namespace vespario
