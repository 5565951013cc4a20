#include "cli/convert.h"

#include "astro/constants.h"
#include "astro/coordinatestool.h"
#include "astro/datetimetext.h"
#include "astro/distancestool.h"
#include "astro/timestool.h"
#include "platform/headlesshost.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vespario::cli {
namespace {

constexpr const char *kConvertUsage =
    "usage: vespario-cli convert radec TEXT [--epoch1 YEAR] [--epoch2 YEAR] | time TEXT |\n"
    "       dist VALUE UNIT [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"]\n";

// The Coordinates tool's two epochs as typed into its Epoch fields; none given: 2000.0.
struct Epochs {
    std::optional<std::string> first;
    std::optional<std::string> second;
};

// Takes "--epoch1 YEAR" and "--epoch2 YEAR" out of the words; false when one lacks its year.
bool TakeEpochs(std::vector<std::string> &words, Epochs &epochs, bool &given, std::ostream &err) {
    given = false;
    for (std::size_t i = 0; i < words.size();) {
        std::optional<std::string> *year = words[i] == "--epoch1"   ? &epochs.first
                                           : words[i] == "--epoch2" ? &epochs.second
                                                                    : nullptr;
        if (!year) {
            ++i;
            continue;
        }
        if (i + 1 >= words.size()) {
            err << words[i] << " needs a value\n";
            return false;
        }
        *year = words[i + 1];
        given = true;
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                    words.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    return true;
}

// TEXT is read for epoch 1; the RaDec 2 field shows the position precessed to epoch 2.
int ConvertRaDec(const std::string &text, const Epochs &epochs, ObservingPlace &place,
                 std::ostream &out, std::ostream &err) {
    platform::HeadlessHost host;
    CoordinatesTool tool(host, place);
    const std::pair<int, std::optional<std::string>> edits[] = {
        {CoordinatesTool::Epoch1, epochs.first},
        {CoordinatesTool::Epoch2, epochs.second},
        {CoordinatesTool::RaDec1, text}};
    for (const auto &[field, value] : edits) {
        if (!value)
            continue;
        if (!tool.Edit(field, *value)) {
            err << tool.Hint() << "\n";
            return 2;
        }
    }
    for (int field = 0; field < CoordinatesTool::kFieldCount; ++field)
        out << CoordinatesTool::Label(field) << '\t' << tool.Text(field) << '\n';
    out << "Status\t" << tool.StatusLine() << '\n';
    out << "Place\t" << tool.PlaceLabel() << '\n';
    return 0;
}

int ConvertTime(const std::string &text, ObservingPlace &place, std::ostream &out,
                std::ostream &err) {
    platform::HeadlessHost host;
    TimesTool tool(host, place);
    if (text == "now") {
        tool.Now();
    } else {
        // A date-time goes into the UT field; anything else is tried as a Julian Date.
        const bool isDateTime = ParseDateTime(text) != kInvalidJulianDate;
        if (!tool.Edit(isDateTime ? TimesTool::UniversalTime : TimesTool::JulianDay, text)) {
            tool.Edit(TimesTool::UniversalTime, text); // the date-time form is the one to show
            err << tool.Hint() << "\n";
            return 2;
        }
    }
    for (int field = 0; field < TimesTool::kFieldCount; ++field)
        out << tool.Label(field) << '\t' << tool.Text(field) << '\n';
    return 0;
}

int ConvertDistance(const std::string &value, const std::string &unit, std::ostream &out,
                    std::ostream &err) {
    const int field = DistancesTool::FieldOfUnit(unit);
    if (field < 0) {
        err << "unknown unit " << unit
            << "; one of ly pc AU mi km m in cm mm nm A km/s z km/s/Mpc\n";
        return 2;
    }
    platform::HeadlessHost host;
    DistancesTool tool(host);
    if (!tool.Edit(field, value)) {
        err << tool.Hint() << "\n";
        return 2;
    }
    for (int f = 0; f < DistancesTool::kFieldCount; ++f) {
        out << DistancesTool::Label(f);
        if (*DistancesTool::Unit(f))
            out << " (" << DistancesTool::Unit(f) << ")";
        out << '\t' << tool.Text(f) << '\n';
    }
    return 0;
}

} // namespace

int RunConvert(const Options &options, std::ostream &out, std::ostream &err) {
    std::vector<std::string> words = options.words;
    Epochs epochs;
    bool epochsGiven = false;
    if (!TakeEpochs(words, epochs, epochsGiven, err))
        return 2;
    const bool shapeOk = (words.size() == 3 && words[1] == "radec") ||
                         (words.size() == 3 && words[1] == "time" && !epochsGiven) ||
                         (words.size() == 4 && words[1] == "dist" && !epochsGiven);
    if (!shapeOk) {
        err << kConvertUsage;
        return 2;
    }
    if (words[1] == "dist")
        return ConvertDistance(words[2], words[3], out, err);
    platform::IniProfile profile;
    ObservingPlace place;
    if (!LoadProfileAndPlace(options, profile, place, err))
        return 2;
    return words[1] == "radec" ? ConvertRaDec(words[2], epochs, place, out, err)
                               : ConvertTime(words[2], place, out, err);
}

} // namespace vespario::cli
