#include "cli/support.h"

#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/datetimetext.h"
#include "astro/numbertext.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <array>
#include <cmath>
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
            options.atGiven = options.atGiven || value == &options.atText;
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

std::string ProfileToRead(const std::string &given) {
    if (!given.empty())
        return given;
    const std::string user = platform::IniProfile::DefaultProfilePath();
    return platform::FileExists(user) ? user : platform::DataDir() + "/Vespario.ini";
}

bool LoadProfile(const Options &options, platform::IniProfile &profile, std::ostream &err) {
    const std::string path = ProfileToRead(options.profilePath);
    if (!profile.Load(path)) {
        err << "cannot read profile " << path << "\n";
        return false;
    }
    return true;
}

namespace {

// The numbers of a place record between its name and its zone names, in order, with the
// largest magnitude each may have (0: a whole number, any value: the reader keeps flags and
// rules in range).
struct PlaceNumber {
    const char *name;
    double limit;
};
constexpr std::array<PlaceNumber, 10> kPlaceNumbers = {{{"longitude", 180.0},
                                                        {"latitude", 90.0},
                                                        {"zone offset", 14.0},
                                                        {"daylight flag", 0},
                                                        {"daylight start month", 0},
                                                        {"daylight start week", 0},
                                                        {"daylight end month", 0},
                                                        {"daylight end week", 0},
                                                        {"UT flag", 0},
                                                        {"date flag", 0}}};
constexpr size_t kZoneNames = 2;
constexpr size_t kDateTimeTextLength = 19; // "yyyy/mm/dd hh:mm:ss"

std::optional<std::string> CheckPlaceNumber(const PlaceNumber &number, std::string_view text) {
    const std::string_view value = TrimBlanks(text);
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (number.limit == 0) {
        size_t used = 0;
        ReadInteger(value, &used);
        if (used == 0 || used != value.size())
            return std::string("the ") + number.name + " must be a whole number, not " + quoted;
        return std::nullopt;
    }
    double read = 0.0;
    if (!ReadWholeDecimal(value, read) || std::fabs(read) > number.limit) {
        char range[64];
        std::snprintf(range, sizeof range, " must be a number from %g to %g, not ", -number.limit,
                      number.limit);
        return std::string("the ") + number.name + range + quoted;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckPlaceRecord(std::string_view record) {
    // A place record begins with its one-character code and "=".
    if (record.size() < 3 || record[1] != '=')
        return "not a place record (code=name|longitude|latitude|...): " + std::string(record);
    std::string_view rest = record.substr(2);
    size_t nameEnd = rest.find('\t');
    if (nameEnd == std::string_view::npos)
        nameEnd = rest.find('|');
    if (nameEnd == std::string_view::npos)
        return std::nullopt; // a name alone: every number keeps its default
    rest.remove_prefix(nameEnd + 1);
    for (size_t field = 0; !rest.empty(); ++field) {
        const size_t bar = rest.find('|');
        const std::string_view text = rest.substr(0, bar);
        if (field >= kPlaceNumbers.size() + kZoneNames)
            return "text after the daylight zone name: \"" + std::string(rest) + "\"";
        if (field < kPlaceNumbers.size()) {
            if (auto problem = CheckPlaceNumber(kPlaceNumbers[field], text))
                return problem;
        }
        if (bar == std::string_view::npos)
            break;
        rest.remove_prefix(bar + 1);
    }
    return std::nullopt;
}

bool PreparePlace(const Options &options, platform::IniProfile &profile, ObservingPlace &place,
                  std::ostream &err) {
    double instant = PresentMoment();
    if (options.atGiven) {
        // The date-time and nothing after it but blanks.
        const std::string_view at = TrimBlanks(options.atText);
        instant = at.size() == kDateTimeTextLength ? ParseDateTime(at) : kInvalidJulianDate;
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
        if (const auto problem = CheckPlaceRecord(options.placeRecord)) {
            err << "--place: " << *problem << "\n";
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

bool Session::Start(const Options &options, Positions positions, std::ostream &err) {
    if (!LoadProfile(options, m_profile, err))
        return false;
    if (positions == Positions::DefaultPlace) {
        if (!PreparePlace(options, m_profile, m_place, err))
            return false;
        m_astro = std::make_unique<AstroPositionServices>(m_place);
    }
    m_doc = std::make_unique<CVesparioDoc>(m_host, m_profile, m_astro.get());
    return true;
}

bool Session::Load(const std::string &path, bool completely, std::ostream &err) {
    if (!m_doc->ReadDatabaseFile(path)) {
        // The failure names the file and the system's reason, unless a message said it.
        const auto &shown = m_host.Messages();
        const bool told =
            std::find(shown.begin(), shown.end(), m_doc->LoadFailure()) != shown.end();
        ReportMessages(err);
        if (!told)
            err << m_doc->LoadFailure() << "\n";
        return false;
    }
    if (completely)
        m_doc->LoadCompletely();
    return true;
}

void Session::ReportMessages(std::ostream &err) {
    const std::vector<std::string> &messages = m_host.Messages();
    for (; m_reported < messages.size(); ++m_reported)
        err << messages[m_reported] << "\n";
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
