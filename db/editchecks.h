#pragma once
// The record edit checks: the errors that typing a database by hand over years makes likely
// (malformed IDs, undefined codes, dates that are not dates, positions that disagree,
// prohibited texts, classifications off their type's notation). A first pass checks every
// record once a file is read; after it, every record the user changed is checked again.
// Each failure becomes one line, tied to its record, for the Edit Failures list.
//
// The checks, by number (the "Edit" vocabulary's entry k switches check k on with "Y"):
//   0 ID form (repairs missing "=")   8 Rate one digit          16 SawOn and obs together
//   1 REFS "^" (repairs none)          9 SawOn a date           17 checkbox 2 needs 3
//   2 Try code defined                10 Messier# 0..110        18 checkboxes 3, 2, N: eg only
//   3 Type code defined               11 Arp# 0..338            19 no quote in checkboxes
//   4 Src code defined                12 posn where PosnSrc     20 prohibited patterns
//   5 checkbox codes defined          13 uncsrc only with z     21 Class notation of its Type
//   6 source z needs uncsrc              (repairs by clearing)  22 checkbox i needs Try 1
//   7 Ease one digit                  14 Src one character
//                                     15 posn within 1' of RaDec

#include "pattern/pattern.h"
#include "platform/host.h"
#include "platform/iniprofile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;
class SettingsVocabularies;

inline constexpr int kEditCheckCount = 23;
inline constexpr int kProhibitedTextCheck = 20;
// "Prohib"/"NumberOf" of this or more is refused with a message; fewer patterns are used.
inline constexpr int kMaxProhibs = 200;

// One line of the failure list.
struct EditFailure {
    int identity = 0; // the record's identity: records move in the array, identities stay
    int check = 0;
    std::string line;
    // Check 20: the field and the offsets of the prohibited text; field -1 otherwise.
    int field = -1;
    int start = 0;
    int end = 0;
};

// Where failures go as they are found: the window's Edit Failures list binds one, which it
// creates on the first failure. index is the record's index now, so that the sink need not
// look the identity up (a search of the record array per failure made the first pass
// quadratic in the window).
class EditFailureSink {
public:
    virtual ~EditFailureSink() = default;
    virtual void FailureAdded(const EditFailure &failure, int index) = 0;
};

// The prohibited patterns of the profile's "Prohib" section, compiled once.
class ProhibitedPatterns {
public:
    // Reads "NumberOf" and "Prohib0".. through host's messages; nothing with lowMemory on.
    void Load(const platform::IniProfile &profile, platform::Host &host, bool lowMemory);
    std::vector<Pattern> &Patterns() { return m_patterns; }

private:
    std::vector<Pattern> m_patterns;
};

// ClassFollowsNotation: whether a Class text follows the notation of the object's Type (its
// first two characters). An empty Class, and a Type without a notation, pass.
bool ClassFollowsNotation(std::string_view type, std::string_view classText);

// The description of check k that a profile without one shows.
std::string_view DefaultEditCheckDescription(int check);

class EditChecks {
public:
    // The switches, descriptions and code lists come from vocabularies (both must outlive
    // this); "Settings"/"PosnSrc", "Settings"/"LowMemory" and the prohibited patterns from
    // the document's profile, read now.
    EditChecks(CVesparioDoc &doc, const SettingsVocabularies &vocabularies);

    void SetSink(EditFailureSink *sink) { m_sink = sink; }

    // CheckRecord: runs every check switched on, in number order, on one record (parsed
    // first). Checks 0, 1 and 13 repair instead of failing where they can; a repair changes
    // the record in memory only, without marking it changed, and reaches the file at the
    // next save. Returns the number of failures added.
    int CheckRecord(int index);
    // ReportFailure: adds a line with check's description (and suffix) tied to the record.
    void ReportFailure(int index, int check, std::string_view suffix = {});

    // EditCheckSlice: the first pass over the records split so far, from its cursor on until
    // the deadline (ticks); once it has checked every record, the record count goes to the
    // status bar. After the first pass, one record of the document's changed-records array
    // per call (when it is still a record of the document), that entry then removed.
    void EditCheckSlice(uint32_t deadline);
    // The first pass is done and no changed record waits.
    bool Done() const;

    const std::vector<EditFailure> &Failures() const { return m_failures; }
    void ClearFailures() { m_failures.clear(); }
    std::string Description(int check) const;
    bool IsOn(int check) const;

private:
    void CheckId(int index);
    void CheckRefs(int index);
    void CheckCodes(int index);
    void CheckNumbers(int index);
    void CheckSawOn(int index);
    void CheckSource(int index);
    void CheckPosition(int index);
    void CheckCheckBoxes(int index);
    void CheckProhibited(int index);
    void Repair(int index, int field, std::string_view text);
    bool FirstPassCheck(int index);
    void AddFailure(int index, EditFailure failure);

    CVesparioDoc &m_doc;
    const SettingsVocabularies &m_vocabularies;
    std::string m_posnSrc;
    ProhibitedPatterns m_prohibited;
    EditFailureSink *m_sink = nullptr;
    std::vector<EditFailure> m_failures;
    int m_added = 0; // failures added by the record being checked
};

} // namespace vespario
