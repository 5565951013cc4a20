#include "cli/fields.h"

#include "db/astropositions.h"
#include "db/nameindex.h"
#include "platform/headlesshost.h"

#include <cstdio>
#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char *kFieldsUsage =
    "usage: vespario-cli fields FILE.obs ID FIELD... [--place RECORD] "
    "[--at \"yyyy/mm/dd hh:mm:ss\"] [--precise]\n";

} // namespace

int RunFields(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 4) {
        err << kFieldsUsage;
        return 2;
    }
    platform::IniProfile profile;
    ObservingPlace place;
    if (!LoadProfileAndPlace(options, profile, place, err))
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
        out << BareTag(doc.Fields().Slot(n).tag) << '\t'
            << ValueText(doc, n, record, options.precise) << '\n';
    for (const std::string &message : host.Messages())
        err << message << "\n";
    return 0;
}

} // namespace vespario::cli
