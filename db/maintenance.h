#pragma once
// The whole-database maintenance tools: each commits the current record first, shows its
// progress through the document's Host, marks the document modified only when it changed a
// record, and shows the current record again at the end. The window asks for the files and
// folders; the questions the tools ask go through the Host.

#include "db/recordsequence.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
class SettingsVocabularies;

// What a tool did: whether it ran (the user did not say No), how many records it changed,
// and the text it showed or produced.
struct MaintenanceResult {
    bool ran = false;
    int recordsChanged = 0;
    std::string text;
};

// Rebuild Object IDs: the untyped name index, at once.
MaintenanceResult RebuildObjectIds(CVesparioDoc &doc);

// Scan for Local URLs: every file under folder (and its subfolders) whose name begins with a
// designation that an object carries is added to that object's url field as "{path}" on a
// line of its own; a path the field lists already is not added twice. showFolder (when
// given) is told each folder as it is scanned, and "Finished" at the end.
MaintenanceResult ScanLocalUrls(CVesparioDoc &doc, const std::string &folder,
                                const std::function<void(std::string_view)> &showFolder = {});

// Verify Local URLs: asks first; removes from every url field the entries "{path}" of local
// files that do not exist (the description after an entry stays), never a web address, and
// shows the list of paths removed.
MaintenanceResult VerifyLocalUrls(CVesparioDoc &doc);
// Whether the text between an entry's braces names a local file, and which one.
bool LocalFileOfEntry(std::string_view entry, std::string &path);

// Sort Refs Magazines: asks first; puts the magazine items of each REFS section behind the
// other items, in date order.
MaintenanceResult SortRefsMagazines(CVesparioDoc &doc, const SettingsVocabularies &vocabularies);
// The REFS text that SortRefsMagazines makes of refs with the given magazine codes; refs
// itself when it does not hold exactly three sections.
std::string SortedRefs(std::string_view refs, std::string_view magazineCodes);

// Del author's data.
struct AuthorDataOptions {
    enum class Observations { Leave, Remove, MoveToGoal };
    bool clearSawOn = false;
    bool clearEase = false;
    bool clearRate = false;
    bool clearGoal = false;
    Observations observations = Observations::Leave;
    bool removePlaces = false;
    bool removeEquipment = false;
    bool removeMenuEntry = false; // sets "FileRead"/"DelAuthor"
};
inline constexpr std::string_view kDelAuthorText =
    "This function will remove the author's observations and other personal data from the "
    "database so you can use the database for your own personal observations.";
MaintenanceResult DeleteAuthorData(CVesparioDoc &doc, SettingsVocabularies &vocabularies,
                                   const AuthorDataOptions &options);

// File Differences: asks first (and, when the document is modified, the import's question),
// undeletes every record, reads otherPath as a database and writes the differences to
// resultsPath. False in ran when the user said No or a file could not be read or written
// (text then says why).
MaintenanceResult FileDifferences(CVesparioDoc &doc, const std::string &otherPath,
                                  const std::string &resultsPath);

// Prepare Public Database: asks first; removes personal references from the long fields.
MaintenanceResult PreparePublicDatabase(CVesparioDoc &doc);

// List All Magazines: asks first; the magazine references of all records, sorted, one
// "REFERENCE<TAB>RECORDS" line each, in text.
MaintenanceResult ListAllMagazines(CVesparioDoc &doc);

// Export URLs: the url entries of the listed records as an HTML list, written to path. ran
// is false (with the reason in text) when the file cannot be written.
MaintenanceResult ExportUrls(CVesparioDoc &doc, RecordSequence listed, const std::string &path);
// The HTML that ExportUrls writes.
std::string UrlListHtml(CVesparioDoc &doc, RecordSequence listed);

} // namespace vespario
