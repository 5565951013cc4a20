#include "report/observationreports.h"

#include "astro/angletext.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/horizon.h"
#include "astro/moon.h"
#include "astro/observationinstant.h"
#include "astro/observingplace.h"
#include "astro/radectext.h"
#include "astro/sidereal.h"
#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vespario {
namespace {

constexpr std::string_view kEol = "\r\n";

template <typename... Args> std::string Format(const char *format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// A sidereal time (hours) on the date d0 as an instant within half a day of t.
double SiderealNear(double d0, double lstHours, double longitude, double t) {
    double jd = SiderealToUT(d0 + lstHours / 24.0 - longitude / 360.0);
    jd += std::round(t - jd);
    return jd;
}

std::string PlaceName(std::string_view record) {
    ObservingPlace place;
    place.Parse(record);
    return place.Name();
}

} // namespace

std::string TransitInfoText(std::string_view radecText, double ra, double dec,
                            std::string_view name, const ObservingPlace &place) {
    const double t = place.Instant();
    std::string text = "Info for RaDec " + std::string(radecText) + " of " + std::string(name) +
                       " at " + place.LocalTimeText(t, true) + " *\r\n   Calculated for " +
                       place.Name() + " +\r\n\r\n";
    const double d0 = std::floor(t + 0.5) - 0.5;
    RiseSetTimes times;
    if (!place.RiseSet(ra, dec, 0.0, times)) {
        const double transit = d0 + (ra * kRadToHours - place.ReferenceSidereal() - 12.0) / 24.0;
        text += "Transit time\t" + FormatDateTime(transit) + std::string(kEol);
    } else {
        const double rise = SiderealNear(d0, times.riseSidereal, place.Longitude(), t);
        double set = SiderealNear(d0, times.setSidereal, place.Longitude(), t);
        while (set < rise)
            set += 1.0;
        text += "Rise time\t" + place.LocalTimeText(rise, true) + std::string(kEol);
        text += "Transit\t" + place.LocalTimeText((rise + set) / 2.0, true) + std::string(kEol);
        text += "Set time\t" + place.LocalTimeText(set, true) + std::string(kEol);
    }
    double azimuth = 0.0;
    double altitude = 0.0;
    place.AzimuthAltitude(ra, dec, azimuth, altitude);
    text += "\r\nCurrent time *\t" + place.LocalTimeText(t, true) + std::string(kEol);
    text += "Azimuth,Alt\t" + FormatDmsPair(azimuth, altitude) + std::string(kEol);
    text += "\r\n * = Set these with the Tools/Time menu";
    text += "\r\n + = Set Place with the Places tab of the Options / Settings Dialog";
    return text;
}

std::vector<std::string> ObservationEntries(CVesparioDoc &doc, std::string_view obs) {
    std::vector<std::string> entries;
    Pattern &header = doc.ObservationHeader();
    std::vector<int> starts;
    for (int at = header.Search(obs, 0); at >= 0; at = header.Search(obs, at + 8))
        starts.push_back(at);
    // The header pattern matches from the date on; the "_" before it belongs to no entry.
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t from = static_cast<size_t>(starts[i]);
        size_t to = i + 1 < starts.size() ? static_cast<size_t>(starts[i + 1]) : obs.size();
        if (to > from && to < obs.size() && obs[to - 1] == '_')
            --to;
        std::string entry(obs.substr(from, to - from));
        while (!entry.empty() && (entry.back() == '\n' || entry.back() == '\r'))
            entry.pop_back();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string CircumstancesText(std::string_view name, double ra, double dec, std::string_view entry,
                              const SettingsVocabularies &v) {
    const CodeList &places = v.Places();
    int32_t placeIndex = entry.size() > 8 ? places.Find(entry.substr(8, 1)) : -1;
    if (placeIndex < 0)
        placeIndex = 0;
    const std::string &placeRecord = places.Entry(placeIndex);
    const ObservationTime obs = ObservationInstant(entry, placeRecord);
    std::string text = "Circumstances of Observation of " + std::string(name) + "\r\n\r\n";
    if (!obs.IsValid())
        return text + "The observation's date " + std::string(entry.substr(0, 8)) +
               " is not a date.";
    const std::string_view equipment =
        entry.size() > 9 ? v.Equipment().Meaning(entry.substr(9, 1)) : std::string_view();
    text += "Date: " + obs.localText.substr(0, 10) + std::string(kEol);
    if (obs.hasTime)
        text += "Time: " + obs.localText.substr(11, 5) + std::string(kEol);
    text += "Place: " + PlaceName(placeRecord) + std::string(kEol);
    text += "Equipment: " + std::string(equipment) + std::string(kEol);
    text += "Seeing: " + obs.seeing + std::string(kEol);
    text += "Transparancy: " + obs.transparency + std::string(kEol);
    text += "Local Date and Time: " + obs.localText + std::string(kEol);
    if (obs.hasTime)
        text += "UT Date and Time: " + obs.utText + std::string(kEol);
    const MoonPosition moon = ComputeMoon(obs.jd);
    text += Format("Moon %% illum: %5.1f %%\r\n", moon.illuminatedFraction * 100.0);
    if (!obs.hasTime)
        return text + "\r\n\r\nMore circumstances can be reported if you enter observation "
                      "times.\r\nSee the Obs field's help for more info.";
    double azimuth = 0.0;
    double altitude = 0.0;
    obs.place.Horizon(obs.place.HourAngle(obs.jd, moon.apparent.ra), moon.apparent.dec, azimuth,
                      altitude);
    text += Format("Moon's Altitude: %7.3f degrees\r\n", altitude * kRadToDeg);
    const std::string n(name);
    text += Format("Distance Moon to %s: %i degrees\r\n", n.c_str(),
                   SeparationArcmin(moon.apparent.ra, moon.apparent.dec, ra, dec) / 60);
    double h = obs.place.HourAngle(obs.jd, ra);
    if (h > kPi)
        h -= 2.0 * kPi;
    if (h >= 0.0)
        text += Format("%s crossed the meridian %7.3f hours before the observation\r\n", n.c_str(),
                       h * kRadToHours);
    else
        text += Format("%s crossed the meridian %7.3f hours after the observation\r\n", n.c_str(),
                       -h * kRadToHours);
    obs.place.AzimuthAltitude(ra, dec, azimuth, altitude);
    text += Format("Altitude of %s: %7.3f degrees\r\n", n.c_str(), altitude * kRadToDeg);
    text += Format("Azimuth of %s: %7.3f degrees\r\n", n.c_str(), azimuth * kRadToDeg);
    return text;
}

std::string SessionNotesPath(const std::string &databasePath) {
    const size_t slash = databasePath.rfind('/');
    if (slash == std::string::npos)
        return "session.txt";
    return databasePath.substr(0, slash + 1) + "session.txt";
}

SessionNotes ReadSessionNotes(std::string_view date, const std::string &path) {
    SessionNotes notes;
    const std::string key = "_" + std::string(date.substr(0, 8));
    const auto bytes = platform::ReadWholeFile(path);
    if (!bytes)
        return notes;
    notes.opened = true;
    const std::string_view all(*bytes);
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find('\n', at);
        const size_t next = end == std::string_view::npos ? all.size() : end + 1;
        std::string_view line = all.substr(at, next - at);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        at = next;
        if (!notes.found) {
            if (line.size() >= 9 && line.starts_with(key)) {
                notes.found = true;
                notes.text.append(line).append(kEol);
            }
            continue;
        }
        if (!line.empty() && line[0] == '_')
            break;
        notes.text.append(line).append(kEol);
    }
    return notes;
}

std::string SessionNotesText(std::string_view entry, const std::string &path) {
    if (entry.size() < 8)
        return {};
    const SessionNotes notes = ReadSessionNotes(entry, path);
    if (!notes.opened)
        return "Unable to open file " + path;
    if (!notes.found)
        return "Session notes for _" + std::string(entry.substr(0, 8)) + " were not found in " +
               path + "\r\n";
    return notes.text;
}

std::string TextEditorCommand(const SettingsVocabularies &v) {
    for (const std::string &entry : v.HelperApps().Entries()) {
        if (!entry.starts_with(".txt "))
            continue;
        const size_t comma = entry.find(',');
        const std::string command =
            entry.substr(5, comma == std::string::npos ? std::string::npos : comma - 5);
        if (!command.empty())
            return command;
    }
    return "xdg-open";
}

} // namespace vespario
