#include "cli/commands.h"

#include "cli/convert.h"
#include "cli/fields.h"
#include "cli/find.h"
#include "cli/select.h"
#include "cli/settings.h"
#include "cli/support.h"
#include "cli/whatsup.h"

#include "db/cvespariodoc.h"
#include "pattern/pattern.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <charconv>
#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char *kUsage =
    "usage: vespario-cli [--profile FILE] COMMAND ...\n"
    "  info FILE.obs                 read a database and print its counts and messages\n"
    "  match PATTERN TEXT [START]    search TEXT with a pattern; print the match and groups\n"
    "  save FILE.obs [OUT.obs]       read a database and save it in the current format\n"
    "  find FILE.obs TEXT [--exact | --pattern]\n"
    "                                look TEXT up as the ID box does\n"
    "  fields FILE.obs ID FIELD... [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"] [--precise]\n"
    "                                print stored and computed fields of one object\n"
    "  convert radec TEXT | time TEXT | dist VALUE UNIT [--place RECORD] [--at ...]\n"
    "                                show a position, instant or distance in every notation\n"
    "  select FILE.obs [--sel FILE.sel] [--srt FILE.srt] [--where \"FIELD OP VALUE\"]...\n"
    "         [--sort FIELD[:desc][:case]]... [--show FIELD]... [--place RECORD] [--at ...]\n"
    "                                list the selected objects in sort order\n"
    "  settings                      print every setting and vocabulary as loaded\n"
    "  whatsup [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"]\n"
    "                                the Sun, Moon and planets for a place at a UT instant\n";

int RunInfo(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() != 2) {
        err << kUsage;
        return 2;
    }
    platform::IniProfile profile;
    if (!LoadProfile(options, profile, err))
        return 2;
    platform::HeadlessHost host;
    CVesparioDoc doc(host, profile);
    if (!LoadDatabase(doc, options.words[1], err))
        return 2;
    int parsed = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        parsed += doc.Record(i).m_parsed ? 1 : 0;
    out << "records: " << doc.GetRecordCount() << "\n";
    out << "observations: " << doc.Load().observationsCounted << "\n";
    out << "parsed: " << parsed << "\n";
    out << "greek text form: " << doc.Load().greekTextForm << "\n";
    out << "index size: " << doc.NameIndex().size() << "\n";
    for (const std::string &message : host.Messages())
        out << message << "\n";
    return 0;
}

bool ParseInt(const std::string &text, int &value) {
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

int RunMatch(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 3 || words.size() > 4) {
        err << kUsage;
        return 2;
    }
    int start = 0;
    if (words.size() == 4 &&
        (!ParseInt(words[3], start) || start < 0 || start > static_cast<int>(words[2].size()))) {
        err << "START must be an offset from 0 to the length of TEXT\n";
        return 2;
    }
    Pattern pattern(words[1]);
    if (!pattern.IsValid()) {
        out << pattern.Error() << "\n";
        return 2;
    }
    const int found = pattern.Search(words[2], start);
    if (found < 0) { // -2: the search gave up on a too-deep backtrack; no match either
        out << "no match\n";
        return 1;
    }
    out << pattern.MatchStart[0] << " " << pattern.MatchEnd[0] << "\n";
    for (int g = 1; g < Pattern::kGroups; ++g) {
        if (pattern.MatchStart[g] >= 0)
            out << g << " " << pattern.MatchStart[g] << " " << pattern.MatchEnd[g] << "\n";
    }
    return 0;
}

// The database is the second word; RunFind checks the rest of the line.
int RunFindCommand(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() < 3) {
        err << kUsage;
        return 2;
    }
    platform::IniProfile profile;
    if (!LoadProfile(options, profile, err))
        return 2;
    platform::HeadlessHost host;
    CVesparioDoc doc(host, profile);
    if (!LoadDatabase(doc, options.words[1], err))
        return 2;
    const int code = RunFind(options.words, doc, out);
    for (const std::string &message : host.Messages())
        err << message << "\n";
    return code;
}

int RunSave(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 2 || words.size() > 3) {
        err << kUsage;
        return 2;
    }
    platform::IniProfile profile;
    if (!LoadProfile(options, profile, err))
        return 2;
    platform::HeadlessHost host;
    CVesparioDoc doc(host, profile);
    if (!LoadDatabase(doc, words[1], err))
        return 2;
    for (const std::string &message : host.Messages())
        out << message << "\n";
    // What did not load as a database is never written anywhere: an empty file in its
    // place would be all that is left of it after a second save.
    if (!doc.LoadFailure().empty()) {
        err << "not saved: " << words[1] << " did not load: " << doc.LoadFailure() << "\n";
        return 2;
    }
    const std::string &target = words.size() == 3 ? words[2] : words[1];
    if (!doc.SaveDatabase(target)) {
        err << "cannot save " << target << ": " << doc.SaveError() << "\n";
        return 1;
    }
    out << "saved " << doc.GetRecordCount() << " records to " << target << "\n";
    return 0;
}

} // namespace

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    Options options;
    if (!ParseOptions(args, options, err))
        return 2;
    if (options.words.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string &command = options.words[0];
    if (command == "info")
        return RunInfo(options, out, err);
    if (command == "match")
        return RunMatch(options, out, err);
    if (command == "save")
        return RunSave(options, out, err);
    if (command == "find")
        return RunFindCommand(options, out, err);
    if (command == "fields")
        return RunFields(options, out, err);
    if (command == "convert")
        return RunConvert(options, out, err);
    if (command == "settings")
        return RunSettings(options.words, options.profilePath, out, err);
    if (command == "select")
        return RunSelect(options, out, err);
    if (command == "whatsup")
        return RunWhatsUp(options, out, err);
    err << "unknown command " << command << "\n" << kUsage;
    return 2;
}

} // namespace vespario::cli
