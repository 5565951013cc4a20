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
    return LookUpPartialId(doc, entry, true).record;
}

std::string FurtherMatchesPattern(std::string_view typed) {
    const std::string_view anywhere = typed.empty() || typed.front() != '=' ? "=[~=]@" : "";
    return std::string(anywhere) + WildcardPattern(typed);
}

std::vector<int> FurtherMatches(CVesparioDoc &doc, std::string_view typed) {
    std::vector<int> records;
    Pattern pattern(FurtherMatchesPattern(typed));
    if (!pattern.IsValid())
        return records;
    IdentityMap byIdentity(doc);
    bool abandoned = false;
    ForEachNameIndexEntry(doc.NameIndex(), [&](std::string_view key, int identity) {
        const int found = pattern.Search(key, 0);
        abandoned = abandoned || found == Pattern::kAbandoned;
        const int record = found >= 0 ? byIdentity.RecordOf(identity) : -1;
        if (record >= 0)
            records.push_back(record);
    });
    if (abandoned)
        doc.Host().MessageBox(Pattern::kAbandonedMessage, "Vespario", platform::Buttons::Ok);
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
    const IdMatch match = LookUpTypedId(m_doc, m_text);
    m_further = match.more;
    if (match.Found())
        m_goToRecord(match.record);
    if (!match.exact) // an exact match is silent
        m_doc.Host().PlaySound(match.Found() ? "CRICKET_WAV" : "FROG_WAV");
}

} // namespace vespario
