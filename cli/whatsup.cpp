#include "cli/whatsup.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/observingplace.h"
#include "astro/whatsup.h"

#include <algorithm>
#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char *kUsage =
    "usage: vespario-cli whatsup [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"]\n";
constexpr int kPlaceCapacity = 100; // the places vocabulary holds at most 100 entries

struct WhatsUpOptions {
    std::string place;
    std::string at;
    bool hasPlace = false;
    bool hasAt = false;
};

bool ParseWords(const std::vector<std::string> &words, WhatsUpOptions &options, std::ostream &err) {
    for (size_t i = 1; i < words.size(); ++i) {
        const bool place = words[i] == "--place";
        if ((!place && words[i] != "--at") || i + 1 >= words.size()) {
            err << kUsage;
            return false;
        }
        (place ? options.place : options.at) = words[++i];
        (place ? options.hasPlace : options.hasAt) = true;
    }
    return true;
}

// A place record begins with its one-character code and "=".
bool IsPlaceRecord(const std::string &record) {
    return record.size() > 2 && record[1] == '=';
}

} // namespace

bool DefaultPlaceRecord(const platform::IniProfile &profile, std::string &record) {
    const int count = std::clamp(profile.GetInt("ObsPlace", "NumberOf", 0), 0, kPlaceCapacity);
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(profile.GetString("ObsPlace", "Place" + std::to_string(i)));
    if (entries.empty())
        return false;
    const int code = profile.GetInt("ObsPlace", "Default", 0);
    record = entries.front();
    for (const std::string &entry : entries) {
        if (code != 0 && !entry.empty() && static_cast<unsigned char>(entry[0]) == code) {
            record = entry;
            break;
        }
    }
    return true;
}

int RunWhatsUp(const std::vector<std::string> &words, const platform::IniProfile &profile,
               std::ostream &out, std::ostream &err) {
    WhatsUpOptions options;
    if (!ParseWords(words, options, err))
        return 2;
    std::string record = options.place;
    if (!options.hasPlace && !DefaultPlaceRecord(profile, record)) {
        err << "the profile has no observing place; give one with --place\n";
        return 2;
    }
    if (!IsPlaceRecord(record)) {
        err << "not a place record (code=name|longitude|latitude|...): " << record << "\n";
        return 2;
    }
    double instant = PresentMoment();
    if (options.hasAt) {
        instant = ParseDateTime(options.at);
        if (instant == kInvalidJulianDate) {
            err << "--at needs a UT instant \"yyyy/mm/dd hh:mm:ss\": " << options.at << "\n";
            return 2;
        }
    }
    ObservingPlace place;
    place.Parse(record);
    place.SetInstant(instant);
    out << WhatsUpReport(place);
    return 0;
}

} // namespace vespario::cli
