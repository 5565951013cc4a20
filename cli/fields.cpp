#include "cli/fields.h"

#include "db/astropositions.h"
#include "db/nameindex.h"
#include "platform/headlesshost.h"

#include <cstdio>
#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char* kFieldsUsage =
    "usage: vespario-cli fields FILE.obs ID FIELD... [--place RECORD] "
    "[--at \"yyyy/mm/dd hh:mm:ss\"] [--precise]\n";

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

std::string ValueText(CVesparioDoc& doc, int fieldNo, int record, bool precise) {
    const FieldSlot& slot = doc.Fields().Slot(fieldNo);
    char number[64];
    switch (slot.kind) {
    case FieldKind::Integer:
        std::snprintf(number, sizeof number, "%i", static_cast<int>(doc.GetInt(fieldNo, record)));
        return number;
    case FieldKind::Real:
        std::snprintf(number, sizeof number, precise ? "%.10g" : "%g", doc.GetReal(fieldNo, record));
        return number;
    default:
        return OneLine(doc.GetText(fieldNo, record));
    }
}

} // namespace

int RunFields(const Options& options, std::ostream& out, std::ostream& err) {
    const auto& words = options.words;
    if (words.size() < 4) {
        err << kFieldsUsage;
        return 2;
    }
    platform::IniProfile profile;
    if (!LoadProfile(options, profile, err))
        return 2;
    ObservingPlace place;
    if (!PreparePlace(options, profile, place, err))
        return 2;
    AstroPositionServices astro(place);
    platform::HeadlessHost host;
    CVesparioDoc doc(host, profile, &astro);

    std::vector<int> fields;
    for (size_t i = 3; i < words.size(); ++i) {
        const int n = doc.Fields().FindTag(words[i]);
        if (n < 0) {
            err << "unknown field " << words[i] << "\n";
            return 2;
        }
        fields.push_back(n);
    }
    if (!LoadDatabase(doc, words[1], err))
        return 2;
    const int record = FindExactId(doc, words[2]);
    if (record < 0) {
        err << "no object has the ID " << words[2] << "\n";
        return 1;
    }
    for (int n : fields)
        out << BareTag(doc.Fields().Slot(n).tag) << '\t' << ValueText(doc, n, record, options.precise)
            << '\n';
    for (const std::string& message : host.Messages())
        err << message << "\n";
    return 0;
}

} // namespace vespario::cli
