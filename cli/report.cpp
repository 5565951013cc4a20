#include "cli/report.h"

#include "astro/radectext.h"
#include "cli/commands.h"
#include "cli/select.h"
#include "db/nameindex.h"
#include "report/observationreports.h"
#include "report/reportwriter.h"
#include "select/objectlist.h"
#include "settings/generalsettings.h"
#include "settings/settingsvocabularies.h"

#include <charconv>
#include <ostream>

namespace vespario::cli {
namespace {

struct ReportWords {
    std::string database;
    std::string out;
    std::string setup;
    std::string kindName;
    SelectionWords selection;
};

bool ParseReportWords(const std::vector<std::string> &words, ReportWords &report) {
    if (words.size() < 3 || words[1].starts_with("--") || words[2].starts_with("--"))
        return false;
    report.database = words[1];
    report.out = words[2];
    for (size_t i = 3; i < words.size(); i += 2) {
        if (i + 1 >= words.size())
            return false;
        const std::string &option = words[i];
        const std::string &value = words[i + 1];
        if (TakeSelectionOption(option, value, report.selection))
            continue;
        if (option == "--setup")
            report.setup = value;
        else if (option == "--kind")
            report.kindName = value;
        else
            return false;
    }
    return true;
}

bool KindOfName(std::string_view name, ReportKind &kind) {
    for (int k = 0; k < kReportKindCount; ++k)
        if (InfoOf(static_cast<ReportKind>(k)).name == name) {
            kind = static_cast<ReportKind>(k);
            return true;
        }
    return false;
}

// Prints a text of the program (lines ended by CR LF) with plain line ends.
void PrintLines(std::ostream &out, std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        out << text.substr(at, end == std::string_view::npos ? end : end - at) << '\n';
        if (end == std::string_view::npos)
            break;
        at = end + 2;
    }
}

} // namespace

int RunReport(const Options &options, std::ostream &out, std::ostream &err) {
    ReportWords words;
    if (!ParseReportWords(options.words, words)) {
        PrintCommandUsage(err, "report");
        return 2;
    }
    ReportKind kind = ReportKindOfName(words.out);
    if (!words.kindName.empty() && !KindOfName(words.kindName, kind)) {
        err << "unknown report kind " << words.kindName << "\n";
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::DefaultPlace, err))
        return 2;
    GeneralSettings general;
    LoadGeneralSettings(session.Profile(), general);
    ReportLayout layout = DefaultLayout(kind, general.reportUnits);
    if (!words.setup.empty() && !ReadSetupFile(words.setup, layout, session.Host())) {
        session.ReportMessages(err);
        err << "cannot read report setup file " << words.setup << "\n";
        return 2;
    }
    PrepareLayoutForKind(kind, layout);
    if (!session.Load(words.database, false, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    ObjectList list(doc);
    if (!ApplySelection(words.selection, session, list, err))
        return 2;
    list.RestartSelection();
    list.RunToCompletion();

    SettingsVocabularies vocabularies;
    vocabularies.LoadVocabularies(session.Profile());
    ReportSources sources(doc, session.Host(), &vocabularies);
    sources.databasePath = words.database;
    sources.planetariumEntry = vocabularies.Planetaria().Entry(vocabularies.CurrentPlanetarium());
    const std::string path = ReportFileName(kind, words.out);
    std::string error;
    const bool written = WriteReport(kind, layout, list.List(), path, sources, &error);
    session.ReportMessages(err);
    if (!written) {
        if (error != kNoReportFields)
            err << "cannot write " << path << ": " << error << "\n";
        return 1;
    }
    out << "wrote " << list.List().size() << " objects to " << path << "\n";
    return 0;
}

int RunCircumstances(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    int n = 1;
    if (words.size() == 4) {
        const char *end = words[3].data() + words[3].size();
        const auto parsed = std::from_chars(words[3].data(), end, n);
        if (parsed.ec != std::errc() || parsed.ptr != end || n < 1)
            n = 0;
    }
    if (words.size() < 3 || words.size() > 4 || n < 1) {
        PrintCommandUsage(err, "circumstances");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::DefaultPlace, err) ||
        !session.Load(words[1], true, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    const int record = FindExactId(doc, words[2]);
    if (record < 0) {
        session.ReportMessages(err);
        err << "no object has the ID " << words[2] << "\n";
        return 1;
    }
    const std::vector<std::string> entries =
        ObservationEntries(doc, doc.GetText(field::Obs, record));
    if (static_cast<size_t>(n) > entries.size()) {
        err << words[2] << " has " << entries.size() << " observations\n";
        return 1;
    }
    double ra = 0.0;
    double dec = 0.0;
    if (!ParseRaDec(doc.GetText(field::RaDec, record), ra, dec)) {
        err << words[2] << " has no valid RaDec\n";
        return 1;
    }
    SettingsVocabularies vocabularies;
    vocabularies.LoadVocabularies(session.Profile());
    const std::string name(doc.GetPrimaryId(record));
    PrintLines(out,
               CircumstancesText(name, ra, dec, entries[static_cast<size_t>(n - 1)], vocabularies));
    session.ReportMessages(err);
    return 0;
}

} // namespace vespario::cli
