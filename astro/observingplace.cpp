#include "astro/observingplace.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/horizon.h"
#include "astro/numbertext.h"
#include "astro/sidereal.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vespario {

namespace {

constexpr int kFieldCount = 10; // the numbers between the name and the zone names
constexpr int kLastSunday = 5;
constexpr const char *kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

int ClampMonth(int month) {
    return std::clamp(month, 0, 11);
}
int ClampWeek(int week) {
    return std::clamp(week, 0, kLastSunday);
}
int Flag(int value) {
    return value != 0 ? 1 : 0;
}

// The fraction of a day past noon in hours, 0...24, also for negative instants.
double HoursOfDayFraction(double days) {
    const double hours = 24.0 * std::fmod(days, 1.0);
    return hours < 0.0 ? hours + 24.0 : hours;
}

} // namespace

ObservingPlace::ObservingPlace() : m_instant(PresentMoment()) {}

void ObservingPlace::SetInstant(double jd) {
    m_instant = jd;
    Changed();
}

void ObservingPlace::SetCode(char code) {
    m_code = code == '\0' ? std::string() : std::string(1, code);
}

void ObservingPlace::SetLongitude(double degrees) {
    m_longitude = degrees;
    Changed();
}

void ObservingPlace::SetLatitude(double degrees) {
    m_latitude = degrees;
    Changed();
}

void ObservingPlace::SetZoneOffset(double hours) {
    m_zoneOffset = hours;
    Changed();
}

void ObservingPlace::SetUseDaylight(bool use) {
    m_useDaylight = use ? 1 : 0;
    Changed();
}

void ObservingPlace::SetDaylightRules(int startMonth, int startWeek, int endMonth, int endWeek) {
    m_startMonth = ClampMonth(startMonth);
    m_startWeek = ClampWeek(startWeek);
    m_endMonth = ClampMonth(endMonth);
    m_endWeek = ClampWeek(endWeek);
    Changed();
}

void ObservingPlace::SetZoneNames(std::string_view standard, std::string_view daylight) {
    m_standardZone = standard;
    m_daylightZone = daylight;
}

// --- Record string ---------------------------------------------------------------------

void ObservingPlace::ResetForParse() {
    m_code.clear();
    m_name.clear();
    m_longitude = m_latitude = m_zoneOffset = 0.0;
    m_useDaylight = 0;
    m_obsTimeIsUT = m_obsTimeIsForDate = 1;
    m_standardZone = "EST";
    m_daylightZone = "EDT";
    Changed();
}

void ObservingPlace::Parse(std::string_view record) {
    ResetForParse();
    if (record.size() <= 2)
        return;
    m_code = record.substr(0, 1);
    const std::string_view rest = record.substr(2);
    std::size_t nameEnd = rest.find('\t');
    if (nameEnd == std::string_view::npos)
        nameEnd = rest.find('|');
    m_name = rest.substr(0, nameEnd);
    if (nameEnd != std::string_view::npos)
        ParseFields(rest.substr(nameEnd + 1));
}

// Each number counts only when a "|" follows it; the zone names come after the last one.
void ObservingPlace::ParseFields(std::string_view fields) {
    int *const integers[7] = {&m_useDaylight, &m_startMonth,  &m_startWeek,       &m_endMonth,
                              &m_endWeek,     &m_obsTimeIsUT, &m_obsTimeIsForDate};
    double *const doubles[3] = {&m_longitude, &m_latitude, &m_zoneOffset};
    int read = 0;
    for (; read < kFieldCount; ++read) {
        const std::size_t bar = fields.find('|');
        if (bar == std::string_view::npos)
            break;
        const std::string_view field = TrimStart(fields.substr(0, bar), IsBlank);
        if (read < 3)
            *doubles[read] = ReadDecimal(field);
        else
            *integers[read - 3] = ReadInteger(field);
        fields.remove_prefix(bar + 1);
    }
    // Flags and rules are kept in range however far the record went.
    m_useDaylight = Flag(m_useDaylight);
    m_obsTimeIsUT = Flag(m_obsTimeIsUT);
    m_obsTimeIsForDate = Flag(m_obsTimeIsForDate);
    SetDaylightRules(m_startMonth, m_startWeek, m_endMonth, m_endWeek);
    if (read < kFieldCount || fields.empty())
        return;
    const std::size_t bar = fields.find('|');
    m_standardZone = fields.substr(0, bar);
    if (bar != std::string_view::npos) {
        const std::string_view daylight = fields.substr(bar + 1);
        m_daylightZone = daylight.substr(0, daylight.find('|'));
    }
}

std::string ObservingPlace::Format(char separator, bool newRow) const {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "|%i|%i|%i|%i|%i|%i|%i|", m_useDaylight, m_startMonth,
                  m_startWeek, m_endMonth, m_endWeek, m_obsTimeIsUT, m_obsTimeIsForDate);
    std::string text = newRow ? std::string("=New Place") : m_code + "=" + m_name;
    text += separator;
    text += FormatGeneral(m_longitude) + "|" + FormatGeneral(m_latitude) + "|" +
            FormatGeneral(m_zoneOffset) + numbers;
    return text + m_standardZone + "|" + m_daylightZone;
}

// --- Local time ------------------------------------------------------------------------

// 0h UT of the rule's Sunday: the first Sunday on or after day 7 week + 1 of the month, or
// for the Last rule the last Sunday of the month. month counts from 0.
double ObservingPlace::ChangeInstant(int year, int month, int week) const {
    if (week < kLastSunday) {
        const double first = JulianDate(year, month + 1, 7 * week + 1);
        return first + (7 - DayOfWeek(first)) % 7;
    }
    const double lastDay = JulianDate(year, month + 2, 0);
    return lastDay - DayOfWeek(lastDay);
}

double ObservingPlace::DaylightOffset(double jd) const {
    if (!m_useDaylight || !std::isfinite(jd))
        return 0.0;
    const CalendarParts date = CalendarDate(jd);
    const int k = date.month - 1;
    const int s = m_startMonth;
    const int e = m_endMonth;
    if (k == s)
        return jd >= ChangeInstant(date.year, s, m_startWeek) ? 1.0 : 0.0;
    if (k == e)
        return jd < ChangeInstant(date.year, e, m_endWeek) ? 1.0 : 0.0;
    if (s < e)
        return k > s && k < e ? 1.0 : 0.0;
    return k > s || k < e ? 1.0 : 0.0;
}

double ObservingPlace::CurrentOffsetDays(double jd) const {
    return (m_zoneOffset + DaylightOffset(jd)) / 24.0;
}

std::string ObservingPlace::LocalTimeText(double jd, bool withZone) const {
    std::string text = FormatDateTime(jd + CurrentOffsetDays(jd));
    if (withZone)
        text += " " + ZoneName(jd);
    return text;
}

const std::string &ObservingPlace::ZoneName(double jd) const {
    return DaylightOffset(jd) >= 0.1 ? m_daylightZone : m_standardZone;
}

double ObservingPlace::LocalDate(double jd) const {
    return std::floor(jd + CurrentOffsetDays(jd) + 0.5) - 0.5;
}

const char *ObservingPlace::WeekdayName(double jd) const {
    const double days = std::floor(CurrentOffsetDays(jd) + jd + 1.5);
    if (!std::isfinite(days))
        return kWeekdays[0];
    // fmod is exact, where days - 7 floor(days / 7) is not for huge days.
    double weekday = std::fmod(days, 7.0);
    if (weekday < 0.0)
        weekday += 7.0;
    return kWeekdays[std::clamp(static_cast<int>(weekday), 0, 6)];
}

double ObservingPlace::LocalTextToUT(std::string_view localText) const {
    const double local = ParseDateTime(localText);
    if (local == kInvalidJulianDate)
        return kInvalidJulianDate;
    const double u = local - m_zoneOffset / 24.0;
    return u - DaylightOffset(u) / 24.0;
}

// --- Sidereal time and visibility --------------------------------------------------------

double ObservingPlace::ReferenceSidereal() const {
    if (m_referenceSidereal >= 0.0)
        return m_referenceSidereal;
    // Local midnight of the night in progress, shifted by the longitude.
    const double t = m_instant;
    const double a = std::floor(t) + 0.5 - CurrentOffsetDays(t) + m_longitude / 360.0;
    m_referenceSidereal = HoursOfDayFraction(GreenwichSidereal(a));
    return m_referenceSidereal;
}

double ObservingPlace::HoursPastNoon(double raHours) const {
    const double hours = raHours - ReferenceSidereal();
    return hours < 0.0 ? hours + 24.0 : hours;
}

double ObservingPlace::LocalHoursPastNoon(double jd, double siderealHours) const {
    const double x = std::floor(jd + 0.5) - 0.5 + siderealHours / 24.0 - m_longitude / 360.0;
    const double u = SiderealToUT(x);
    return HoursOfDayFraction(u + CurrentOffsetDays(u));
}

double ObservingPlace::HourAngle(double jd, double ra) const {
    const double g = GreenwichSidereal(jd) - 0.5;
    const double angle = kTwoPi * (g - std::floor(g)) + m_longitude * kDegToRad - ra;
    if (!std::isfinite(angle))
        return angle;
    return angle - kTwoPi * std::floor(angle / kTwoPi);
}

void ObservingPlace::Horizon(double hourAngle, double dec, double &azimuth,
                             double &altitude) const {
    HorizonCoordinates(hourAngle, dec, m_latitude * kDegToRad, azimuth, altitude);
}

bool ObservingPlace::RiseSet(double ra, double dec, double shift, RiseSetTimes &times) const {
    return RiseSetSidereal(ra, dec, m_latitude * kDegToRad, shift, times);
}

void ObservingPlace::AzimuthAltitude(double ra, double dec, double &azimuth,
                                     double &altitude) const {
    Horizon(HourAngle(m_instant, ra), dec, azimuth, altitude);
}

bool ObservingPlace::RiseSetHoursPastNoon(double ra, double dec, double &riseHours,
                                          double &setHours) const {
    RiseSetTimes times;
    if (!RiseSet(ra, dec, 0.0, times))
        return false;
    riseHours = LocalHoursPastNoon(m_instant, times.riseSidereal);
    setHours = LocalHoursPastNoon(m_instant, times.setSidereal);
    return true;
}

} // namespace vespario
