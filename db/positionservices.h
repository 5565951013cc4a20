#pragma once
// The astronomy behind the position getters of the field table: parsing RaDec, the
// constellation and atlas look-ups, and place and time. The document asks through this
// interface so that the record layer stays below the astronomy that fills it in.

#include <string_view>

namespace vespario {

enum class Atlas { SkyAtlas, Uranometria, AstroAtlasB, AstroAtlasC, EdmundMag5, EdmundMag6, Msa };

class PositionServices {
public:
    virtual ~PositionServices() = default;

    // RaDec text to J2000 right ascension and declination in radians; false when not valid.
    virtual bool ParseRaDec(std::string_view text, double &ra, double &dec) const {
        (void)text, (void)ra, (void)dec;
        return false;
    }
    virtual int ConstellationIndex(double ra, double dec) const {
        (void)ra, (void)dec;
        return 0;
    }
    virtual std::string_view ConstellationAbbrev(int index) const {
        (void)index;
        return "";
    }
    virtual int Chart(Atlas atlas, double ra, double dec) const {
        (void)atlas, (void)ra, (void)dec;
        return 0;
    }
    virtual double ChartCentreHours(Atlas atlas, int chart) const {
        (void)atlas, (void)chart;
        return 0.0;
    }
    // Hours past the local noon that opens the night, of a right ascension in hours.
    virtual double HoursPastNoon(double raHours) const { return raHours; }
    // Rise and set in local hours past noon; false when the position never crosses.
    virtual bool RiseSet(double ra, double dec, double &riseHrs, double &setHrs) const {
        (void)ra, (void)dec, (void)riseHrs, (void)setHrs;
        return false;
    }
    virtual double PlaceLatitude() const { return 0.0; }
    // Azimuth and altitude in radians at the current place and time.
    virtual void AzimuthAltitude(double ra, double dec, double &az, double &alt) const {
        (void)ra, (void)dec;
        az = alt = 0.0;
    }
};

} // namespace vespario
