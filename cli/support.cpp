#include "cli/support.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "platform/files.h"
#include "settings/settingsvocabularies.h"

#include <cstdio>
#include <ostream>

namespace vespario::cli {

bool ParseOptions(const std::vector<std::string> &args, Options &options, std::ostream &err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        std::string *value = nullptr;
        if (arg == "--profile")
            value = &options.profilePath;
        else if (arg == "--place")
            value = &options.placeRecord;
        else if (arg == "--at")
            value = &options.atText;
        if (value) {
            // The next option is not a value: "--at --profile F" lacks its instant.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                err << arg << " needs a value\n";
                return false;
            }
            *value = args[++i];
            options.placeGiven = options.placeGiven || value == &options.placeRecord;
            continue;
        }
        if (arg == "--precise") {
            options.precise = true;
            continue;
        }
        options.words.push_back(arg);
    }
    return true;
}

bool LoadProfile(const Options &options, platform::IniProfile &profile, std::ostream &err) {
    std::string path = options.profilePath;
    if (path.empty()) {
        path = platform::IniProfile::DefaultProfilePath();
        if (!platform::FileExists(path))
            path = platform::DataDir() + "/Vespario.ini";
    }
    if (!profile.Load(path)) {
        err << "cannot read profile " << path << "\n";
        return false;
    }
    return true;
}

bool LoadDatabase(CVesparioDoc &doc, const std::string &path, std::ostream &err) {
    if (!doc.ReadDatabaseFile(path)) {
        err << doc.LoadFailure() << "\n"; // names the file and the system's reason
        return false;
    }
    doc.LoadCompletely();
    return true;
}

bool PreparePlace(const Options &options, platform::IniProfile &profile, ObservingPlace &place,
                  std::ostream &err) {
    double instant = PresentMoment();
    if (!options.atText.empty()) {
        instant = ParseDateTime(options.atText);
        if (instant == kInvalidJulianDate) {
            err << "--at needs a UT instant \"yyyy/mm/dd hh:mm:ss\", not \"" << options.atText
                << "\"\n";
            return false;
        }
    }
    if (!options.placeGiven) {
        // The default place as the program finds it at start-up.
        SettingsVocabularies vocabularies;
        vocabularies.LoadVocabularies(profile);
        place = vocabularies.CurrentPlace();
    } else {
        // A place record begins with its one-character code and "=".
        if (options.placeRecord.size() < 3 || options.placeRecord[1] != '=') {
            err << "not a place record (code=name|longitude|latitude|...): " << options.placeRecord
                << "\n";
            return false;
        }
        place.Parse(options.placeRecord);
    }
    place.SetInstant(instant);
    return true;
}

bool LoadProfileAndPlace(const Options &options, platform::IniProfile &profile,
                         ObservingPlace &place, std::ostream &err) {
    return LoadProfile(options, profile, err) && PreparePlace(options, profile, place, err);
}

// The tag as a user writes it: " info: " is info.
std::string_view BareTag(std::string_view tag) {
    while (!tag.empty() && tag.front() == ' ')
        tag.remove_prefix(1);
    while (!tag.empty() && (tag.back() == ' ' || tag.back() == ':'))
        tag.remove_suffix(1);
    return tag;
}

// One line per field: every CR LF, CR or LF of a text becomes the characters \r\n.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line.push_back(c);
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        line += "\\r\\n";
    }
    return line;
}

std::string ValueText(CVesparioDoc &doc, int fieldNo, int record, bool precise) {
    const FieldSlot &slot = doc.Fields().Slot(fieldNo);
    char number[64];
    switch (slot.kind) {
    case FieldKind::Integer:
        std::snprintf(number, sizeof number, "%i", static_cast<int>(doc.GetInt(fieldNo, record)));
        return number;
    case FieldKind::Real:
        std::snprintf(number, sizeof number, precise ? "%.10g" : "%g",
                      doc.GetReal(fieldNo, record));
        return number;
    default:
        return OneLine(doc.GetText(fieldNo, record));
    }
}

} // namespace vespario::cli
