#pragma once
// The open database: the record array, the object name index, the current record, the load
// state of the file being read, and the computed-field getters.

#include "db/fieldtable.h"
#include "db/objectrecord.h"
#include "db/positionservices.h"
#include "db/recordsequence.h"
#include "pattern/pattern.h"
#include "platform/host.h"
#include "platform/iniprofile.h"

#include <cstdint>
#include <cstdlib>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class DatabaseOutput;
class SettingsVocabularies;

// What the document needs of its windows. The window implements it; the default does nothing.
class DocumentViews {
public:
    virtual ~DocumentViews() = default;
    virtual void ReloadViews() {} // every view reloads its controls from the record
    virtual void CommitEdits() {} // the control being edited hands its text over
    virtual bool UndoFocusedEdit() { return false; } // true when an edit control undid
    // Makes a record current the way the object list does; false when there is no list.
    virtual bool GoTo(int recordIndex) {
        (void)recordIndex;
        return false;
    }
    virtual void ShowRecordCount(int count) { (void)count; }
};

// What reading a file leaves in memory.
// The load buffer comes from malloc so that it can shrink in place after preparation.
struct FreeDeleter {
    void operator()(char *p) const { std::free(p); }
};
using LoadBuffer = std::unique_ptr<char[], FreeDeleter>;

struct LoadState {
    LoadBuffer buffer; // file length + 4 bytes, prepared in place
    size_t bufferSize = 0;
    size_t readPos = 0; // offset of the next record to split
    int recordsSplit = 0;
    int recordsParsed = 0; // the parse position
    bool allSplit = false;
    bool allParsed = false;
    int version = 2;
    char recordStart = '_';
    char shortEnd = ';';
    char longEnd = ';';
    int greekTextForm = 2;
    uint32_t expectedObjects = 0;
    uint32_t expectedObservations = 0;
    uint32_t observationsCounted = 0;
};

// A code index as the inside of a pattern's character set: the bytes that mean something
// there are escaped, so that the set holds exactly the codes.
std::string CodeSet(std::string_view codes);

class CVesparioDoc {
public:
    // The observation header's place and equipment codes come from vocabularies (read at
    // once); without them the document loads them from the profile. astro must outlive the
    // document.
    CVesparioDoc(platform::Host &host, platform::IniProfile &profile,
                 const PositionServices *astro = nullptr,
                 const SettingsVocabularies *vocabularies = nullptr);
    virtual ~CVesparioDoc();
    CVesparioDoc(const CVesparioDoc &) = delete;
    CVesparioDoc &operator=(const CVesparioDoc &) = delete;

    void SetViews(DocumentViews *views) { m_views = views ? views : &m_noViews; }
    const FieldTable &Fields() const { return m_fields; }
    platform::Host &Host() { return m_host; }
    platform::IniProfile &Profile() { return m_profile; }
    // The Greek character set texts are held in ("GreekHandling"/"Internal").
    // The program's own character set (1) unless the profile says otherwise.
    int GreekSet() const { return m_profile.GetInt("GreekHandling", "Internal", 1); }

    // --- records -------------------------------------------------------------------------
    int GetRecordCount() const { return static_cast<int>(m_records.size()); }
    ObjectRecord &Record(int index) { return *m_records[static_cast<size_t>(index)]; }
    void EnsureParsed(int index);
    void SetCurrentRecord(int index, bool keepPending, bool show);
    int CurrentIndex() const { return m_currentIndex; }
    ObjectRecord *CurrentRecord() { return m_current; }
    void SetFieldText(int n, std::string_view text);
    void NewObject();
    // Appends a record (no raw text, parsed) that holds fields, with its name index entry;
    // returns its index. Import's new objects; the caller shows the count.
    int AppendRecord(const std::array<std::string_view, kStoredFieldCount> &fields);
    DocumentViews &Views() { return *m_views; }
    void RevertRecord();
    void EmptyDocument();
    // Asks first; on Yes, writes the records of selected (the object list's entries, in list
    // order) to path (empty: cancelled), in file order. Returns true when a file was written.
    bool SaveSelectedRecords(const std::string &path, RecordSequence selected);
    // The File Save command: asks about deleted records first. Returns true when saved.
    bool SaveCommand(const std::string &path);
    int RecordIndexOfIdentity(int identity) const;
    // MoveRecord: moves the record at index from to index to, the records between shifting
    // by one. The current record and, while parsing is unfinished, the parse position keep
    // pointing at the same records. Returns the new index of the record that was at
    // `tracked` (the caller's own positions follow the same rule).
    int MoveRecord(int from, int to, int tracked = -1);
    // GatherFront: within the records [from, from + selected.size()), moves those whose
    // flag is set to the front of the range, keeping the order within both parts (as if
    // each selected record had been moved down in turn). newIndex gets the new index of
    // each record of the range, in the old order. The current record and the parse position
    // follow their records. One pass over the range, however many records move.
    void GatherFront(int from, const std::vector<char> &selected, std::vector<int> &newIndex);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool CurrentChanged() const { return m_currentChanged; }
    void MarkCurrentChanged() { m_currentChanged = true; }
    const std::vector<ObjectRecord *> &ChangedRecords() const { return m_changedRecords; }
    // The second pass of the edit checks has checked the first changed record.
    void DropFirstChangedRecord() {
        if (!m_changedRecords.empty())
            m_changedRecords.erase(m_changedRecords.begin());
    }
    // The first pass of the edit checks: the next record to check and whether every record
    // has been checked. Emptying the document starts the pass over.
    int EditCheckCursor() const { return m_editCheckCursor; }
    void SetEditCheckCursor(int cursor) { m_editCheckCursor = cursor; }
    bool EditCheckPassDone() const { return m_editCheckPassDone; }
    void SetEditCheckPassDone(bool done) { m_editCheckPassDone = done; }
    // The records the first pass has checked, by identity: a selection pass may move a
    // record from behind the cursor in front of it, and the pass still checks it once.
    std::vector<char> &EditCheckedMarks() { return m_editChecked; }
    bool IndexRebuildNeeded() const { return m_indexRebuildNeeded; }
    void SetIndexRebuildNeeded(bool needed) { m_indexRebuildNeeded = needed; }
    bool DeletedRecordsExist() const { return m_deletedRecordsExist; }
    void SetDeletedRecordsExist(bool exist) { m_deletedRecordsExist = exist; }
    const std::string &NameIndex() const { return m_nameIndex; }
    std::string &MutableNameIndex() { return m_nameIndex; }

    // --- the database file ---------------------------------------------------------------
    // Saves through a temporary file that replaces path only once it is complete and on
    // disk, keeping the old file as the backup when "NumBackupLevels" is on. Refuses to
    // save over the file of a load that failed. False, with SaveError set, when not saved.
    bool SaveDatabase(const std::string &path);
    // Why the last SaveDatabase failed: the file and the system's reason.
    const std::string &SaveError() const { return m_saveError; }
    // Writes the file to out; a stream that can seek gets it in blocks as it is produced.
    bool WriteDatabase(std::ostream &out);
    void ReadDatabase(std::istream &in);
    bool ReadDatabaseFile(const std::string &path); // opens and reads; false when unopenable
    // Why the last load found no database or not all of it (the file cannot be read, is not
    // a database, is too large, or fewer bytes arrived than it holds); empty after a load
    // that read a whole database and after EmptyDocument.
    const std::string &LoadFailure() const { return m_loadFailure; }
    // Replaces the vocabularies the observation header's codes come from and recompiles it.
    void UseVocabularies(const SettingsVocabularies &vocabularies);
    void SplitRecordsSlice(uint32_t deadlineTicks);
    void ParseRecordsSlice(uint32_t deadlineTicks);
    void ParseRecordText(ObjectRecord &record, const char *text);
    // Splits and parses everything at once, as the idle work would over many slices.
    void LoadCompletely();
    const LoadState &Load() const { return m_load; }
    uint32_t ObservationsWritten() const { return m_observationsWritten; }
    // Counts the observation headers of an obs text.
    int CountObservations(std::string_view obs);
    Pattern &ObservationHeader() { return m_obsHeader; }

    // --- computed fields -----------------------------------------------------------------
    // Lifetime of the views the getters return: a stored field, or a part of one (the IDs,
    // GetNewRefs), lives until that field is set again, the record is reverted or the
    // document emptied; the constellation names live as long as the program; a text that
    // is computed (GetText of a number, GetObsRefs) lives in one scratch text of the
    // document, valid only until the next getter call.
    std::string_view GetText(int fieldNo, int record); // stored or computed text
    int32_t GetInt(int fieldNo, int record);
    double GetReal(int fieldNo, int record);

    std::string_view GetCon(int r);
    std::string_view GetConstellation(int r);
    std::string_view GetObsRefs(int r);
    std::string_view GetNewRefs(int r);
    std::string_view GetPrimaryId(int r);
    std::string_view GetMessierId(int r);
    std::string_view GetNgcIcId(int r);
    int32_t GetSkyAtlas(int r);
    int32_t GetUranometria(int r);
    int32_t GetAstroAtlasB(int r);
    int32_t GetAstroAtlasC(int r);
    int32_t GetEdmundMag5(int r);
    int32_t GetEdmundMag6(int r);
    int32_t GetMsa(int r);
    int32_t GetMessierNo(int r);
    int32_t GetNgcNo(int r);
    int32_t GetIcNo(int r);
    int32_t GetUgcNo(int r);
    int32_t GetArpNo(int r);
    int32_t GetHickNo(int r);
    double GetRaHour(int r);
    double GetDeclDeg(int r);
    double GetMajorAxis(int r);
    double GetMinorAxis(int r);
    double GetArea(int r);
    double GetElong(int r);
    double GetMagnValue(int r);
    double GetSurfBT(int r);
    double GetRvValue(int r);
    double GetPcValue(int r);
    double GetZValue(int r);
    double GetTransitHrs(int r);
    double GetRiseHrs(int r);
    double GetSetHrs(int r);
    double GetAzimuth(int r);
    double GetAltitude(int r);
    double GetUranHrs(int r);
    double GetSkyAtlHrs(int r);
    double GetAstAtlBHrs(int r);
    double GetAstAtlCHrs(int r);
    double GetEdmMag5Hrs(int r);
    double GetEdmMag6Hrs(int r);
    double GetMsaHrs(int r);

    // Test hook: the largest file a load accepts, in bytes (0: the normal limit).
    static void SetReadLimitForTesting(size_t bytes);

private:
    bool EnsurePosition(int r);
    int CachedChart(int r, Atlas atlas);
    double ChartHours(int r, Atlas atlas);
    void RiseSetHours(int r, double &rise, double &set);
    void CompileObservationHeader(const SettingsVocabularies &vocabularies);
    void AppendIndexEntry(std::string_view id, int identity);
    std::string_view Scratch(std::string text);
    void ShowMessage(std::string_view text);
    // File reading steps.
    bool ReadHeader(size_t length);
    void PrepareBuffer();
    void FinishSplitting();
    void FinishParsing();
    bool WriteFile(DatabaseOutput &out);
    size_t ExpectedFileLength() const;
    void WriteRecord(std::string &out, ObjectRecord &record, int recordWidth);
    bool RecordIsSelected(const ObjectRecord &record) const;

    platform::Host &m_host;
    platform::IniProfile &m_profile;
    const PositionServices *m_astro;
    PositionServices m_noAstro;
    DocumentViews m_noViews;
    DocumentViews *m_views = &m_noViews;
    FieldTable m_fields;

    std::vector<std::unique_ptr<ObjectRecord>> m_records;
    std::vector<ObjectRecord *> m_changedRecords;
    std::string m_nameIndex;
    int m_nextIdentity = 1;
    ObjectRecord *m_current = nullptr;
    int m_currentIndex = -1;
    bool m_currentChanged = false;
    bool m_modified = false;
    bool m_indexRebuildNeeded = false;
    const RecordSequence *m_savingOnly = nullptr; // set while saving selected records only
    bool m_rereading = false;
    bool m_deletedRecordsExist = false;
    int m_editCheckCursor = 0;
    bool m_editCheckPassDone = false;
    std::vector<char> m_editChecked;

    LoadState m_load;
    std::string m_loadFailure;
    std::string m_loadedPath; // the file the last load read
    std::string m_saveError;
    uint32_t m_observationsWritten = 0;
    Pattern m_obsHeader;
    std::string m_scratch;      // the computed text the last getter returned
    std::string m_writeScratch; // a field's text with its Greek characters as words
    int m_writeGreekSet = 1;    // GreekSet() while a file is written
};

} // namespace vespario
