#include "select/idbox.h"

#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "platform/clock.h"

namespace vespario {

bool IdHistory::Enter(std::string_view id) {
    const std::string_view cut = id.substr(0, kIdLength);
    if (!m_entries.empty() && m_entries.front() == cut)
        return false;
    m_entries.insert(m_entries.begin(), std::string(cut));
    if (m_entries.size() > kCapacity)
        m_entries.resize(kCapacity);
    return true;
}

int LookUpHistoryEntry(CVesparioDoc &doc, std::string_view entry) {
    while (!entry.empty() && entry.back() != '=')
        entry.remove_suffix(1);
    const int found = FindPartialId(doc, entry, true);
    if (found < 0)
        return -1;
    return found >= kMoreMatches ? found - kMoreMatches : found;
}

std::string FurtherMatchesPattern(std::string_view typed) {
    std::string pattern;
    if (typed.empty() || typed.front() != '=')
        pattern = "=[~=]@";
    for (size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '*' && (i == 0 || typed[i - 1] != '\\'))
            pattern += "[~=]@";
        else
            pattern.push_back(typed[i]);
    }
    return pattern;
}

std::vector<int> FurtherMatches(CVesparioDoc &doc, std::string_view typed) {
    std::vector<int> records;
    Pattern pattern(FurtherMatchesPattern(typed));
    if (!pattern.IsValid())
        return records;
    // Each index entry is the ID's designations followed by "|NNNN|", the record's identity.
    const std::string_view index = doc.NameIndex();
    size_t begin = 0;
    while (begin < index.size()) {
        const size_t bar = index.find('|', begin);
        if (bar == std::string_view::npos)
            break;
        const size_t end = index.find('|', bar + 1);
        if (end == std::string_view::npos)
            break;
        const std::string_view key = index.substr(begin, bar - begin);
        if (pattern.Search(key, 0) >= 0) {
            int identity = 0;
            for (size_t i = bar + 1; i < end; ++i)
                identity = identity * 10 + (index[i] - '0');
            const int record = doc.RecordIndexOfIdentity(identity);
            if (record >= 0)
                records.push_back(record);
        }
        begin = end + 1;
    }
    return records;
}

IdTyping::IdTyping(CVesparioDoc &doc, std::function<void(int record)> goToRecord)
    : m_doc(doc), m_goToRecord(std::move(goToRecord)) {}

void IdTyping::TextChanged(std::string_view text, uint32_t now) {
    LookUpAfter(text, now, kDelayTicks);
}

void IdTyping::LookUpAfter(std::string_view text, uint32_t now, uint32_t delay) {
    m_text = std::string(text);
    m_pending = true;
    m_due = now + delay;
}

bool IdTyping::Poll(uint32_t now) {
    if (!m_pending || !platform::TickReached(now, m_due))
        return false;
    LookUpNow();
    return true;
}

void IdTyping::LookUpNow() {
    m_pending = false;
    const int exact = FindExactId(m_doc, m_text);
    if (exact >= 0)
        m_goToRecord(exact);
    const int partial = FindPartialId(m_doc, m_text, false);
    if (partial < 0) {
        m_further = false;
        m_doc.Host().PlaySound("FROG_WAV");
        return;
    }
    m_further = partial >= kMoreMatches;
    if (exact >= 0)
        return;
    m_goToRecord(m_further ? partial - kMoreMatches : partial);
    m_doc.Host().PlaySound("CRICKET_WAV");
}

} // namespace vespario
