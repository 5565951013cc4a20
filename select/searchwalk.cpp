#include "select/searchwalk.h"

#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "platform/clock.h"
#include "select/objectlist.h"

#include <algorithm>
#include <cstdio>

namespace vespario {

const std::array<LookInEntry, 19> kLookIn = {{
    {"any listed", -1},      {"Info", field::Info}, {"Obs", field::Obs},   {"Goal", field::Goal},
    {"Refs", field::Refs},   {"URL", field::Url},   {"ID", field::Id},     {"Class", field::Class},
    {"RaDec", field::RaDec}, {"Size", field::Size}, {"Magn", field::Magn}, {"SawOn", field::SawOn},
    {"Ease", field::Ease},   {"Rate", field::Rate}, {"In", field::In},     {"PC", field::Pc},
    {"RV", field::Rv},       {"Z", field::Z},       {"Posn", field::Posn},
}};

namespace {

std::string CountText(const char *format, int count) {
    char text[80];
    std::snprintf(text, sizeof text, format, count);
    return text;
}

} // namespace

void TextHistory::Enter(std::string_view text) {
    if (text.empty())
        return;
    const auto same = std::find(m_entries.begin(), m_entries.end(), text);
    if (same != m_entries.end())
        m_entries.erase(same);
    m_entries.insert(m_entries.begin(), std::string(text));
    if (m_entries.size() > kCapacity)
        m_entries.pop_back();
}

std::string ExpandReplacement(std::string_view replace, const Pattern &pattern,
                              std::string_view subject) {
    std::string out;
    out.reserve(replace.size());
    for (size_t i = 0; i < replace.size(); ++i) {
        const char c = replace[i];
        if (c != '\\' || i + 1 == replace.size()) {
            out.push_back(c);
            continue;
        }
        const char next = replace[++i];
        if (next < '0' || next > '9') {
            out.push_back(next);
            continue;
        }
        const int begin = pattern.MatchStart[next - '0'];
        const int end = pattern.MatchEnd[next - '0'];
        // A group that took no part leaves its digit. (An empty group at the very start of
        // the field ends at 0 and stands for nothing, like any other empty group.)
        if (begin < 0 || end < begin || end > static_cast<int>(subject.size())) {
            out.push_back(next);
            continue;
        }
        out.append(subject.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin)));
    }
    return out;
}

int ShownOffset(std::string_view text, int byteOffset) {
    const int length = static_cast<int>(text.size());
    byteOffset = std::clamp(byteOffset, 0, length);
    int shown = byteOffset;
    for (int i = 0; i + 1 < byteOffset; ++i)
        if (text[static_cast<size_t>(i)] == '\r' && text[static_cast<size_t>(i) + 1] == '\n')
            --shown;
    return shown;
}

int ByteOffset(std::string_view text, int shownOffset) {
    int shown = 0;
    for (size_t i = 0; i < text.size(); ++i, ++shown) {
        if (shown >= shownOffset)
            return static_cast<int>(i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return static_cast<int>(text.size());
}

SearchWalk::SearchWalk(CVesparioDoc &doc, ObjectList &list) : m_doc(doc), m_list(list) {}

void SearchWalk::SetLookIn(int choice) {
    m_lookIn = choice > 0 && choice < static_cast<int>(kLookIn.size()) ? choice : kLookInAnyListed;
}

// --- the walk ------------------------------------------------------------------------------

bool SearchWalk::Compile(std::string_view find) {
    if (find != m_compiled) {
        m_pattern.SetText(find, &m_doc.Host());
        m_compiled = std::string(find);
        m_canReplace = false;
    }
    return m_pattern.IsValid();
}

bool SearchWalk::BeginWalk(std::string_view find, std::string_view status) {
    if (m_running || find.empty() || !m_doc.CurrentRecord())
        return false;
    m_findHistory.Enter(find);
    m_fields.clear();
    if (m_lookIn == kLookInAnyListed) {
        for (size_t i = 1; i < kLookIn.size(); ++i)
            m_fields.push_back(kLookIn[i].fieldNo);
    } else {
        m_fields.push_back(kLookIn[static_cast<size_t>(m_lookIn)].fieldNo);
    }
    m_running = true;
    m_cancel = false;
    m_abandoned = false;
    m_lastPoll = platform::TickCount();
    SetStatus(std::string(status));
    return true;
}

void SearchWalk::EndWalk(Result result) {
    m_running = false;
    // A field given up at the backtrack limit counted as no match: say so when it mattered.
    if (m_abandoned && result != Result::Found)
        m_doc.Host().MessageBox(Pattern::kAbandonedMessage, "Vespario", platform::Buttons::Ok);
}

void SearchWalk::StartAtCurrent(const SearchCursor &cursor, Start &start) {
    start.record = m_doc.CurrentIndex();
    const SelectionList &listed = m_list.List();
    int pos = m_list.CurrentPosition();
    if (pos < 0 || pos >= static_cast<int>(listed.size()) ||
        listed[static_cast<size_t>(pos)] != start.record)
        pos = m_list.ListPositionOf(start.record);
    start.listPos = pos;
    start.field = 0;
    start.from = 0;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i] != cursor.fieldNo)
            continue;
        start.field = i;
        start.from = std::max(0, cursor.offset + 1);
    }
}

// The list position that follows pos in a walk from start, or kBackAtStart. wrapped is set
// when the walk passes the end of the list. (A list made again meanwhile, by a request from
// another program, ends the walk at its end instead of reading past it.)
int SearchWalk::NextPosition(const Start &start, int pos, bool &wrapped) const {
    const int listed = static_cast<int>(m_list.List().size());
    int next = pos + 1;
    if (next >= listed) {
        wrapped = true;
        if (start.listPos < 0 || start.listPos >= listed)
            return kBackAtStart; // an object that is not listed is where the walk ends
        next = 0;
    }
    return next == start.listPos ? kBackAtStart : next;
}

// Searches the fields [firstField, lastField) of record, the first from offset from; with
// before >= 0 a match in the last field counts only when it begins in front of before.
bool SearchWalk::FindIn(int record, size_t firstField, int from, size_t lastField, int before) {
    m_doc.SetCurrentRecord(record, false, false);
    const ObjectRecord &r = m_doc.Record(record);
    for (size_t i = firstField; i < lastField && i < m_fields.size(); ++i) {
        const std::string_view text = r.Field(m_fields[i]);
        const int at = i == firstField ? from : 0;
        if (at > static_cast<int>(text.size()))
            continue;
        const int found = m_pattern.Search(text, at);
        m_abandoned = m_abandoned || found == Pattern::kAbandoned;
        if (found < 0 || (before >= 0 && i + 1 == lastField && found >= before))
            continue;
        m_match = {record, m_fields[i], m_pattern.MatchStart[0], m_pattern.MatchEnd[0]};
        return true;
    }
    return false;
}

SearchWalk::Result SearchWalk::SearchFrom(const Start &start) {
    m_canReplace = false;
    bool found = FindIn(start.record, start.field, start.from, m_fields.size(), -1);
    int pos = start.listPos;
    if (!found && !m_currentOnly) {
        const int total = static_cast<int>(m_list.List().size());
        bool wrapped = false;
        for (int k = 0; !found; ++k) {
            pos = NextPosition(start, pos, wrapped);
            if (wrapped)
                SetStatus("Wrapping to beginning of file");
            if (pos == kBackAtStart)
                break;
            if (!Poll(k, total, false)) {
                m_doc.SetCurrentRecord(start.record, false, false);
                SetStatus("Cancelled");
                return Result::Cancelled;
            }
            found = FindIn(m_list.List()[static_cast<size_t>(pos)], 0, 0, m_fields.size(), -1);
        }
        // Back at the object it began with: what lies in front of the cursor there.
        if (!found) {
            pos = start.listPos;
            found = FindIn(start.record, 0, 0, start.field + 1, start.from);
        }
    }
    if (!found)
        return NotFound(start);
    m_list.GoTo(pos, m_match.record);
    m_canReplace = true;
    if (m_status != "Wrapping to beginning of file")
        SetStatus(std::string());
    return Result::Found;
}

SearchWalk::Result SearchWalk::NotFound(const Start &start) {
    m_canReplace = false;
    m_doc.SetCurrentRecord(start.record, false, false);
    SetStatus("Text was not found");
    m_doc.Host().Beep();
    return Result::NotFound;
}

SearchWalk::Result SearchWalk::Search(std::string_view find, const SearchCursor &cursor) {
    if (!BeginWalk(find, "Searching..."))
        return Result::Nothing;
    Start start;
    StartAtCurrent(cursor, start);
    const Result result = Compile(find) ? SearchFrom(start) : NotFound(start);
    EndWalk(result);
    return result;
}

// --- replacing ---------------------------------------------------------------------------

// The match last found is still in the current object, as it was found, in a searched field.
bool SearchWalk::StillThere() {
    if (!m_canReplace || m_doc.CurrentIndex() != m_match.record ||
        std::find(m_fields.begin(), m_fields.end(), m_match.fieldNo) == m_fields.end())
        return false;
    const std::string_view text = m_doc.CurrentRecord()->Field(m_match.fieldNo);
    return m_match.start <= static_cast<int>(text.size()) &&
           m_pattern.Search(text, m_match.start) == m_match.start &&
           m_pattern.MatchEnd[0] == m_match.end;
}

SearchWalk::Result SearchWalk::Replace(std::string_view find, std::string_view replace,
                                       const SearchCursor &cursor) {
    if (!BeginWalk(find, "Searching..."))
        return Result::Nothing;
    m_replaceHistory.Enter(replace);
    Start start;
    StartAtCurrent(cursor, start);
    if (!Compile(find)) {
        const Result result = NotFound(start);
        EndWalk(result);
        return result;
    }
    if (StillThere()) {
        const std::string_view text = m_doc.CurrentRecord()->Field(m_match.fieldNo);
        const std::string expanded = ExpandReplacement(replace, m_pattern, text);
        std::string changed(text.substr(0, static_cast<size_t>(m_match.start)));
        changed += expanded;
        changed += text.substr(static_cast<size_t>(m_match.end));
        m_doc.SetFieldText(m_match.fieldNo, changed);
        // Search on behind the replacement, in the field it was made in.
        for (size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i] == m_match.fieldNo)
                start.field = i;
        start.from = m_match.start + static_cast<int>(expanded.size());
        // An empty match replaced: the next match begins one character further at least.
        if (m_match.end == m_match.start)
            ++start.from;
    }
    const Result result = SearchFrom(start);
    EndWalk(result);
    return result;
}

// Replaces every match in the searched fields of the current record; returns how many. The
// matches are those of the field as it was, so that a replacement is never searched again.
int SearchWalk::ReplaceInCurrent(std::string_view replace) {
    int count = 0;
    for (const int fieldNo : m_fields) {
        const std::string_view text = m_doc.CurrentRecord()->Field(fieldNo);
        const int length = static_cast<int>(text.size());
        int at = m_pattern.Search(text, 0);
        m_abandoned = m_abandoned || at == Pattern::kAbandoned;
        if (at < 0)
            continue;
        std::string changed;
        int copied = 0;
        while (at >= 0) {
            const int end = m_pattern.MatchEnd[0];
            changed.append(
                text.substr(static_cast<size_t>(copied), static_cast<size_t>(at - copied)));
            changed += ExpandReplacement(replace, m_pattern, text);
            ++count;
            copied = end;
            int next = end;
            if (end == at) { // an empty match: the character behind it stays, the walk goes on
                if (at == length)
                    break;
                changed.push_back(text[static_cast<size_t>(at)]);
                copied = next = at + 1;
            }
            at = m_pattern.Search(text, next);
            m_abandoned = m_abandoned || at == Pattern::kAbandoned;
        }
        changed.append(text.substr(static_cast<size_t>(copied)));
        m_doc.SetFieldText(fieldNo, changed);
    }
    return count;
}

SearchWalk::Result SearchWalk::ReplaceAll(std::string_view find, std::string_view replace) {
    if (!BeginWalk(find, "Replacing All..."))
        return Result::Nothing;
    m_replaceHistory.Enter(replace);
    m_replaced = 0;
    Start start;
    StartAtCurrent({}, start);
    const bool valid = Compile(find);
    m_canReplace = false;
    platform::Host &host = m_doc.Host();
    const int listed = static_cast<int>(m_list.List().size());
    const int total = m_currentOnly ? 1 : listed + (start.listPos < 0 ? 1 : 0);
    host.Progress("Replacing", 0);
    // The current object whole, then every other listed object once, in list order from it.
    int record = valid ? start.record : -1;
    int pos = start.listPos;
    bool wrapped = false;
    for (int k = 0; record >= 0; ++k) {
        if (!Poll(k, total, true))
            break;
        m_doc.SetCurrentRecord(record, false, false);
        m_replaced += ReplaceInCurrent(replace);
        if (m_currentOnly)
            break;
        pos = NextPosition(start, pos, wrapped);
        record = pos == kBackAtStart ? -1 : m_list.List()[static_cast<size_t>(pos)];
    }
    host.EndProgress();
    // The object it began with, current again with its views showing the new texts.
    m_list.GoTo(start.listPos, start.record);
    if (m_cancel) {
        SetStatus(CountText("%i occurances replaced before cancel.", m_replaced));
    } else {
        SetStatus(CountText("%i occurances replaced.", m_replaced));
        host.Beep();
    }
    const Result result = m_cancel ? Result::Cancelled : Result::Replaced;
    EndWalk(result);
    return result;
}

// Now and then: the progress, a paint, and a look at the input. False once Cancel was asked.
bool SearchWalk::Poll(int done, int total, bool progress) {
    const uint32_t now = platform::TickCount();
    if (m_cancel || now - m_lastPoll < kPollIntervalMs)
        return !m_cancel;
    m_lastPoll = now;
    platform::Host &host = m_doc.Host();
    if (progress && total > 0)
        host.Progress("Replacing", static_cast<int>(int64_t{done} * 100 / total));
    host.PumpEvents();
    if (m_poll)
        m_poll();
    return !m_cancel;
}

} // namespace vespario
