#pragma once
// The astronomy behind the record getters: RaDec text, the constellation and atlas chart
// look-ups, and the default observing place at its current instant. The application owns
// the default place; this object only refers to it, so that a change of place or instant is
// seen by the next getter call.

#include "astro/constellationtable.h"
#include "astro/observingplace.h"
#include "db/positionservices.h"

namespace vespario {

class AstroPositionServices : public PositionServices {
public:
    explicit AstroPositionServices(const ObservingPlace &place) : m_place(&place) {}

    // Replaces the default place (the object referred to must outlive this one).
    void SetPlace(const ObservingPlace &place) { m_place = &place; }
    const ObservingPlace &Place() const { return *m_place; }

    bool ParseRaDec(std::string_view text, double &ra, double &dec) const override;
    int ConstellationIndex(double ra, double dec) const override;
    std::string_view ConstellationAbbrev(int index) const override;
    int Chart(Atlas atlas, double ra, double dec) const override;
    double ChartCentreHours(Atlas atlas, int chart) const override;
    double HoursPastNoon(double raHours) const override;
    bool RiseSet(double ra, double dec, double &riseHrs, double &setHrs) const override;
    double PlaceLatitude() const override;
    void AzimuthAltitude(double ra, double dec, double &az, double &alt) const override;

private:
    const ObservingPlace *m_place;
    ConstellationTable m_constellations;
};

} // namespace vespario
