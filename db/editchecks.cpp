#include "db/editchecks.h"

#include "astro/radectext.h"
#include "db/cvespariodoc.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace vespario {
namespace {

constexpr const char *kTitle = "Vespario";
// The status bar's pane of the number of records in the database.
constexpr int kRecordCountPane = 4;
// Records checked between looks at the clock.
constexpr int kChecksPerClockCheck = 16;

constexpr std::array<std::string_view, kEditCheckCount> kDefaultDescriptions = {
    "ID must begin and end with =",
    "REFS must hold exactly two ^",
    "Try code is not defined",
    "Type code is not defined",
    "Src code is not defined",
    "Checkbox code is not defined",
    "Source z needs an uncommon-source text",
    "Ease must be one digit 1 to 9",
    "Rate must be one digit 1 to 9",
    "SawOn is not a date with a place and equipment",
    "Messier number out of range",
    "Arp number out of range",
    "Posn text does not fit the source code",
    "Uncommon-source text only with source z",
    "Src must be one character",
    "Posn lies more than 1 arcminute from RaDec",
    "SawOn and obs must both be filled or both empty",
    "Checkbox 2 set without checkbox 3",
    "Checkboxes 3, 2 or N on an object that is not a galaxy",
    "Checkboxes hold a quote",
    "Prohibited text (",
    "Class does not follow the notation of its type",
    "Checkbox i set while Try is not 1",
};

bool Contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

// A single digit 1 to 9, or nothing.
bool IsRatingOrEmpty(std::string_view text) {
    return text.empty() || (text.size() == 1 && text[0] >= '1' && text[0] <= '9');
}

// The catalogue number after prefix at offset at of the ID, when digits follow it; else -1.
int NumberAfter(std::string_view id, size_t at, size_t prefixSize) {
    const size_t digits = at + prefixSize;
    if (digits >= id.size() || !IsDigit(id[digits]))
        return -1;
    int value = 0;
    for (size_t i = digits; i < id.size() && IsDigit(id[i]) && value <= 100000; ++i)
        value = value * 10 + (id[i] - '0');
    return value;
}

// The position a posn text gives: an epoch year and a RaDec of that equinox (or galactic
// coordinates), precessed to J2000, or a RaDec already of J2000.
bool PosnPosition(std::string_view posn, double &ra, double &dec) {
    std::string j2000;
    if (NormaliseRaDecEntry(posn, j2000))
        return ParseRaDec(j2000, ra, dec);
    return ParseRaDec(TrimBlanks(posn), ra, dec);
}

} // namespace

std::string_view DefaultEditCheckDescription(int check) {
    if (check < 0 || check >= kEditCheckCount)
        return {};
    return kDefaultDescriptions[static_cast<size_t>(check)];
}

// --- the prohibited patterns -------------------------------------------------------------

void ProhibitedPatterns::Load(const platform::IniProfile &profile, platform::Host &host,
                              bool lowMemory) {
    m_patterns.clear();
    if (lowMemory)
        return;
    int count = profile.GetInt("Prohib", "NumberOf", 0);
    if (count >= kMaxProhibs) {
        host.MessageBox("Need to bump MAX_PROHIBS within the code.", kTitle, platform::Buttons::Ok);
        count = kMaxProhibs - 1;
    }
    for (int i = 0; i < count; ++i) {
        const std::string key = "Prohib" + std::to_string(i);
        if (!profile.HasKey("Prohib", key)) {
            // The missing pattern stays empty (it never reports); Cancel reads no more.
            const platform::Answer answer =
                host.MessageBox("Warning: " + key + " was not found in Vespario.ini", kTitle,
                                platform::Buttons::OkCancel);
            m_patterns.emplace_back();
            if (answer == platform::Answer::Cancel)
                return;
            continue;
        }
        m_patterns.emplace_back(profile.GetString("Prohib", key, ""), &host);
    }
}

// --- the checks ----------------------------------------------------------------------------

EditChecks::EditChecks(CVesparioDoc &doc, const SettingsVocabularies &vocabularies)
    : m_doc(doc), m_vocabularies(vocabularies) {
    const platform::IniProfile &profile = doc.Profile();
    m_posnSrc = profile.GetString("Settings", "PosnSrc", "");
    m_prohibited.Load(profile, doc.Host(), profile.GetInt("Settings", "LowMemory", 0) != 0);
}

bool EditChecks::IsOn(int check) const {
    return check >= 0 && m_vocabularies.IsEditCheckOn(static_cast<size_t>(check));
}

std::string EditChecks::Description(int check) const {
    const std::string &entry = m_vocabularies.EditChecks().Entry(check);
    if (entry.size() > 1)
        return entry.substr(1);
    return std::string(DefaultEditCheckDescription(check));
}

void EditChecks::ReportFailure(int index, int check, std::string_view suffix) {
    EditFailure failure;
    failure.check = check;
    failure.line = Description(check);
    failure.line += suffix;
    AddFailure(index, std::move(failure));
}

void EditChecks::AddFailure(int index, EditFailure failure) {
    failure.identity = m_doc.Record(index).m_identity;
    m_failures.push_back(std::move(failure));
    ++m_added;
    if (m_sink)
        m_sink->FailureAdded(m_failures.back(), index);
}

void EditChecks::Repair(int index, int field, std::string_view text) {
    ObjectRecord &record = m_doc.Record(index);
    record.SetField(field, std::string(text));
    if (field == field::Id && m_doc.Profile().GetInt("Settings", "AutoBuild", 1))
        m_doc.SetIndexRebuildNeeded(true);
}

int EditChecks::CheckRecord(int index) {
    if (index < 0 || index >= m_doc.GetRecordCount())
        return 0;
    m_doc.EnsureParsed(index);
    m_added = 0;
    CheckId(index);         // 0
    CheckRefs(index);       // 1
    CheckCodes(index);      // 2 to 8
    CheckSawOn(index);      // 9
    CheckNumbers(index);    // 10, 11
    CheckSource(index);     // 12 to 14
    CheckPosition(index);   // 15, 16
    CheckCheckBoxes(index); // 17 to 19
    CheckProhibited(index); // 20
    const ObjectRecord &record = m_doc.Record(index);
    if (IsOn(21) && !ClassFollowsNotation(record.Field(field::Type), record.Field(field::Class)))
        ReportFailure(index, 21);
    if (IsOn(22) && Contains(record.Field(field::CheckBoxes), 'i') &&
        record.Field(field::Try) != "1")
        ReportFailure(index, 22);
    return m_added;
}

void EditChecks::CheckId(int index) {
    if (!IsOn(0))
        return;
    const std::string_view id = m_doc.Record(index).Field(field::Id);
    if (id.size() < 2) {
        ReportFailure(index, 0);
        return;
    }
    if (id.front() == '=' && id.back() == '=')
        return;
    std::string repaired(TrimBlanks(id));
    if (repaired.empty() || repaired.front() != '=')
        repaired.insert(repaired.begin(), '=');
    if (repaired.size() < 2 || repaired.back() != '=')
        repaired += '=';
    Repair(index, field::Id, repaired);
}

void EditChecks::CheckRefs(int index) {
    if (!IsOn(1))
        return;
    const std::string_view refs = m_doc.Record(index).Field(field::Refs);
    const auto carets = std::count(refs.begin(), refs.end(), '^');
    if (!refs.empty() && carets == 0) {
        Repair(index, field::Refs, " ^ ^ " + std::string(refs));
        return;
    }
    if (carets != 0 && carets != 2)
        ReportFailure(index, 1);
}

void EditChecks::CheckCodes(int index) {
    const ObjectRecord &record = m_doc.Record(index);
    const std::string_view tryText = record.Field(field::Try);
    if (IsOn(2) &&
        (tryText.empty() || !Contains(m_vocabularies.TryValues().CodeIndex(), tryText[0])))
        ReportFailure(index, 2);
    const std::string_view type = record.Field(field::Type);
    if (IsOn(3)) {
        const std::string key = "=" + std::string(type.substr(0, 2)) + "=";
        if (type.empty() || m_vocabularies.Types().CodeIndex().find(key) == std::string::npos)
            ReportFailure(index, 3);
    }
    const std::string_view src = record.Field(field::Src);
    if (IsOn(4) && (src.empty() || !Contains(m_vocabularies.Sources().CodeIndex(), src[0])))
        ReportFailure(index, 4);
    if (IsOn(5)) {
        const std::string &codes = m_vocabularies.Checkboxes().CodeIndex();
        for (const char c : record.Field(field::CheckBoxes))
            if (!Contains(codes, c))
                ReportFailure(index, 5);
    }
    if (IsOn(6) && src == "z" && record.Field(field::UncSrc).empty())
        ReportFailure(index, 6);
    if (IsOn(7) && !IsRatingOrEmpty(record.Field(field::Ease)))
        ReportFailure(index, 7);
    if (IsOn(8) && !IsRatingOrEmpty(record.Field(field::Rate)))
        ReportFailure(index, 8);
}

void EditChecks::CheckSawOn(int index) {
    if (!IsOn(9))
        return;
    const std::string_view sawOn = m_doc.Record(index).Field(field::SawOn);
    if (sawOn.empty())
        return;
    if (sawOn[0] == '-') {
        if (sawOn.size() < 2 || !Contains(m_vocabularies.Places().CodeIndex(), sawOn[1]))
            ReportFailure(index, 9);
        return;
    }
    // A date as an observation header opens it, with the first place and equipment codes
    // standing in for the ones SawOn does not carry.
    std::string header(sawOn.substr(0, 17));
    if (header[0] == '?')
        header[0] = '1';
    header += m_vocabularies.Places().CodeOf(0);
    header += m_vocabularies.Equipment().CodeOf(0);
    header += '0';
    const int length = static_cast<int>(header.size());
    if (m_doc.ObservationHeader().MatchAt(header.c_str(), length, 0, length) < 0)
        ReportFailure(index, 9);
}

void EditChecks::CheckNumbers(int index) {
    if (IsOn(10)) {
        const int32_t messier = m_doc.GetMessierNo(index);
        if (messier < 0 || messier > 110)
            ReportFailure(index, 10);
    }
    if (!IsOn(11))
        return;
    const int32_t arp = m_doc.GetArpNo(index);
    if (arp < 0 || arp > 338) {
        ReportFailure(index, 11);
        return;
    }
    if (arp <= 0)
        return;
    // A second Arp designation (an interacting pair listed twice) is held to the same range.
    const std::string_view id = m_doc.Record(index).Field(field::Id);
    const size_t first = id.find("=apg");
    size_t second = id.find("=apg", first + 4);
    const size_t upper = id.find("=APG", first + 4);
    second = std::min(second, upper);
    if (second == std::string_view::npos)
        return;
    const int number = NumberAfter(id, second, 4);
    if (number > 338)
        ReportFailure(index, 11);
}

void EditChecks::CheckSource(int index) {
    const ObjectRecord &record = m_doc.Record(index);
    const std::string_view src = record.Field(field::Src);
    if (IsOn(12)) {
        const bool hasPosn = !record.Field(field::Posn).empty();
        const bool needsPosn = !src.empty() && Contains(m_posnSrc, src[0]);
        if (hasPosn != needsPosn && !(src == "z" && hasPosn))
            ReportFailure(index, 12);
    }
    // Only a source code other than z clears the text: an empty Src (reported by check 4)
    // leaves it, since the text may be all that tells where the object came from.
    if (IsOn(13) && !src.empty() && src[0] != 'z' && !record.Field(field::UncSrc).empty())
        Repair(index, field::UncSrc, "");
    if (IsOn(14) && src.size() != 1)
        ReportFailure(index, 14);
}

void EditChecks::CheckPosition(int index) {
    const ObjectRecord &record = m_doc.Record(index);
    if (IsOn(15) && !record.Field(field::Posn).empty()) {
        double ra = 0.0, dec = 0.0, ra2 = 0.0, dec2 = 0.0;
        // A posn or RaDec that is no position cannot agree with the other.
        if (!PosnPosition(record.Field(field::Posn), ra, dec) ||
            !ParseRaDec(record.Field(field::RaDec), ra2, dec2) ||
            SeparationArcmin(ra, dec, ra2, dec2) > 1)
            ReportFailure(index, 15);
    }
    if (IsOn(16) && record.Field(field::SawOn).empty() != record.Field(field::Obs).empty())
        ReportFailure(index, 16);
}

void EditChecks::CheckCheckBoxes(int index) {
    const ObjectRecord &record = m_doc.Record(index);
    const std::string_view boxes = record.Field(field::CheckBoxes);
    if (IsOn(17) && Contains(boxes, '2') && !Contains(boxes, '3'))
        ReportFailure(index, 17);
    if (IsOn(18) && record.Field(field::Type) != "eg" &&
        (Contains(boxes, '3') || Contains(boxes, '2') || Contains(boxes, 'N')))
        ReportFailure(index, 18);
    if (IsOn(19) && Contains(boxes, '\''))
        ReportFailure(index, 19);
}

void EditChecks::CheckProhibited(int index) {
    if (!IsOn(kProhibitedTextCheck))
        return;
    for (Pattern &pattern : m_prohibited.Patterns()) {
        // An empty pattern would match everywhere: a missing key reports nothing.
        if (pattern.Text().empty() || !pattern.IsValid())
            continue;
        for (int f = 0; f < kStoredFieldCount; ++f) {
            if (f == field::Url)
                continue;
            const std::string_view text = m_doc.Record(index).Field(f);
            if (pattern.Search(text, 0) < 0)
                continue;
            EditFailure failure;
            failure.check = kProhibitedTextCheck;
            failure.field = f;
            failure.start = pattern.MatchStart[0];
            failure.end = pattern.MatchEnd[0];
            char at[64];
            std::snprintf(at, sizeof at, ") [at %i,%i,%i]", f, failure.start, failure.end);
            failure.line = Description(kProhibitedTextCheck) + pattern.Text() + at;
            AddFailure(index, std::move(failure));
        }
    }
}

// --- the passes ----------------------------------------------------------------------------

bool EditChecks::Done() const {
    return m_doc.EditCheckPassDone() && m_doc.ChangedRecords().empty();
}

// Checks the record once in the first pass; false when it was checked already.
bool EditChecks::FirstPassCheck(int index) {
    ObjectRecord &record = m_doc.Record(index);
    std::vector<char> &marks = m_doc.EditCheckedMarks();
    const size_t identity = static_cast<size_t>(record.m_identity);
    if (identity >= marks.size())
        marks.resize(identity + 1 + identity / 8, 0);
    if (marks[identity])
        return false;
    marks[identity] = 1;
    if (!record.m_deleted)
        CheckRecord(index);
    return true;
}

void EditChecks::EditCheckSlice(uint32_t deadline) {
    if (!m_doc.EditCheckPassDone()) {
        int cursor = m_doc.EditCheckCursor();
        const int splitSoFar = m_doc.GetRecordCount();
        for (int n = 0; cursor < splitSoFar; ++n) {
            if (n % kChecksPerClockCheck == 1 &&
                platform::TickReached(platform::TickCount(), deadline))
                break;
            FirstPassCheck(cursor);
            ++cursor;
        }
        m_doc.SetEditCheckCursor(cursor);
        if (cursor < splitSoFar)
            return;
        // The records a selection pass moved in front of the cursor meanwhile.
        for (int i = 0; i < splitSoFar; ++i)
            FirstPassCheck(i);
        m_doc.SetEditCheckPassDone(true);
        m_doc.Host().SetStatusText(kRecordCountPane, std::to_string(splitSoFar));
        return;
    }
    if (m_doc.ChangedRecords().empty())
        return;
    const ObjectRecord *changed = m_doc.ChangedRecords().front();
    for (int i = 0; i < m_doc.GetRecordCount(); ++i) {
        if (&m_doc.Record(i) == changed) {
            CheckRecord(i);
            break;
        }
    }
    m_doc.DropFirstChangedRecord();
}

} // namespace vespario
