#include "cli/commands.h"

#include "cli/check.h"
#include "cli/convert.h"
#include "cli/fields.h"
#include "cli/find.h"
#include "cli/import.h"
#include "cli/link.h"
#include "cli/maintain.h"
#include "cli/report.h"
#include "cli/select.h"
#include "cli/settings.h"
#include "cli/support.h"
#include "cli/whatsup.h"

#include "db/cvespariodoc.h"
#include "pattern/pattern.h"

#include <charconv>
#include <ostream>
#include <string_view>

namespace vespario::cli {
namespace {

// One row per command: its words as the usage shows them and what it does.
struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
};

constexpr CommandHelp kCommands[] = {
    {"info", "info FILE.obs", "read a database and print its counts and messages"},
    {"match", "match PATTERN TEXT [START]",
     "search TEXT with a pattern; print the match and groups"},
    {"save", "save FILE.obs [OUT.obs]", "read a database and save it in the current format"},
    {"find", "find FILE.obs TEXT [--exact | --pattern]", "look TEXT up as the ID box does"},
    {"fields",
     "fields FILE.obs ID FIELD... [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"] [--precise]",
     "print stored and computed fields of one object"},
    {"convert",
     "convert radec TEXT [--epoch1 YEAR] [--epoch2 YEAR] | time TEXT | dist VALUE UNIT\n"
     "         [--place RECORD] [--at ...]",
     "show a position, instant or distance in every notation"},
    {"select",
     "select FILE.obs [--sel FILE.sel] [--srt FILE.srt] [--where \"FIELD OP VALUE\"]...\n"
     "         [--sort FIELD[:desc][:case]]... [--show FIELD]... [--place RECORD] [--at ...]",
     "list the selected objects in sort order"},
    {"report",
     "report FILE.obs OUT [--setup FILE.rpt] [--kind export|text|rtf|html|tdf] [--sel FILE.sel]\n"
     "         [--srt FILE.srt] [--where ...]... [--sort ...]... [--place RECORD] [--at ...]",
     "write the selected objects as a report or export file"},
    {"circumstances", "circumstances FILE.obs ID [N]",
     "the circumstances of the Nth observation (default 1) of an object"},
    {"settings", "settings", "print every setting and vocabulary as loaded"},
    {"whatsup", "whatsup [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"]",
     "the Sun, Moon and planets for a place at a UT instant"},
    {"send", "send [--service NAME] [--topic NAME] COMMAND",
     "execute a command (ID=..., RaDec=...) in a running Vespario"},
    {"request", "request [--service NAME] [--topic NAME] ITEM",
     "request an item of a running Vespario and print it"},
    {"check", "check FILE.obs", "run the record edit checks; print each failure with its ID"},
    {"maintain",
     "maintain FILE.obs sort-refs [OUT.obs] | verify-urls [OUT.obs] | rebuild-ids\n"
     "         | list-magazines | export-urls OUT.html",
     "run a maintenance tool; a tool that changed records saves the database"},
    {"import",
     "import FILE.obs IMPORT [--fields TAG,TAG,...] [--delimiter C|tab|eol] [--skip N] [--add]\n"
     "         [--replace-src CODES] [--replace-within ARCMIN] [--charset N] [--log FILE]\n"
     "         [--out OUT.obs]",
     "import a text, CSV, database, update or maintenance file; print the summary and save"},
    {"help", "help [COMMAND]", "print this text, or the usage of one command"},
};

void PrintUsage(std::ostream &out) {
    out << "usage: vespario-cli [--profile FILE] COMMAND ...\n"
           "       vespario-cli --help | -h | --version\n";
    for (const CommandHelp &command : kCommands)
        out << "  " << command.synopsis << "\n      " << command.summary << "\n";
}

const CommandHelp *FindCommand(std::string_view name) {
    for (const CommandHelp &command : kCommands)
        if (command.name == name)
            return &command;
    return nullptr;
}

int RunHelp(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() > 2) {
        PrintCommandUsage(err, "help");
        return 2;
    }
    if (options.words.size() == 1) {
        PrintUsage(out);
        return 0;
    }
    if (FindCommand(options.words[1]) == nullptr) {
        err << "unknown command " << options.words[1] << "\n";
        PrintUsage(err);
        return 2;
    }
    PrintCommandUsage(out, options.words[1]);
    return 0;
}

int RunInfo(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() != 2) {
        PrintCommandUsage(err, "info");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(options.words[1], true, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    int parsed = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        parsed += doc.Record(i).m_parsed ? 1 : 0;
    out << "records: " << doc.GetRecordCount() << "\n";
    out << "observations: " << doc.Load().observationsCounted << "\n";
    out << "parsed: " << parsed << "\n";
    out << "greek text form: " << doc.Load().greekTextForm << "\n";
    out << "index size: " << doc.NameIndex().size() << "\n";
    session.ReportMessages(err);
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
        PrintCommandUsage(err, "match");
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
        err << pattern.Error() << "\n";
        return 2;
    }
    const int found = pattern.Search(words[2], start);
    if (found == Pattern::kAbandoned) {
        err << Pattern::kAbandonedMessage << "\n";
        return 2;
    }
    if (found < 0) {
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
        PrintCommandUsage(err, "find");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(options.words[1], true, err))
        return 2;
    session.ReportMessages(err);
    const int code = RunFind(options.words, session.Doc(), out, err);
    session.ReportMessages(err);
    return code;
}

int RunSave(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 2 || words.size() > 3) {
        PrintCommandUsage(err, "save");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(words[1], true, err))
        return 2;
    // What did not load as a database is never written anywhere: an empty file in its
    // place would be all that is left of it after a second save. The line names the load's
    // message, so that is not printed twice.
    CVesparioDoc &doc = session.Doc();
    if (!doc.LoadFailure().empty()) {
        err << "not saved: " << words[1] << " did not load: " << doc.LoadFailure() << "\n";
        return 2;
    }
    session.ReportMessages(err);
    const std::string &target = words.size() == 3 ? words[2] : words[1];
    const bool saved = doc.SaveDatabase(target);
    session.ReportMessages(err);
    if (!saved) {
        err << "cannot save " << target << ": " << doc.SaveError() << "\n";
        return 1;
    }
    out << "saved " << session.Doc().GetRecordCount() << " records to " << target << "\n";
    return 0;
}

} // namespace

void PrintCommandUsage(std::ostream &out, std::string_view name) {
    const CommandHelp *command = FindCommand(name);
    if (command == nullptr)
        return;
    out << "usage: vespario-cli " << command->synopsis << "\n  " << command->summary << "\n";
}

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    Options options;
    if (!ParseOptions(args, options, err))
        return 2;
    if (options.words.empty()) {
        PrintUsage(err);
        return 2;
    }
    const std::string &command = options.words[0];
    if (command == "--help" || command == "-h" || command == "help")
        return RunHelp(options, out, err);
    // "COMMAND --help" alone: the usage of that command.
    const bool helpWord =
        options.words.size() == 2 && (options.words[1] == "--help" || options.words[1] == "-h");
    if (helpWord && FindCommand(command) != nullptr) {
        PrintCommandUsage(out, command);
        return 0;
    }
    if (command == "--version") {
        out << "vespario-cli " << VESPARIO_CLI_VERSION << "\n";
        return 0;
    }
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
    if (command == "report")
        return RunReport(options, out, err);
    if (command == "circumstances")
        return RunCircumstances(options, out, err);
    if (command == "whatsup")
        return RunWhatsUp(options, out, err);
    if (command == "check")
        return RunCheck(options, out, err);
    if (command == "maintain")
        return RunMaintain(options, out, err);
    if (command == "import")
        return RunImport(options, out, err);
    if (command == "send" || command == "request")
        return RunLink(options, out, err);
    err << "unknown command " << command << "\n";
    PrintUsage(err);
    return 2;
}

} // namespace vespario::cli
