#pragma once
// Import: bringing objects and updates from text files and the clipboard into the open
// database. Every import record is matched to an object by its designations; matched
// objects take the imported fields under fixed per-field rules (create, replace, append or
// reject), unmatched records become new objects or are only reported. Every decision can be
// logged, and a summary closes the run. Imports are not undoable.

#include "db/cvespariodoc.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

enum class ImportKind : int {
    Described = 0,   // the user (or a ";VesparioUpd=" header) describes the fields
    Database = 1,    // ";Vespario=": records in the database file format
    Maintenance = 2, // ";VesparioMaint=": Type, ID, a field number and a text per record
};

enum class ImportDelimiter { Character, Tab, EndOfLine };

// The other program's export (a ".exp" file): which field its item texts go into.
enum class ExportItemField { Goal = 21, Obs = 22 };

// What the import dialog holds for one run.
struct ImportDescription {
    std::vector<int> fields; // field numbers, one per field of a record; 23 skips the field
    ImportDelimiter delimiter = ImportDelimiter::Character;
    char delimiterChar = ';';
    int skipLines = 0;           // header lines skipped at the start of the text
    bool log = false;            // write the log file
    std::string replaceSources;  // Src codes whose positions may be replaced; "*" every one
    int replaceWithinArcmin = 0; // ... when the imported position is at most this far away
    // The Greek set of the import text (0, 1, 2; -1: the database's own). A set other than
    // the database's is converted, and then letter names written in mixed case (Alpha,
    // Struve) are letters too.
    int charset = -1;
    bool addNew = false; // unmatched records become new objects
    ImportKind kind = ImportKind::Described;
    bool fromHeader = false; // a self-describing header filled this description
    // The export route's settings (the "NGP Import" dialog).
    ExportItemField exportField = ExportItemField::Goal;
    std::string exportPrefix;
};

// The text of one import with what its source tells about it.
struct ImportText {
    std::string text;
    std::string logPath;       // where the log goes when the description asks for one
    bool csv = false;          // converted from comma-separated values
    int unclosedQuoteLine = 0; // the CSV's quoted field that never closes, or 0
    bool exportFile = false;   // a ".exp" file with the other program's export structure
};

struct ImportSummary {
    int recordsRead = 0;
    int added = 0;
    int matched = 0;
    int unmatched = 0;
    int fieldsImported = 0;
    int created = 0;
    int replaced = 0;
    int appended = 0;
    int rejected = 0;
    int tooLong = 0;      // records refused for a field longer than kMaxImportField
    bool stopped = false; // the user cancelled at an empty ID, or the text was refused
    bool databaseSummary = false;
    std::string text; // the summary as shown
};

// The longest field an import record may carry; a longer one refuses its record.
inline constexpr size_t kMaxImportField = 1000000;

// The log file of an imported file: its name with the extension replaced by ".LOG".
std::string ImportLogPath(const std::string &importPath);

// Reads a file whole: a ".csv" file is converted (ConvertCsv) and a ".exp" file with the
// other program's structure is marked for the export route. False, with the message shown,
// when the file cannot be read.
[[nodiscard]] bool ReadImportFile(const std::string &path, platform::Host &host, ImportText &out);
// The clipboard's text; the log is "import.log" in folder (the current folder when empty).
ImportText ClipboardImportText(std::string_view clipboard, const std::string &folder = "");

// Presets the description from the text: its kind and, for the self-describing headers,
// what they give; a CSV text gets "," as its delimiter. False, with the reason in error,
// when a self-describing header is damaged (nothing can be imported from it).
[[nodiscard]] bool PresetDescription(const ImportText &text, ImportDescription &description,
                                     std::string &error);

// The message the dialog shows before it closes, or empty when the description can be used.
std::string CheckDescription(const ImportDescription &description);

// The question asked before importing into a changed database; false when the user says No.
bool AskImportIntoChangedDatabase(CVesparioDoc &doc);

// Runs one import of text into doc under description: matches, merges, adds, logs, marks the
// document modified and rebuilds its name index. With showSummary the summary is shown
// through the document's Host. text is the source as ReadImportFile or ClipboardImportText
// gave it; the export route's translation file is looked for in dataFolder.
ImportSummary ImportData(CVesparioDoc &doc, const ImportText &text,
                         const ImportDescription &description, bool showSummary = true,
                         const std::string &dataFolder = "");

// MergeField: the pieces of an imported text that a record's field does not already
// contain, one call at a time. Pieces are: the whole text for the one-value fields; each
// designation with its closing "=" for the ID; each character for CheckBoxes; each word for
// in, rv, pc and z; each sentence (ended by ". " or "? ") for info, goal, obs and refs
// (refs without its "^"); each "{" entry for url.
class MergeField {
public:
    MergeField(int field, std::string_view stored, std::string_view imported);
    // The next piece not yet in the field; false when none is left.
    bool Next(std::string &piece);
    // Tells the merge what the field holds now (after a piece was applied).
    void StoredChanged(std::string_view stored);

private:
    bool NextRaw(std::string &piece);
    bool Contains(std::string_view piece) const;

    int m_field;
    std::string m_stored; // what the containment test searches (line ends as blanks)
    std::string m_text;   // the imported text, prepared for cutting
    size_t m_pos = 0;
};

// The other program's export: length-prefixed items with 16-bit counts (see importexport.cpp).
bool HasExportStructure(std::string_view data);

} // namespace vespario
