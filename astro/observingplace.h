#pragma once
// One observing place: where it is, its time zone and daylight-saving rules, and the
// instant for which the time- and place-dependent values hold. Its record string is the
// stored and listed form of the place:
//
//   code=name|longitude|latitude|zone|daylight|startMonth|startWeek|endMonth|endWeek|
//   obsIsUT|obsIsForDate|standardZone|daylightZone
//
// (the separator after the name is "|" in the profile and a tab in the Places page list).

#include <string>
#include <string_view>

namespace vespario {

struct RiseSetTimes;

class ObservingPlace {
public:
    // A new place: "Undefined Place" at 0, 0 with the default daylight rules (first Sunday
    // of April to last Sunday of October, not in use) at the present moment.
    ObservingPlace();

    // Parse: reads a place record string. Fields missing at the end keep the reset values
    // (empty code and name, zeros, both observation flags 1, "EST" and "EDT"); the four
    // daylight rule fields keep the values they had.
    void Parse(std::string_view record);

    // Format: the record string with separator after the name; newRow prints an empty code
    // and the name "New Place" with the other fields as they are.
    std::string Format(char separator = '|', bool newRow = false) const;

    // SetInstant: the instant (JD, UT) for which computed values hold; resets the cached
    // reference sidereal time.
    void SetInstant(double jd);
    double Instant() const { return m_instant; }

    // --- Fields ------------------------------------------------------------------------
    char Code() const { return m_code.empty() ? '\0' : m_code[0]; }
    void SetCode(char code);
    const std::string &Name() const { return m_name; }
    void SetName(std::string_view name) { m_name = name; }
    double Longitude() const { return m_longitude; } // degrees, east positive
    double Latitude() const { return m_latitude; }   // degrees, north positive
    void SetLongitude(double degrees);
    void SetLatitude(double degrees);
    // The Places page's form: an absolute value and a West or South flag.
    void SetLongitude(double absoluteDegrees, bool west) {
        SetLongitude(west ? -absoluteDegrees : absoluteDegrees);
    }
    void SetLatitude(double absoluteDegrees, bool south) {
        SetLatitude(south ? -absoluteDegrees : absoluteDegrees);
    }
    bool IsWest() const { return m_longitude < 0.0; }
    bool IsSouth() const { return m_latitude < 0.0; }
    double ZoneOffset() const { return m_zoneOffset; } // hours: local standard = UT + this
    void SetZoneOffset(double hours);
    bool UsesDaylight() const { return m_useDaylight != 0; }
    void SetUseDaylight(bool use);
    // Daylight rules: month 0 (January) to 11, week 0 (First) to 4 (Fifth), 5 (Last Sunday).
    int StartMonth() const { return m_startMonth; }
    int StartWeek() const { return m_startWeek; }
    int EndMonth() const { return m_endMonth; }
    int EndWeek() const { return m_endWeek; }
    void SetDaylightRules(int startMonth, int startWeek, int endMonth, int endWeek);
    bool ObservationTimeIsUT() const { return m_obsTimeIsUT != 0; }
    void SetObservationTimeIsUT(bool ut) { m_obsTimeIsUT = ut ? 1 : 0; }
    bool ObservationTimeIsForDate() const { return m_obsTimeIsForDate != 0; }
    void SetObservationTimeIsForDate(bool forDate) { m_obsTimeIsForDate = forDate ? 1 : 0; }
    const std::string &StandardZoneName() const { return m_standardZone; }
    const std::string &DaylightZoneName() const { return m_daylightZone; }
    void SetZoneNames(std::string_view standard, std::string_view daylight);

    // --- Local time ----------------------------------------------------------------------
    // DaylightOffset: 1.0 (hours) when daylight time is in force at jd (UT), else 0.0.
    // The changes fall at 0h UT of the rule's Sunday, in the UT calendar month.
    double DaylightOffset(double jd) const;
    // LocalTimeText: the local date-time text of jd, with a blank and the zone name.
    std::string LocalTimeText(double jd, bool withZone) const;
    // ZoneName: the standard or daylight zone name in force at jd.
    const std::string &ZoneName(double jd) const;
    // LocalDate: the local date at jd (UT) as the local-clock Julian Date of its midnight,
    // floor(jd + (zone + daylight)/24 + 0.5) - 0.5: the date LocalTimeText shows.
    double LocalDate(double jd) const;
    // WeekdayName: "Sun" to "Sat" of the local date at jd.
    const char *WeekdayName(double jd) const;
    // LocalTextToUT: a local date-time text to UT; kInvalidJulianDate when unparsable.
    double LocalTextToUT(std::string_view localText) const;

    // --- Sidereal time and visibility ------------------------------------------------------
    // ReferenceSidereal: local sidereal time (hours) near the local noon that opens the
    // night in progress at the current instant; cached until the instant or place changes.
    double ReferenceSidereal() const;
    // HoursPastNoon: a right ascension (hours) as hours past that noon, 0...24.
    double HoursPastNoon(double raHours) const;
    // LocalHoursPastNoon: the local clock time, in hours past local noon (0...24), at which
    // the local sidereal time is siderealHours on the night of jd.
    double LocalHoursPastNoon(double jd, double siderealHours) const;
    // HourAngle: local hour angle (rad, 0...2 pi) of a right ascension (rad) at jd.
    double HourAngle(double jd, double ra) const;
    // Horizon: azimuth (rad, from north through east) and altitude (rad) at this latitude.
    void Horizon(double hourAngle, double dec, double &azimuth, double &altitude) const;
    // RiseSet: rise and set sidereal times and azimuths at this latitude; see
    // RiseSetSidereal. shift is the vertical shift (rad).
    bool RiseSet(double ra, double dec, double shift, RiseSetTimes &times) const;

    // The position services of the record getters, at the current instant:
    // azimuth and altitude (rad) of a J2000 position, unprecessed.
    void AzimuthAltitude(double ra, double dec, double &azimuth, double &altitude) const;
    // Rise and set in local hours past noon on the current night; false when the position
    // never rises or never sets here.
    bool RiseSetHoursPastNoon(double ra, double dec, double &riseHours, double &setHours) const;

private:
    double ChangeInstant(int year, int month, int week) const;
    double CurrentOffsetDays(double jd) const;
    void ResetForParse();
    void ParseFields(std::string_view fields);
    void Changed() { m_referenceSidereal = -1.0; }

    std::string m_code;
    std::string m_name = "Undefined Place";
    double m_longitude = 0.0;
    double m_latitude = 0.0;
    double m_zoneOffset = 0.0;
    int m_useDaylight = 0;
    int m_startMonth = 3;
    int m_startWeek = 0;
    int m_endMonth = 9;
    int m_endWeek = 5;
    int m_obsTimeIsUT = 0;
    int m_obsTimeIsForDate = 0;
    std::string m_standardZone = "EST";
    std::string m_daylightZone = "EDT";
    double m_instant = 0.0;
    mutable double m_referenceSidereal = -1.0; // hours; negative: not computed yet
};

} // namespace vespario
