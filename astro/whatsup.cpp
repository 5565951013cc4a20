#include "astro/whatsup.h"

#include "astro/angletext.h"
#include "astro/bodyriseset.h"
#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/datetimetext.h"
#include "astro/lunarphases.h"
#include "astro/moon.h"
#include "astro/observingplace.h"
#include "astro/planets.h"
#include "astro/radectext.h"
#include "astro/sidereal.h"
#include "astro/sun.h"
#include "astro/twilight.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace vespario {

namespace {

constexpr const char *kEol = "\r\n";
constexpr const char *kHeader1 =
    "                Solar                    Ang     %   Appr  ---Rise---  Trans ----Set---  "
    "Heliocentric  Dist    Geocentric   Dist\r\n";
constexpr const char *kHeader2 =
    "       Object Elongation RaDec           Diam\" Illum Magn  Time  Azim  Time  Time  Azim  "
    "Long   Lat    Sun     Long   Lat   Earth\r\n";
constexpr const char *kPlanetLabels[kLastPlanet + 1] = {"",
                                                        "      Mercury ",
                                                        "        Venus ",
                                                        "         Mars ",
                                                        "      Jupiter ",
                                                        "       Saturn ",
                                                        "       Uranus ",
                                                        "      Neptune ",
                                                        "        Pluto "};
constexpr const char *kTwilightLabels[3] = {"       Civil ", "    Nautical ", "Astronomical "};
constexpr double kSameLongitude = 0.01; // rad: the Sun's own row

std::string Format(const char *format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct Heliocentric {
    double longitude; // rad
    double latitude;  // rad
    double radius;    // AU
};

// What one row shows; optional parts are blank when missing.
struct Row {
    const char *label = "";
    ApparentPlace place;
    double sunLongitude = 0.0;      // the Sun's apparent longitude at the row's instant (rad)
    std::optional<double> diameter; // arcsec
    double illuminatedPercent = 0.0;
    std::optional<double> magnitude;
    DayRiseSet riseSet;
    std::optional<Heliocentric> heliocentric;
    double distance = 0.0; // AU, or km for the Moon
    bool distanceInKm = false;
};

std::string Elongation(const Row &row) {
    double difference = IntoFullTurn(row.place.longitude - row.sunLongitude);
    if (std::fmin(difference, 2.0 * kPi - difference) <= kSameLongitude)
        return std::string(11, ' ');
    const double cosE = std::cos(row.place.latitude) * std::cos(difference);
    const double elongation = std::acos(std::fmax(-1.0, std::fmin(1.0, cosE))) * kRadToDeg;
    return Format("%6.1f", elongation) + (difference < kPi ? " ev  " : " mo  ");
}

std::string ClockText(const ObservingPlace &place, double jd) {
    return place.LocalTimeText(jd, false).substr(11, 5);
}

// Rise, transit and set of the row's date; blanks for each that does not happen then.
std::string RiseTransitSet(const ObservingPlace &place, const DayRiseSet &r) {
    std::string text;
    text += r.rises ? ClockText(place, r.rise) + " " + Format("%5.1f ", r.riseAzimuth * kRadToDeg)
                    : std::string(12, ' ');
    text += r.transits ? ClockText(place, r.transit) + " " : std::string(6, ' ');
    text += r.sets ? ClockText(place, r.set) + " " + Format("%5.1f ", r.setAzimuth * kRadToDeg)
                   : std::string(12, ' ');
    return text;
}

std::string RowText(const ObservingPlace &place, const Row &row) {
    std::string text = row.label + Elongation(row);
    text += FormatRaDec(row.place.ra, row.place.dec) + " ";
    text += row.diameter ? Format("%5.2f ", *row.diameter) : std::string(6, ' ');
    text += Format("%5.1f ", row.illuminatedPercent);
    text += row.magnitude ? Format("%5.2f ", *row.magnitude) : std::string(6, ' ');
    text += RiseTransitSet(place, row.riseSet);
    if (row.heliocentric) {
        text += Format("%5.1f ", row.heliocentric->longitude * kRadToDeg);
        text += Format("%6.2f ", row.heliocentric->latitude * kRadToDeg);
        text += Format("%5.2f au ", row.heliocentric->radius);
    } else {
        text += std::string(22, ' ');
    }
    text += Format("%5.1f ", row.place.longitude * kRadToDeg);
    text += Format("%6.2f ", row.place.latitude * kRadToDeg);
    text += row.distanceInKm ? Format("%6.0f km", row.distance) : Format("%5.2f au", row.distance);
    return text + kEol;
}

// Each row's rise, transit and set are those of a local date at the place.
Row SunRow(const ObservingPlace &place, double jd) {
    Row row;
    row.label = "          Sun ";
    row.place = SunApparent(jd);
    row.sunLongitude = row.place.longitude;
    row.illuminatedPercent = 100.0;
    row.riseSet = SunRiseSetForDate(place, place.LocalDate(jd));
    row.distance = ComputeSun(jd).radiusVector;
    return row;
}

Row PlanetRow(const ObservingPlace &place, int planet, double jd, double sunLongitude) {
    const PlanetPosition p = ComputePlanet(planet, jd);
    Row row;
    row.label = kPlanetLabels[planet];
    row.place = p.apparent;
    row.sunLongitude = sunLongitude;
    row.diameter = p.diameter;
    row.illuminatedPercent = 100.0 * p.illuminatedFraction;
    row.magnitude = p.magnitude;
    row.riseSet = PlanetRiseSetForDate(place, planet, place.LocalDate(jd));
    row.heliocentric =
        Heliocentric{p.heliocentricLongitude, p.heliocentricLatitude, p.radiusVector};
    row.distance = p.distance;
    return row;
}

// The Moon at jd, with the events of the local date 'date' (a local midnight).
Row MoonRow(const ObservingPlace &place, const char *label, double jd, double date) {
    const MoonPosition moon = ComputeMoon(jd);
    Row row;
    row.label = label;
    row.place = moon.apparent;
    row.sunLongitude = SunApparent(jd).longitude;
    row.illuminatedPercent = 100.0 * moon.illuminatedFraction;
    row.riseSet = MoonRiseSetForDate(place, date);
    row.distance = moon.distance;
    row.distanceInKm = true;
    return row;
}

std::string LocalWithWeekday(const ObservingPlace &place, double jd) {
    return place.LocalTimeText(jd, true) + " " + place.WeekdayName(jd);
}

std::string HeaderText(const ObservingPlace &place, double jd) {
    char julian[40];
    std::snprintf(julian, sizeof julian, "%.12g", jd);
    return "Data for " + LocalWithWeekday(place, jd) + "       (Julian " + julian + ")" + kEol +
           "At " + place.Name() + " (Longitude=" + FormatDms(place.Longitude() * kDegToRad) +
           "      Latitude=" + FormatDms(place.Latitude() * kDegToRad) + ")" + kEol + kEol;
}

std::string MoonsText(const ObservingPlace &place, double jd) {
    std::string text = "\r\nNew Moons                        Full Moons\r\n";
    const double d0 = std::floor(jd + 0.5) - 0.5;
    for (const double date : {d0 - 30.0, d0, d0 + 30.0}) {
        const LunarPhases phases = NewAndFullMoon(date);
        text += LocalWithWeekday(place, phases.newMoon) + " " +
                LocalWithWeekday(place, phases.fullMoon) + kEol;
    }
    return text;
}

std::string SiderealClock(const ObservingPlace &place, double jd) {
    return FormatDateTime(GreenwichSidereal(jd) + place.Longitude() / 360.0).substr(11, 5);
}

std::string TwilightEnd(const ObservingPlace &place, bool has, double jd) {
    if (!has)
        return "none";
    return LocalWithWeekday(place, jd) + " (" + SiderealClock(place, jd) + ")";
}

std::string TwilightText(const ObservingPlace &place, double jd) {
    const NightTwilight night = TwilightOfNight(place, jd);
    std::string text = "\r\n             Twilight                 (Sidereal)    Dawn"
                       "                     (Sidereal)\r\n";
    for (int k = 0; k < 3; ++k) {
        const TwilightTimes &t = night.kinds[k];
        text += kTwilightLabels[k];
        if (!t.hasEvening && !t.hasMorning) {
            const std::string limit =
                Format("%.0f", TwilightLimitDegrees(static_cast<TwilightKind>(k)));
            text += t.staysAbove ? "none: the Sun stays above " + limit + " deg all night"
                                 : "none: the Sun stays below " + limit + " deg all day";
            text += kEol;
            continue;
        }
        text += TwilightEnd(place, t.hasEvening, t.evening) + " " +
                TwilightEnd(place, t.hasMorning, t.morning) + kEol;
    }
    return text;
}

} // namespace

std::string WhatsUpReport(const ObservingPlace &place) {
    const double jd = place.Instant();
    std::string text = HeaderText(place, jd) + kHeader1 + kHeader2;
    const Row sun = SunRow(place, jd);
    text += RowText(place, sun);
    for (int planet = kFirstPlanet; planet <= kLastPlanet; ++planet)
        text += RowText(place, PlanetRow(place, planet, jd, sun.place.longitude));
    const double today = place.LocalDate(jd);
    text += RowText(place, MoonRow(place, "   Moon Today ", jd, today));
    text += RowText(place, MoonRow(place, "Moon Tomorrow ", jd + 1.0, today + 1.0));
    return text + MoonsText(place, jd) + TwilightText(place, jd);
}

} // namespace vespario
