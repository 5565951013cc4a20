#include "astro/timestool.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/numbertext.h"
#include "astro/observingplace.h"
#include "astro/sidereal.h"
#include "platform/host.h"

#include <cmath>

namespace vespario {

namespace {

constexpr const char *kDateTimeFormat = "yyyy/mm/dd hh:mm:ss";
constexpr const char *kJulianDateFormat = "days[.decimal]";
constexpr const char *kLabels[TimesTool::kFieldCount] = {
    "Julian Date", "Universal Time", "Greenwich Sidereal", "Local Sidereal", "Local Time"};

// Julian Dates from 4713 BC to about AD 22,000: the calendar routines hold there.
constexpr double kFirstJulianDate = 0.0;
constexpr double kLastJulianDate = 1.0e7;

} // namespace

TimesTool::TimesTool(platform::Host &host, ObservingPlace &place, std::function<void()> timeChanged)
    : m_host(host), m_place(place), m_timeChanged(std::move(timeChanged)) {
    Refresh();
}

size_t TimesTool::Index(int field) {
    return field >= 0 && field < kFieldCount ? static_cast<size_t>(field) : 0;
}

std::string TimesTool::Label(int field) const {
    if (field == LocalTime)
        return std::string(kLabels[LocalTime]) + " (" + m_place.ZoneName(m_place.Instant()) + ")";
    return kLabels[Index(field)];
}

const char *TimesTool::FormatOf(int field) {
    return field == JulianDay ? kJulianDateFormat : kDateTimeFormat;
}

void TimesTool::Focus(int field) {
    m_hint = std::string("Format: ") + FormatOf(field);
}

// The UT instant a field's text stands for, or kInvalidJulianDate.
double TimesTool::ParseField(int field, std::string_view text) const {
    const double longitudeDays = m_place.Longitude() / 360.0;
    double sidereal = kInvalidJulianDate;
    switch (field) {
    case JulianDay: {
        double jd = 0.0;
        if (!ReadWholeDecimal(text, jd) || !(jd >= kFirstJulianDate && jd <= kLastJulianDate))
            return kInvalidJulianDate;
        return jd;
    }
    case UniversalTime:
        return ParseDateTime(text);
    case GreenwichSidereal:
    case LocalSidereal:
        sidereal = ParseDateTime(text);
        if (sidereal == kInvalidJulianDate)
            return sidereal;
        return SiderealToUT(field == LocalSidereal ? sidereal - longitudeDays : sidereal);
    case LocalTime:
        return m_place.LocalTextToUT(text);
    default:
        return kInvalidJulianDate;
    }
}

bool TimesTool::Edit(int field, std::string_view text) {
    const size_t at = Index(field);
    m_text[at] = std::string(text);
    const double jd = ParseField(static_cast<int>(at), text);
    if (jd == kInvalidJulianDate) {
        m_host.Beep();
        m_hint = std::string("ILLEGAL! Use format: ") + FormatOf(field);
        return false;
    }
    Focus(field);
    MoveTo(jd, static_cast<int>(at));
    return true;
}

void TimesTool::Now() {
    MoveTo(PresentMoment(), -1);
}

void TimesTool::MoveTo(double jd, int keep) {
    m_place.SetInstant(jd);
    for (int field = 0; field < kFieldCount; ++field)
        if (field != keep)
            m_text[static_cast<size_t>(field)] = FieldText(field);
    if (m_timeChanged)
        m_timeChanged();
}

void TimesTool::Refresh() {
    for (int field = 0; field < kFieldCount; ++field)
        m_text[static_cast<size_t>(field)] = FieldText(field);
}

std::string TimesTool::FieldText(int field) const {
    const double jd = m_place.Instant();
    switch (field) {
    case JulianDay:
        return FormatFixed(jd, 6);
    case UniversalTime:
        return FormatDateTime(jd);
    case GreenwichSidereal:
        return FormatDateTime(vespario::GreenwichSidereal(jd));
    case LocalSidereal:
        return FormatDateTime(vespario::GreenwichSidereal(jd) + m_place.Longitude() / 360.0);
    case LocalTime:
        return m_place.LocalTimeText(jd, false);
    default:
        return {};
    }
}

} // namespace vespario
