#include "db/maintenance.h"

#include "db/cvespariodoc.h"
#include "db/maintenancewalk.h"
#include "db/nameindex.h"
#include "pattern/pattern.h"
#include "platform/text.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace vespario {

// --- the walk over the records ------------------------------------------------------------

RecordWalk::RecordWalk(CVesparioDoc &doc, std::string_view progressText)
    : m_doc(doc), m_text(progressText) {
    m_doc.SetCurrentRecord(-1, false, false);
    m_current = m_doc.CurrentIndex();
}

RecordWalk::~RecordWalk() {
    // Back to the record that was current, its views reloaded; none stays none.
    m_doc.SetCurrentRecord(m_current >= 0 ? m_current : m_doc.GetRecordCount(), false, true);
    m_doc.Host().EndProgress();
}

void RecordWalk::Step(int index) {
    const int count = m_doc.GetRecordCount();
    if (index % kProgressEvery != 0 || count == 0)
        return;
    m_doc.Host().Progress(m_text, static_cast<int>(static_cast<long long>(index) * 100 / count));
    m_doc.Host().PumpEvents();
}

FileForm::FileForm(CVesparioDoc &doc) : m_scratch(m_quiet, doc.Profile()) {
    // The obs field's lines start at the document's own observation headers.
    m_scratch.ObservationHeader().SetText(doc.ObservationHeader().Text());
}

std::string FileForm::Of(int field, std::string_view text) {
    if (text.empty())
        return {};
    m_scratch.EmptyDocument();
    m_scratch.NewObject();
    m_scratch.SetFieldText(field, text);
    m_scratch.SetCurrentRecord(-1, false, false);
    std::stringstream file;
    if (!m_scratch.WriteDatabase(file))
        return std::string(text);
    m_scratch.ReadDatabase(file);
    m_scratch.LoadCompletely();
    if (m_scratch.GetRecordCount() != 1)
        return std::string(text);
    return std::string(m_scratch.Record(0).Field(field));
}

bool RecordWalk::SetField(int index, int field, std::string_view text) {
    std::string fileForm;
    if (field >= kFirstLongField) {
        if (!m_fileForm)
            m_fileForm = std::make_unique<FileForm>(m_doc);
        fileForm = m_fileForm->Of(field, text);
        text = fileForm;
    }
    if (m_doc.Record(index).Field(field) == text)
        return false;
    if (m_doc.CurrentIndex() != index)
        m_doc.SetCurrentRecord(index, false, false);
    m_doc.SetFieldText(field, text);
    if (index != m_lastChanged) {
        ++m_changed;
        m_lastChanged = index;
    }
    return true;
}

bool AskYesNo(CVesparioDoc &doc, std::string_view question) {
    return doc.Host().MessageBox(question, "Vespario", platform::Buttons::YesNo) ==
           platform::Answer::Yes;
}

// --- Rebuild Object IDs --------------------------------------------------------------------

MaintenanceResult RebuildObjectIds(CVesparioDoc &doc) {
    doc.SetCurrentRecord(-1, false, false);
    RebuildNameIndex(doc);
    doc.SetCurrentRecord(-1, false, true);
    return {true, 0, {}};
}

// --- Sort Refs Magazines -------------------------------------------------------------------

namespace {

// The items of one section: each runs up to and including ". ", leading blanks dropped; every
// item ends with ". " so that items can change places (a last item without the ". " gets it).
std::vector<std::string> SectionItems(std::string_view section) {
    std::vector<std::string> items;
    for (;;) {
        section = TrimStart(section, IsBlank);
        if (section.empty())
            break;
        const size_t end = section.find(". ");
        if (end == std::string_view::npos) {
            std::string last(TrimEnd(section, IsBlank));
            last += last.back() == '.' ? " " : ". ";
            items.push_back(std::move(last));
            break;
        }
        items.emplace_back(section.substr(0, end + 2));
        section.remove_prefix(end + 2);
    }
    return items;
}

std::string SortedSection(std::string_view section, Pattern &magazine) {
    std::vector<std::string> others;
    std::vector<std::pair<int, std::string>> magazines;
    for (std::string &item : SectionItems(section)) {
        const int length = static_cast<int>(item.size());
        int at = -1;
        for (int offset = 0; offset <= 1 && at < 0; ++offset)
            if (magazine.MatchAt(item.c_str(), length, offset, length) > 0)
                at = offset;
        if (at < 0) {
            others.push_back(std::move(item));
            continue;
        }
        // The year and month after the magazine code.
        int key = 0;
        for (int k = at + 1; k < at + 7; ++k)
            key = key * 10 + (item[static_cast<size_t>(k)] - '0');
        magazines.emplace_back(key, std::move(item));
    }
    std::stable_sort(magazines.begin(), magazines.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::string text;
    for (const std::string &item : others)
        text += item;
    for (const auto &item : magazines)
        text += item.second;
    return std::string(TrimEnd(text, IsBlank));
}

} // namespace

std::string SortedRefs(std::string_view refs, std::string_view magazineCodes) {
    std::string flat;
    for (const char c : refs)
        if (c != '\r' && c != '\n')
            flat += c;
    if (std::count(flat.begin(), flat.end(), '^') != 2)
        return std::string(refs); // edit check 1 reports it; the sections are unknown
    Pattern magazine("_[" + CodeSet(magazineCodes) +
                     "][1-2][0-9][0-9][0-9][01][0-9]{{[1-9]}|{cover}|{back}}");
    const size_t first = flat.find('^');
    const size_t second = flat.find('^', first + 1);
    const std::string_view text(flat);
    return SortedSection(text.substr(0, first), magazine) + "\r\n^ " +
           SortedSection(text.substr(first + 1, second - first - 1), magazine) + "\r\n^ " +
           SortedSection(text.substr(second + 1), magazine);
}

MaintenanceResult SortRefsMagazines(CVesparioDoc &doc, const SettingsVocabularies &vocabularies) {
    if (!AskYesNo(doc, "Are you sure you want to sort the magazines in REFS by date ?"))
        return {};
    RecordWalk walk(doc, "Sorting REFS");
    const std::string &codes = vocabularies.Magazines().CodeIndex();
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        walk.Step(i);
        doc.EnsureParsed(i);
        const std::string_view refs = doc.Record(i).Field(field::Refs);
        if (!refs.empty())
            walk.SetField(i, field::Refs, SortedRefs(refs, codes));
    }
    return {true, walk.Changed(), {}};
}

// --- Del author's data ---------------------------------------------------------------------

MaintenanceResult DeleteAuthorData(CVesparioDoc &doc, SettingsVocabularies &vocabularies,
                                   const AuthorDataOptions &options) {
    using Observations = AuthorDataOptions::Observations;
    RecordWalk walk(doc, "Deleting Author's Data");
    if (options.removePlaces)
        vocabularies.List(Vocabulary::Places).Clear();
    if (options.removeEquipment)
        vocabularies.List(Vocabulary::Equipment).Clear();
    if (options.removePlaces || options.removeEquipment) {
        vocabularies.SetDefaultPlaceCode('\0');
        doc.UseVocabularies(vocabularies);
    }
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        walk.Step(i);
        doc.EnsureParsed(i);
        if (options.clearSawOn)
            walk.SetField(i, field::SawOn, "");
        if (options.clearEase)
            walk.SetField(i, field::Ease, "");
        if (options.clearRate)
            walk.SetField(i, field::Rate, "");
        if (options.clearGoal)
            walk.SetField(i, field::Goal, "");
        const std::string obs(doc.Record(i).Field(field::Obs));
        if (options.observations == Observations::MoveToGoal && !obs.empty()) {
            std::string goal(doc.Record(i).Field(field::Goal));
            if (!goal.empty())
                goal += ' ';
            walk.SetField(i, field::Goal, goal + obs);
        }
        if (options.observations != Observations::Leave)
            walk.SetField(i, field::Obs, "");
    }
    if (options.removeMenuEntry)
        doc.Profile().WriteInt("FileRead", "DelAuthor", 1);
    return {true, walk.Changed(), {}};
}

// --- Prepare Public Database, List All Magazines -----------------------------------------

namespace {

// Personal references: magazine notes of the author's own ("S-199001"), references to the
// author's journal entries ("!J3 ...", "+J3 ..."), AAVSO notes and "lost" remarks, each up to
// the end of its sentence.
constexpr std::string_view kPersonalPatterns[] = {
    "_[ASKITWBRO]-[1-2][0-9][0-9][0-9][0-1][0-9]",
    "_[!\\+]@J[1-9][~.]+.",
    "_Aavso[~.]+.",
    "_ +lost.",
};

std::string WithoutMatches(std::string_view text, Pattern &pattern) {
    std::string kept;
    int from = 0;
    for (;;) {
        const int at = pattern.Search(text, from);
        if (at < 0 || pattern.MatchEnd[0] <= at)
            break;
        kept.append(text.substr(static_cast<size_t>(from), static_cast<size_t>(at - from)));
        from = pattern.MatchEnd[0];
    }
    kept.append(text.substr(static_cast<size_t>(from)));
    return kept;
}

} // namespace

MaintenanceResult PreparePublicDatabase(CVesparioDoc &doc) {
    if (!AskYesNo(doc, "Do you want to prepare the public database?"))
        return {};
    std::vector<Pattern> patterns;
    for (const std::string_view text : kPersonalPatterns)
        patterns.emplace_back(text, &doc.Host());
    RecordWalk walk(doc, "Preparing Public DB");
    // The texts a user writes references and remarks in.
    constexpr int kFields[] = {field::Info, field::Refs, field::Goal};
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        walk.Step(i);
        doc.EnsureParsed(i);
        for (const int f : kFields) {
            std::string text(doc.Record(i).Field(f));
            for (Pattern &pattern : patterns)
                text = WithoutMatches(text, pattern);
            walk.SetField(i, f, TrimBlanks(text));
        }
    }
    return {true, walk.Changed(), {}};
}

MaintenanceResult ListAllMagazines(CVesparioDoc &doc) {
    if (!AskYesNo(doc, "Do you want to find all magazines?"))
        return {};
    Pattern reference("_[ASKITWBRO][1-2][0-9][0-9][0-9][0-1][0-9]", &doc.Host());
    std::map<std::string, int> found; // reference, records citing it
    {
        RecordWalk walk(doc, "Finding Magazines");
        for (int i = 0; i < doc.GetRecordCount(); ++i) {
            walk.Step(i);
            doc.EnsureParsed(i);
            const std::string_view refs = doc.Record(i).Field(field::Refs);
            std::map<std::string, bool> inRecord;
            for (int from = 0; reference.Search(refs, from) >= 0; from = reference.MatchEnd[0]) {
                const int at = reference.MatchStart[0];
                inRecord[std::string(refs.substr(static_cast<size_t>(at),
                                                 static_cast<size_t>(reference.MatchEnd[0] - at)))];
            }
            for (const auto &entry : inRecord)
                ++found[entry.first];
        }
    }
    doc.Host().Progress("Sorting Magazines", 100);
    MaintenanceResult result{true, 0, {}};
    for (const auto &[text, records] : found)
        result.text += text + "\t" + std::to_string(records) + "\n";
    doc.Host().EndProgress();
    return result;
}

} // namespace vespario
