#pragma once
// The ID box of the object list without its widget: the history of recently visited IDs,
// the look-up of a typed ID a second after the last key, the ">" button's state and the
// list of further matches behind it, and the look-up of a picked history entry.

#include "pattern/pattern.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;

// The recently visited IDs, newest first.
class IdHistory {
public:
    static constexpr size_t kCapacity = 50;
    static constexpr size_t kIdLength = 19; // an entry holds the ID's first 19 characters

    // Enter: puts the ID (cut to 19 characters) in front unless it is the newest entry
    // already; the oldest entry beyond 50 is dropped. true when it was put in.
    bool Enter(std::string_view id);
    const std::vector<std::string> &Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    std::vector<std::string> m_entries;
};

// The record of a picked history entry: the entry is shortened from its end until it ends
// with "=" (a cut designation is dropped) and looked up with the pattern switch on; -1 when
// no record carries it.
int LookUpHistoryEntry(CVesparioDoc &doc, std::string_view entry);

// The pattern behind ">": the typed text found anywhere in an ID ("=[~=]@" in front unless
// the text begins with "="), its "*" wildcards rewritten as the look-up does (WildcardPattern).
std::string FurtherMatchesPattern(std::string_view typed);
// The records whose name index entries match that pattern, in index order; empty when the
// pattern does not compile. A search abandoned at the backtrack limit is told through the
// Host, and that entry counts as not matching.
std::vector<int> FurtherMatches(CVesparioDoc &doc, std::string_view typed);

// The typed-ID look-up. Every change of the text restarts a 1000 ms timer; when it runs out
// the text is looked up exactly and then partially, a matching record is made current
// through goToRecord, and the frog or the cricket sound tells how it went.
class IdTyping {
public:
    static constexpr uint32_t kDelayTicks = 1000;

    // goToRecord makes a record current (by record index) and enters its ID in the history.
    IdTyping(CVesparioDoc &doc, std::function<void(int record)> goToRecord);

    // The ID box's text changed at tick now.
    void TextChanged(std::string_view text, uint32_t now);
    // The same, with a look-up only after delay ticks (the deferred look-up of a request
    // that arrives while the file is still being split).
    void LookUpAfter(std::string_view text, uint32_t now, uint32_t delay);
    // Runs the look-up when its time has come; true when it ran.
    bool Poll(uint32_t now);
    bool Pending() const { return m_pending; }
    // The look-up at once.
    void LookUpNow();

    const std::string &Text() const { return m_text; }
    // Whether ">" is enabled: the last look-up found further matches.
    bool FurtherMatchesEnabled() const { return m_further; }

private:
    CVesparioDoc &m_doc;
    std::function<void(int)> m_goToRecord;
    std::string m_text;
    bool m_pending = false;
    uint32_t m_due = 0;
    bool m_further = false;
};

} // namespace vespario
