#include "db/cvespariodoc.h"

#include "db/nameindex.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <cstdio>

namespace vespario {
namespace {

constexpr const char *kTitle = "Vespario";
constexpr const char *kSaveSelectedText =
    "This function saves the currently selected objects into a file.\r\n"
    "Objects not currently selected will NOT be saved.\r\n"
    "Be sure you understand the operation of this function before you replace a file with "
    "it.\r\n"
    "(You'll be prompted for a new filename if you answer 'Yes'.)\r\n\r\n"
    "Are you sure you'd like to continue with this function ?";

} // namespace

CVesparioDoc::CVesparioDoc(platform::Host &host, platform::IniProfile &profile,
                           const PositionServices *astro, const SettingsVocabularies *vocabularies)
    : m_host(host), m_profile(profile), m_astro(astro ? astro : &m_noAstro) {
    m_nameIndex.reserve(kNameIndexReserve);
    if (vocabularies) {
        CompileObservationHeader(*vocabularies);
        return;
    }
    SettingsVocabularies own;
    own.LoadVocabularies(profile);
    CompileObservationHeader(own);
}

CVesparioDoc::~CVesparioDoc() = default;

std::string CodeSet(std::string_view codes) {
    std::string set;
    for (const char c : codes) {
        if (c == ']' || c == '\\' || c == '-' || c == '%' || c == '~')
            set += '\\';
        set += c;
    }
    return set;
}

void CVesparioDoc::CompileObservationHeader(const SettingsVocabularies &vocabularies) {
    std::string text = "_{{19}|{20}}[0-9][0-9]{{0[1-9]}|{1[012]}}{{[012][0-9]}|{30}|{31}}[";
    // An empty code list gives "[]", which matches nothing: no observation is recognised
    // until places and equipment are defined.
    text += CodeSet(vocabularies.Places().CodeIndex());
    text += "][";
    text += CodeSet(vocabularies.Equipment().CodeIndex());
    text += "]";
    m_obsHeader.SetText(text, &m_host);
}

void CVesparioDoc::UseVocabularies(const SettingsVocabularies &vocabularies) {
    CompileObservationHeader(vocabularies);
}

void CVesparioDoc::ShowMessage(std::string_view text) {
    m_host.MessageBox(text, kTitle, platform::Buttons::Ok);
}

std::string_view CVesparioDoc::Scratch(std::string text) {
    m_scratch = std::move(text);
    return m_scratch;
}

void CVesparioDoc::AppendIndexEntry(std::string_view id, int identity) {
    AppendNameIndexEntry(m_nameIndex, id, identity);
}

namespace {

// Where the record at index i stands after the record at from moved to to.
int IndexAfterMove(int i, int from, int to) {
    if (i == from)
        return to;
    if (from > to && i >= to && i < from)
        return i + 1;
    if (from < to && i > from && i <= to)
        return i - 1;
    return i;
}

} // namespace

int CVesparioDoc::MoveRecord(int from, int to, int tracked) {
    const int count = GetRecordCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return tracked;
    const auto begin = m_records.begin();
    if (from > to)
        std::rotate(begin + to, begin + from, begin + from + 1);
    else
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    if (m_currentIndex >= 0)
        m_currentIndex = IndexAfterMove(m_currentIndex, from, to);
    // The parse position is the next record to parse; records before it are parsed. A
    // record moved in front of it is parsed on first use, as any record is.
    if (!m_load.allParsed && m_load.recordsParsed < count)
        m_load.recordsParsed = IndexAfterMove(m_load.recordsParsed, from, to);
    return tracked < 0 ? tracked : IndexAfterMove(tracked, from, to);
}

void CVesparioDoc::GatherFront(int from, const std::vector<char> &selected,
                               std::vector<int> &newIndex) {
    const int count = static_cast<int>(selected.size());
    newIndex.assign(selected.size(), 0);
    if (from < 0 || count == 0 || from + count > GetRecordCount())
        return;
    int next = from;
    for (int i = 0; i < count; ++i)
        if (selected[static_cast<size_t>(i)])
            newIndex[static_cast<size_t>(i)] = next++;
    for (int i = 0; i < count; ++i)
        if (!selected[static_cast<size_t>(i)])
            newIndex[static_cast<size_t>(i)] = next++;
    std::vector<std::unique_ptr<ObjectRecord>> moved(selected.size());
    for (int i = 0; i < count; ++i)
        moved[static_cast<size_t>(newIndex[static_cast<size_t>(i)] - from)] =
            std::move(m_records[static_cast<size_t>(from + i)]);
    std::move(moved.begin(), moved.end(), m_records.begin() + from);
    const auto follow = [&](int index) {
        return index >= from && index < from + count ? newIndex[static_cast<size_t>(index - from)]
                                                     : index;
    };
    if (m_currentIndex >= 0)
        m_currentIndex = follow(m_currentIndex);
    if (!m_load.allParsed && m_load.recordsParsed < GetRecordCount())
        m_load.recordsParsed = follow(m_load.recordsParsed);
}

int CVesparioDoc::RecordIndexOfIdentity(int identity) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i]->m_identity == identity)
            return static_cast<int>(i);
    }
    return -1;
}

void CVesparioDoc::EnsureParsed(int index) {
    ObjectRecord &record = Record(index);
    if (record.m_parsed)
        return;
    if (record.m_rawText)
        ParseRecordText(record, record.m_rawText);
    record.m_parsed = 1;
    record.ResetComputed();
}

void CVesparioDoc::SetCurrentRecord(int index, bool keepPending, bool show) {
    if (index < 0)
        index = m_currentIndex;
    if (m_current && m_currentChanged && !keepPending) {
        m_changedRecords.push_back(m_current);
        m_modified = true;
    }
    if (index >= 0 && index < GetRecordCount()) {
        m_currentIndex = index;
        m_current = &Record(index);
        EnsureParsed(index);
    } else {
        m_currentIndex = -1;
        m_current = nullptr;
    }
    if (show)
        m_views->ReloadViews();
    m_currentChanged = false;
}

void CVesparioDoc::SetFieldText(int n, std::string_view text) {
    if (!m_current || n < 0 || n >= kStoredFieldCount)
        return;
    if (m_current->Field(n) == text)
        return;
    m_modified = true;
    m_currentChanged = true;
    m_current->SetField(n, text);
    switch (n) {
    case field::RaDec:
        m_current->ResetComputed();
        m_views->ReloadViews();
        break;
    case field::Id:
        if (m_profile.GetInt("Settings", "AutoBuild", 1))
            m_indexRebuildNeeded = true;
        m_views->ReloadViews();
        break;
    case field::Magn:
    case field::Size:
        m_views->ReloadViews();
        break;
    default:
        break;
    }
}

void CVesparioDoc::NewObject() {
    auto record = std::make_unique<ObjectRecord>();
    std::array<std::string_view, kStoredFieldCount> fields{};
    fields[field::Try] = "n";
    fields[field::RaDec] = "0000+00.0";
    fields[field::Type] = "eg";
    fields[field::Id] = "=anon new object=";
    fields[field::Src] = "z";
    fields[field::UncSrc] = "not specified";
    record->SetAllFields(fields);
    record->m_parsed = 1;
    record->m_identity = m_nextIdentity++;
    AppendIndexEntry(record->Field(field::Id), record->m_identity);
    m_records.push_back(std::move(record));
    const int index = GetRecordCount() - 1;
    m_views->ShowRecordCount(GetRecordCount());
    if (!m_views->GoTo(index))
        SetCurrentRecord(index, false, true);
}

int CVesparioDoc::AppendRecord(const std::array<std::string_view, kStoredFieldCount> &fields) {
    auto record = std::make_unique<ObjectRecord>();
    record->SetAllFields(fields);
    record->m_parsed = 1;
    record->m_identity = m_nextIdentity++;
    if (!record->Field(field::Id).empty())
        AppendIndexEntry(record->Field(field::Id), record->m_identity);
    m_records.push_back(std::move(record));
    return GetRecordCount() - 1;
}

void CVesparioDoc::RevertRecord() {
    if (m_views->UndoFocusedEdit())
        return;
    if (!m_current)
        return;
    if (!m_current->m_rawText) {
        ShowMessage("The changes to this record cannot be undone.");
        return;
    }
    if (m_host.MessageBox("Restore this record to what was last loaded/saved", kTitle,
                          platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    m_current->m_parsed = 0;
    m_rereading = true;
    // The discarded change must not reach the changed-records array.
    m_currentChanged = false;
    SetCurrentRecord(-1, true, true);
    m_rereading = false;
    if (m_profile.GetInt("Settings", "AutoBuild", 1))
        m_indexRebuildNeeded = true;
}

void CVesparioDoc::EmptyDocument() {
    m_current = nullptr;
    m_currentIndex = -1;
    m_currentChanged = false;
    m_records.clear();
    m_records.shrink_to_fit();
    m_changedRecords.clear();
    m_nameIndex.clear();
    m_nameIndex.reserve(kNameIndexReserve);
    m_load = LoadState{};
    m_loadFailure.clear();
    m_loadedPath.clear();
    m_nextIdentity = 1;
    m_deletedRecordsExist = false;
    m_editCheckCursor = 0;
    m_editCheckPassDone = false;
    m_editChecked.clear();
}

bool CVesparioDoc::SaveSelectedRecords(const std::string &path, RecordSequence selected) {
    const char *key = "SaveSelRecs";
    if (!m_profile.GetInt("Settings", key, 0)) {
        bool dontAskAgain = false;
        if (m_host.Confirm(kSaveSelectedText, dontAskAgain) != platform::Answer::Yes)
            return false;
        if (dontAskAgain)
            m_profile.WriteInt("Settings", key, 1);
    }
    if (path.empty())
        return false;
    m_savingOnly = &selected;
    const bool saved = SaveDatabase(path);
    m_savingOnly = nullptr;
    if (!saved)
        ShowMessage(m_saveError);
    return saved;
}

bool CVesparioDoc::SaveCommand(const std::string &path) {
    if (m_deletedRecordsExist &&
        m_host.MessageBox("Are you sure you want to delete the marked records ?", kTitle,
                          platform::Buttons::YesNo) != platform::Answer::Yes)
        return false;
    const bool saved = SaveDatabase(path);
    if (saved)
        m_modified = false;
    else
        ShowMessage(m_saveError);
    return saved;
}

} // namespace vespario
