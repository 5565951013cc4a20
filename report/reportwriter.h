#pragma once
// The report writers: the objects of a list, in list order, in the layout of a ReportLayout,
// as an export file, plain text, RTF (with the tables of atlas charts and magazine articles
// and the session notes), HTML or a planetarium's user dataset (TDF: a data file and its
// description). Everything is written in one pass with a "Generating Report" progress.

#include "db/recordsequence.h"
#include "report/reportlayout.h"
#include "settings/generalsettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
class SettingsVocabularies;

namespace platform {
class Host;
}

inline constexpr std::string_view kNoReportFields = "No fields selected for report";
inline constexpr std::string_view kGeneratingReport = "Generating Report";

// What a report reads besides the layout and the list.
struct ReportSources {
    ReportSources(CVesparioDoc &document, platform::Host &userHost,
                  const SettingsVocabularies *lists = nullptr)
        : doc(document), host(userHost), vocabularies(lists) {}

    CVesparioDoc &doc;
    platform::Host &host;
    // Magazines for the magazine table, books, types, places and equipment for the
    // abbreviations; null: none of them.
    const SettingsVocabularies *vocabularies = nullptr;
    std::string databasePath;     // the session notes file lies beside it
    std::string planetariumEntry; // "title,program path,keys": where the TDF description goes
    std::string homePage{kVesparioHomePage};
    std::string fontName = "Arial";
};

// --- choosing the output file ---------------------------------------------------------
struct ReportFilter {
    std::string_view text;     // "Rich Text Format"
    std::string_view patterns; // "*.rtf"
    ReportKind kind;
};
// The filters of the output file dialog: export offers only text; a report offers RTF, text,
// HTML and, only for a planetarium whose name begins with "Guide", its user dataset.
std::vector<ReportFilter> ReportFilters(bool exportKind, std::string_view planetariumName);
// The output file name for a kind: ".rtf", ".txt" or ".html" appended unless the name
// already ends so (".htm" also serves HTML); for TDF a four-character extension is removed.
std::string ReportFileName(ReportKind kind, const std::string &chosen);
// The kind that a file name's extension stands for; Text when none fits.
ReportKind ReportKindOfName(std::string_view name);
// Readies the layout for a kind: TDF gets exactly the RA hours and Dec degrees fields, 10
// wide; RTF turns a unit of chars into inches, every other kind uses chars.
void PrepareLayoutForKind(ReportKind kind, ReportLayout &layout);

// The TDF description file's path for a data file and a planetarium entry: in the program's
// folder when the entry names a program (a link is followed to its target), otherwise
// beside the report.
std::string TdfDescriptionPath(const std::string &reportPath, std::string_view planetariumEntry);

// WriteReport: writes the report of records (record indexes in list order) to path, which
// is used as given (ReportFileName has been applied). Shows the unabbreviation warning first
// when the layout asks for it, and kNoReportFields (writing nothing) for a layout without
// fields. False, with error set, when nothing or not everything could be written.
[[nodiscard]] bool WriteReport(ReportKind kind, const ReportLayout &layout, RecordSequence records,
                               const std::string &path, ReportSources &sources,
                               std::string *error = nullptr);

} // namespace vespario
