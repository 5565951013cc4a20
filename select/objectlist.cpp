#include "select/objectlist.h"

#include "astro/numbertext.h"
#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "platform/iniprofile.h"

#include <algorithm>
#include <string>

namespace vespario {

namespace {

constexpr uint32_t kFarTicks = 0x3fffffff; // a deadline that no complete run meets

uint32_t SliceSetting(const platform::IniProfile &profile, const char *key, uint32_t fallback) {
    const int value = profile.GetInt("Timing", key, static_cast<int>(fallback));
    return static_cast<uint32_t>(
        std::max<int>(value, static_cast<int>(ObjectList::kShortestSlice)));
}

} // namespace

ObjectList::ObjectList(CVesparioDoc &doc)
    : m_doc(doc), m_typing(doc, [this](int record) { GoToRecord(record); }) {
    const platform::IniProfile &profile = doc.Profile();
    m_firstSlice = SliceSetting(profile, "First", kDefaultFirstSlice);
    m_secondSlice = SliceSetting(profile, "Second", kDefaultSecondSlice);
    m_defaultNear = DefaultNearRadius(profile);
    m_criteria.push_back(std::make_unique<SelectionCriteria>(doc));
    m_sort.push_back(std::make_unique<SortOrder>(doc));
    RestartSelection();
}

ObjectList::~ObjectList() = default;

void ObjectList::SetObserver(ObjectListObserver *observer) {
    m_observer = observer ? observer : &m_noObserver;
}

// --- idle-time work ---------------------------------------------------------------------

bool ObjectList::IdleWork(uint32_t now) {
    m_typing.Poll(now);
    const LoadState &load = m_doc.Load();
    // The first slice of a pass is the long one, so the first screenful shows at once. It
    // is taken only while the pass runs: with an empty database nothing is ever examined,
    // and the idle work would otherwise never end.
    if (m_examined == 0 && m_running && !m_paused) {
        const uint32_t deadline = now + m_firstSlice;
        if (m_doc.GetRecordCount() == 0 && !load.allSplit)
            m_doc.SplitRecordsSlice(deadline);
        else
            SelectionSlice(deadline);
        return true;
    }
    const uint32_t deadline = now + m_secondSlice;
    if (!load.allSplit) {
        m_doc.SplitRecordsSlice(deadline);
        return true;
    }
    if (m_doc.IndexRebuildNeeded()) {
        RebuildNameIndex(m_doc);
        return true;
    }
    if (m_running && !m_paused) {
        SelectionSlice(deadline);
        return true;
    }
    if (!load.allParsed) {
        m_doc.ParseRecordsSlice(deadline);
        return true;
    }
    if (!m_editChecks || m_editChecks->Done())
        return m_typing.Pending();
    m_editChecks->Slice(deadline);
    return true;
}

void ObjectList::RunToCompletion() {
    while (IdleWork(platform::TickCount())) {
        if (m_paused && m_doc.Load().allSplit && m_doc.Load().allParsed)
            break;
        if (m_typing.Pending() && !m_running && m_doc.Load().allParsed)
            m_typing.LookUpNow();
    }
}

// --- selection passes ---------------------------------------------------------------------

void ObjectList::RestartSelection() {
    m_examined = 0;
    m_gathered = 0;
    m_selectedFlags.clear();
    m_renumberFrom = 0;
    m_list.clear();
    m_running = true;
    m_showFirstMatch = true;
    m_currentPos = -1;
    Criteria().StartPass();
    // The current object is examined first, so that it stays current when still selected.
    const int current = m_doc.CurrentIndex();
    if (current > 0)
        MoveRecord(current, 0);
    Sort().StartPass();
    m_observer->RowsChanged();
}

// Moves a record within the document and keeps the edit checks' position on its record.
void ObjectList::MoveRecord(int from, int to) {
    const int checkPosition = m_editChecks ? m_editChecks->FirstPassPosition() : -1;
    const int moved = m_doc.MoveRecord(from, to, checkPosition);
    if (checkPosition >= 0)
        m_editChecks->SetFirstPassPosition(moved);
}

void ObjectList::SelectionSlice(uint32_t deadline) {
    const bool filtered = Criteria().LineCount() > 0;
    const bool sorted = Sort().KeyCount() > 0;
    // Records from m_gathered on are not yet in their place at the front of the record
    // array: the selected ones are moved there together when the slice ends.
    bool added = false;
    while (m_examined < m_doc.GetRecordCount()) {
        const int record = m_examined;
        const bool selected = !filtered || Criteria().Evaluate(record);
        if (filtered)
            m_selectedFlags.push_back(selected ? 1 : 0);
        if (selected) {
            const int length = static_cast<int>(m_list.size());
            int at = sorted ? Sort().InsertPosition(m_list, record) : -1;
            if (at < 0 || at >= length) {
                at = length;
                m_list.push_back(record);
            } else {
                m_list.insert(static_cast<size_t>(at), record);
                if (m_currentPos >= at)
                    ++m_currentPos;
            }
            // The records behind it are renumbered once, at the end of the slice.
            m_renumberFrom = std::min(m_renumberFrom, at);
            added = true;
        }
        ++m_examined;
        if (selected && m_showFirstMatch) {
            m_showFirstMatch = false;
            RenumberListPositions();
            GoTo(0, -1);
            EnterCurrentIntoHistory();
        }
        if (platform::TickReached(platform::TickCount(), deadline))
            break;
    }
    GatherSelected();
    // The stored list positions are written when the pass ends or a position is asked for:
    // renumbering after every slice would cost the list's length each time. Until then a
    // stale position fails the list's own check and the record counts as not listed.
    if (m_doc.Load().allSplit && m_examined >= m_doc.GetRecordCount())
        RenumberListPositions();
    if (added)
        m_observer->RowsChanged();
    if (m_doc.Load().allSplit && m_examined >= m_doc.GetRecordCount()) {
        m_running = false;
        Sort().EndPass();
    }
    ShowCounts();
}

// Moves the records selected since the last gathering to the front of the record array, in
// the order found, behind those gathered before; the list, the current record, the parse
// position and the edit checks' position follow them.
void ObjectList::GatherSelected() {
    if (m_selectedFlags.empty())
        return;
    const int from = m_examined - static_cast<int>(m_selectedFlags.size());
    // The unselected records between the front and the new ones take part in the move.
    std::vector<char> flags(static_cast<size_t>(from - m_gathered), 0);
    flags.insert(flags.end(), m_selectedFlags.begin(), m_selectedFlags.end());
    m_selectedFlags.clear();
    std::vector<int> newIndex;
    m_doc.GatherFront(m_gathered, flags, newIndex);
    Sort().FollowMoves(m_gathered, newIndex);
    const auto follow = [&](int index) {
        const int offset = index - m_gathered;
        return offset >= 0 && offset < static_cast<int>(newIndex.size())
                   ? newIndex[static_cast<size_t>(offset)]
                   : index;
    };
    for (size_t k = 0; k < m_list.size(); ++k)
        m_list[k] = follow(m_list[k]);
    if (m_editChecks && m_editChecks->FirstPassPosition() >= 0)
        m_editChecks->SetFirstPassPosition(follow(m_editChecks->FirstPassPosition()));
    m_gathered = static_cast<int>(m_list.size());
}

void ObjectList::RenumberListPositions() {
    for (size_t k = static_cast<size_t>(std::max(0, m_renumberFrom)); k < m_list.size(); ++k)
        m_doc.Record(m_list[k]).m_listPosition = static_cast<int32_t>(k);
    m_renumberFrom = static_cast<int>(m_list.size());
}

void ObjectList::ShowCounts() {
    platform::Host &host = m_doc.Host();
    host.SetStatusText(kSelectedPane, std::to_string(m_list.size()));
    host.SetStatusText(kExaminedPane, std::to_string(m_examined));
    host.SetStatusText(kDatabasePane, std::to_string(m_doc.GetRecordCount()));
    host.SetStatusRaised(kSelectedPane, m_running);
    host.SetStatusRaised(kExaminedPane, m_running);
}

int ObjectList::ListPositionOf(int record) {
    if (m_renumberFrom < static_cast<int>(m_list.size()))
        RenumberListPositions();
    if (record < 0 || record >= m_doc.GetRecordCount())
        return -1;
    const int position = m_doc.Record(record).m_listPosition;
    if (position < 0 || position >= static_cast<int>(m_list.size()) || m_list[position] != record)
        return -1;
    return position;
}

void ObjectList::CheckForChanges() {
    m_doc.SetCurrentRecord(-1, false, false);
    if (Criteria().DependsOnTimeOrPlace() || Sort().DependsOnTimeOrPlace())
        RestartSelection();
}

// --- the current object -----------------------------------------------------------------------

bool ObjectList::GoTo(int listPos, int record) {
    if (listPos >= 0) {
        if (listPos >= static_cast<int>(m_list.size()))
            return false;
        record = m_list[static_cast<size_t>(listPos)];
    } else {
        if (record < 0 || record >= m_doc.GetRecordCount())
            return false;
        listPos = ListPositionOf(record);
    }
    m_doc.SetCurrentRecord(record, false, true);
    m_currentPos = listPos;
    ShowCurrentPosition();
    m_observer->CurrentObjectChanged(record);
    return true;
}

void ObjectList::ShowCurrentPosition() {
    m_doc.Host().SetStatusText(kCurrentObjectPane,
                               m_currentPos < 0 ? std::string() : std::to_string(m_currentPos + 1));
}

void ObjectList::GoToRecord(int record) {
    if (GoTo(-1, record))
        EnterCurrentIntoHistory();
}

void ObjectList::EnterCurrentIntoHistory() {
    if (const ObjectRecord *current = m_doc.CurrentRecord())
        m_history.Enter(current->Field(field::Id));
}

void ObjectList::First() {
    if (GoTo(0, -1))
        EnterCurrentIntoHistory();
}

void ObjectList::Last() {
    if (!m_list.empty() && GoTo(static_cast<int>(m_list.size()) - 1, -1))
        EnterCurrentIntoHistory();
}

void ObjectList::Next() {
    if (m_currentPos >= 0 && m_currentPos + 1 < static_cast<int>(m_list.size()) &&
        GoTo(m_currentPos + 1, -1))
        EnterCurrentIntoHistory();
}

void ObjectList::Prior() {
    if (m_currentPos > 0 && GoTo(m_currentPos - 1, -1))
        EnterCurrentIntoHistory();
}

bool ObjectList::PickHistoryEntry(std::string_view entry) {
    const int record = LookUpHistoryEntry(m_doc, entry);
    return record >= 0 && GoTo(-1, record);
}

void ObjectList::FindId(std::string_view text, uint32_t now) {
    if (m_doc.Load().allSplit) {
        m_typing.LookUpAfter(text, now, 0);
        m_typing.LookUpNow();
        return;
    }
    // Records are still arriving: select those whose ID holds the text meanwhile.
    Criteria().Clear();
    Criteria().AddLine(field::Id, op::Has, "=" + std::string(text) + "=");
    RestartSelection();
    m_typing.LookUpAfter(text, now, kFindIdDelay);
}

void ObjectList::PareNear(std::string_view text) {
    std::string position(text);
    double distance = m_defaultNear;
    if (const size_t comma = position.find(','); comma != std::string::npos) {
        distance = ReadDecimal(std::string_view(position).substr(comma + 1));
        position.resize(comma);
    }
    Criteria().Clear();
    Criteria().AddLine(field::RaDec, op::Near, position);
    CriteriaLine line = Criteria().Line(0);
    line.radius = distance;
    Criteria().ReplaceLine(0, std::move(line));
    RestartSelection();
}

void ObjectList::DeleteCurrent() {
    ObjectRecord *current = m_doc.CurrentRecord();
    if (!current)
        return;
    current->m_deleted = 1;
    m_doc.MarkCurrentChanged();
    m_doc.SetDeletedRecordsExist(true);
    m_doc.SetCurrentRecord(-1, false, true);
}

void ObjectList::DeleteAll() {
    platform::Host &host = m_doc.Host();
    const size_t count = m_list.size();
    for (size_t k = 0; k < count; ++k) {
        host.Progress("Deleting Records", static_cast<int>(k * 100 / count));
        m_doc.SetCurrentRecord(m_list[k], false, false);
        m_doc.CurrentRecord()->m_deleted = 1;
        m_doc.MarkCurrentChanged();
    }
    host.EndProgress();
    if (count > 0)
        m_doc.SetDeletedRecordsExist(true);
    m_doc.SetCurrentRecord(-1, false, true);
}

void ObjectList::SetAll(const SetAllChoice &choice) {
    if (choice.code == 0)
        return;
    platform::Host &host = m_doc.Host();
    const size_t count = m_list.size();
    for (size_t k = 0; k < count; ++k) {
        host.Progress("Setting All Records", static_cast<int>(k * 100 / count));
        m_doc.SetCurrentRecord(m_list[k], false, false);
        if (!choice.checkbox) {
            m_doc.SetFieldText(field::Try, std::string_view(&choice.code, 1));
            continue;
        }
        std::string boxes(m_doc.CurrentRecord()->Field(field::CheckBoxes));
        const size_t at = boxes.find(choice.code);
        if (choice.checked && at == std::string::npos)
            boxes.push_back(choice.code);
        else if (!choice.checked && at != std::string::npos)
            boxes.erase(at, 1);
        m_doc.SetFieldText(field::CheckBoxes, boxes);
    }
    host.EndProgress();
    if (m_currentPos >= 0 && m_currentPos < static_cast<int>(count))
        GoTo(m_currentPos, -1);
    else
        m_doc.SetCurrentRecord(-1, false, true);
}

void ObjectList::UndeleteAll() {
    // Once a file is parsed that is every record read from it; records added later stay.
    const int parsed = m_doc.Load().recordsParsed;
    for (int i = 0; i < parsed && i < m_doc.GetRecordCount(); ++i)
        m_doc.Record(i).m_deleted = 0;
    m_doc.SetDeletedRecordsExist(false);
}

// --- remembered criteria and sort orders ------------------------------------------------------

void ObjectList::AcceptCriteria(const SelectionCriteria &edited) {
    Criteria().CopyFrom(edited);
    RestartSelection();
}

void ObjectList::RevertCriteria() {
    if (m_criteria.size() > 1)
        m_criteria.pop_back();
    else
        Criteria().Clear();
    RestartSelection();
}

void ObjectList::RememberCriteriaAndDefineNew() {
    auto fresh = std::make_unique<SelectionCriteria>(m_doc);
    if (Criteria().LineCount() > 0 &&
        m_doc.Host().MessageBox(
            "Initialize new selection criteria with current selection criteria ?", "Vespario",
            platform::Buttons::YesNo) == platform::Answer::Yes)
        fresh->CopyFrom(Criteria());
    m_criteria.push_back(std::move(fresh));
}

SelectionCriteria &ObjectList::PushNewCriteria() {
    m_criteria.push_back(std::make_unique<SelectionCriteria>(m_doc));
    return Criteria();
}

SortOrder &ObjectList::PushNewSortOrder() {
    m_sort.push_back(std::make_unique<SortOrder>(m_doc));
    return Sort();
}

void ObjectList::AcceptSortOrder(const SortOrder &edited) {
    Sort().Clear();
    Sort().CopyFrom(edited);
    Sort().SetName(edited.Name());
    m_paused = false;
    RestartSelection();
}

void ObjectList::RevertSortOrder() {
    if (m_sort.size() > 1)
        m_sort.pop_back();
    else
        Sort().Clear();
    m_paused = false;
    RestartSelection();
}

void ObjectList::RememberSortOrderAndDefineNew() {
    auto fresh = std::make_unique<SortOrder>(m_doc);
    if (Sort().KeyCount() > 0 &&
        m_doc.Host().MessageBox("Initialize new sort order with current sort order ?", "Vespario",
                                platform::Buttons::YesNo) == platform::Answer::Yes)
        fresh->CopyFrom(Sort());
    m_sort.push_back(std::move(fresh));
}

} // namespace vespario
