#include "db/nameindex.h"

#include "db/greek.h"
#include "pattern/pattern.h"
#include "platform/text.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>

namespace vespario {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kAnyRun = "[~=]@"; // any run of characters other than "="

// A text that names no designation at all: nothing but "=".
bool OnlySeparators(std::string_view text) {
    return text.find_first_not_of('=') == kNone;
}

// The identity of the suffix "|digits|" that starts at q, or -1 when none starts there; end
// is set past its closing bar.
int SuffixAt(std::string_view index, std::size_t q, std::size_t &end) {
    if (q >= index.size() || index[q] != '|')
        return -1;
    const DigitRun digits = ReadDigitRun(index.substr(q + 1));
    const std::size_t i = q + 1 + digits.length;
    if (digits.length == 0 || i >= index.size() || index[i] != '|' || digits.value > INT_MAX)
        return -1;
    end = i + 1;
    return static_cast<int>(digits.value);
}

// When pos lies inside an identity suffix: the offset past that suffix; otherwise kNone.
std::size_t SuffixCovering(std::string_view index, std::size_t pos) {
    std::size_t end = 0;
    if (SuffixAt(index, pos, end) >= 0)
        return end;
    std::size_t digits = pos;
    while (digits > 0 && IsDigit(index[digits - 1]))
        --digits;
    if (digits > 0 && SuffixAt(index, digits - 1, end) >= 0 && end > pos)
        return end;
    return kNone;
}

// The entry that pos lies in: its identity (-1 when none follows) and the offset past it.
struct EntryRef {
    int identity = -1;
    std::size_t end = kNone;
};

EntryRef EntryAt(std::string_view index, std::size_t pos) {
    EntryRef entry;
    for (std::size_t q = index.find('|', pos); q != kNone; q = index.find('|', q + 1)) {
        entry.identity = SuffixAt(index, q, entry.end);
        if (entry.identity >= 0)
            return entry;
    }
    return EntryRef{};
}

// The first occurrence of key in the index, or kNone. A key with "|" could only match across
// the boundary of two entries, so it matches nothing.
std::size_t FindKey(std::string_view index, std::string_view key) {
    if (key.empty() || key.find('|') != kNone)
        return kNone;
    const auto found = std::search(index.begin(), index.end(),
                                   std::boyer_moore_horspool_searcher(key.begin(), key.end()));
    return found == index.end() ? kNone : static_cast<std::size_t>(found - index.begin());
}

// True when the match the pattern just found at pos takes at least one character: an empty
// match (an empty alternative, a lone "*") names no designation.
bool MatchConsumes(Pattern &pattern, std::string_view index, std::size_t pos) {
    if (pattern.MatchEnd[0] > pattern.MatchStart[0])
        return true;
    const int n = static_cast<int>(index.size());
    return pattern.MatchAt(index.data(), n, static_cast<int>(pos), n) > 0;
}

// The first match of pattern at or after start that begins inside a key, not inside an
// identity suffix (where "0001" or "2" would otherwise find a record by its handle), and
// takes at least one character. kNone when none, or when the pattern is invalid or its
// search was abandoned (then abandoned is set).
std::size_t SearchIndex(Pattern &pattern, std::string_view index, std::size_t start,
                        bool &abandoned) {
    if (pattern.Program().empty())
        return kNone; // "_" alone: nothing to look for
    while (start <= index.size()) {
        const int found = pattern.Search(index, static_cast<int>(start));
        if (found == Pattern::kAbandoned && pattern.IsValid())
            abandoned = true;
        if (found < 0)
            return kNone;
        const auto pos = static_cast<std::size_t>(found);
        const std::size_t skip = SuffixCovering(index, pos);
        if (skip != kNone) {
            start = skip;
            continue;
        }
        if (MatchConsumes(pattern, index, pos))
            return pos;
        start = pos + 1;
    }
    return kNone;
}

std::string Capitals(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), UpperAscii);
    return out;
}

// The identity of the record whose index entry holds text as a whole designation ("=" added
// where text lacks it at either end, in capitals): -1 when no entry holds it.
int ExactIdentity(std::string_view index, std::string_view text) {
    std::string key;
    if (text.front() != '=')
        key += '=';
    key += text;
    if (text.back() != '=')
        key += '=';
    const std::size_t pos = FindKey(index, Capitals(key));
    return pos == kNone ? -1 : EntryAt(index, pos).identity;
}

// The record with an identity, for a look-up that finds one.
int RecordOf(CVesparioDoc &doc, int identity) {
    IdentityMap records(doc);
    return records.RecordOf(identity);
}

} // namespace

void AppendNameIndexEntry(std::string &index, std::string_view key, int identity) {
    const size_t at = index.size();
    index.resize(at + key.size());
    char *out = index.data() + at;
    for (char c : key)
        *out++ = UpperAscii(c);
    // "|%04i|" without the formatter: this runs once per record while a file loads.
    char suffix[24];
    char *end = suffix + sizeof suffix;
    char *p = end;
    *--p = '|';
    if (identity >= 0) {
        unsigned value = static_cast<unsigned>(identity);
        int digits = 0;
        do {
            *--p = static_cast<char>('0' + value % 10);
            value /= 10;
            ++digits;
        } while (value != 0 || digits < 4);
        *--p = '|';
        index.append(p, static_cast<size_t>(end - p));
        return;
    }
    std::snprintf(suffix, sizeof suffix, "|%04i|", identity);
    index.append(suffix);
}

void RebuildNameIndex(CVesparioDoc &doc, bool typed) {
    constexpr std::string_view kText = "Rebuilding object name index";
    doc.SetIndexRebuildNeeded(false);
    platform::Host &host = doc.Host();
    host.Progress(kText, 0);
    std::string &index = doc.MutableNameIndex();
    index.clear();
    index.reserve(kNameIndexReserve);
    const int count = doc.GetRecordCount();
    const int step = std::max(1, count / 100);
    std::string key;
    for (int i = 0; i < count; ++i) {
        if (i % step == 0) {
            host.Progress(kText, static_cast<int>(i * 100LL / count));
            host.PumpEvents();
        }
        if (typed)
            doc.EnsureParsed(i);
        const ObjectRecord &record = doc.Record(i);
        const std::string_view id = record.Field(field::Id);
        if (id.empty())
            continue; // a record read without an ID has no entry
        if (!typed) {
            AppendNameIndexEntry(index, id, record.m_identity);
            continue;
        }
        key.assign("=").append(record.Field(field::Type)).append(";").append(id);
        AppendNameIndexEntry(index, key, record.m_identity);
    }
    index.shrink_to_fit();
    host.EndProgress();
}

namespace {

// What the partial look-up has found so far: an identity (-1: none), the more flag and what
// went wrong on the way.
struct PartialResult {
    int identity = -1;
    bool more = false;
    bool badPattern = false;
    bool abandoned = false;
};

bool IsLooseCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsDigit(c) || IsAsciiLetter(c) || u >= 128;
}

// The identity of the entry of the first match of a pattern text, or -1.
int PatternIdentity(std::string_view index, const std::string &text, platform::Host *host,
                    PartialResult &result) {
    Pattern pattern(text, host);
    result.badPattern = result.badPattern || !pattern.IsValid();
    const std::size_t pos = SearchIndex(pattern, index, 0, result.abandoned);
    return pos == kNone ? -1 : EntryAt(index, pos).identity;
}

// With the pattern switch on, ?, + and * stand for themselves.
std::string LiteralWildcards(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '?' || c == '+' || c == '*')
            out += '\\';
        out += c;
    }
    return out;
}

// The text as the start of a designation: "=" in front unless it has one.
int PrefixIdentity(std::string_view index, std::string_view text) {
    std::string key = text.front() == '=' ? "" : "=";
    key += Capitals(text);
    const std::size_t pos = FindKey(index, key);
    return pos == kNone ? -1 : EntryAt(index, pos).identity;
}

// The wildcard search: it gives the identity when none is known yet, and a second match in
// a later entry sets the more flag.
void WildcardSearch(std::string_view index, std::string_view text, platform::Host &host,
                    PartialResult &result) {
    Pattern pattern(WildcardPattern(text), &host);
    const std::size_t pos = SearchIndex(pattern, index, 0, result.abandoned);
    if (pos == kNone)
        return;
    const EntryRef entry = EntryAt(index, pos);
    if (result.identity < 0)
        result.identity = entry.identity;
    if (entry.end != kNone && SearchIndex(pattern, index, entry.end, result.abandoned) != kNone)
        result.more = true;
}

// The loose look-up: the letters, digits and bytes above 127 of the text, in that order,
// anywhere within one designation. The pattern is ours, not the user's, so a failure to
// compile it (a very long text) is not shown.
int LooseIdentity(std::string_view index, std::string_view text, PartialResult &result) {
    std::string loose;
    for (char c : text) {
        if (!IsLooseCharacter(c))
            continue;
        loose += c;
        loose += kAnyRun;
    }
    if (loose.empty())
        return -1;
    Pattern pattern(loose);
    const std::size_t pos = SearchIndex(pattern, index, 0, result.abandoned);
    return pos == kNone ? -1 : EntryAt(index, pos).identity;
}

// Converts one text from one Greek set to another, through the words.
void ConvertGreek(std::string &text, int from, int to) {
    if (from == kGreekPlain) {
        WordsToGreek(text, to);
        return;
    }
    GreekToWords(text, from);
    if (to != kGreekPlain)
        WordsToGreek(text, to);
}

void ConvertRecord(ObjectRecord &record, int from, int to, std::string &work) {
    for (int n = 0; n < kStoredFieldCount; ++n) {
        work.assign(record.Field(n));
        ConvertGreek(work, from, to);
        if (work != record.Field(n))
            record.SetField(n, work);
    }
}

} // namespace

void ForEachNameIndexEntry(std::string_view index,
                           const std::function<void(std::string_view key, int identity)> &visit) {
    std::size_t begin = 0;
    while (begin < index.size()) {
        const EntryRef entry = EntryAt(index, begin);
        if (entry.identity < 0)
            return;
        const std::size_t bar = index.rfind('|', entry.end - 2);
        visit(index.substr(begin, bar - begin), entry.identity);
        begin = entry.end;
    }
}

int IdentityMap::RecordOf(int identity) {
    if (identity <= 0)
        return -1;
    const int guess = identity - 1;
    if (!m_built && guess < m_doc.GetRecordCount() && m_doc.Record(guess).m_identity == identity)
        return guess;
    if (!m_built) {
        const int count = m_doc.GetRecordCount();
        m_records.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            m_records.emplace(m_doc.Record(i).m_identity, i);
        m_built = true;
    }
    const auto it = m_records.find(identity);
    return it == m_records.end() ? -1 : it->second;
}

std::string WildcardPattern(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (text[i] == '*') {
            out += kAnyRun;
        } else {
            out += text[i];
        }
    }
    return out;
}

int FindExactId(CVesparioDoc &doc, std::string_view text) {
    if (text.empty() || OnlySeparators(text))
        return -1;
    return RecordOf(doc, ExactIdentity(doc.NameIndex(), text));
}

IdMatch LookUpPartialId(CVesparioDoc &doc, std::string_view text, bool patternSwitch) {
    if (text.empty() || OnlySeparators(text))
        return {};
    const std::string_view index = doc.NameIndex();
    PartialResult result;
    if (patternSwitch && text.find('~', 1) != kNone)
        result.identity = PatternIdentity(index, LiteralWildcards(text), &doc.Host(), result);
    else
        result.identity = ExactIdentity(index, text);
    if (!patternSwitch) {
        if (result.identity < 0)
            result.identity = PrefixIdentity(index, text);
        WildcardSearch(index, text, doc.Host(), result);
        if (result.identity < 0 && !result.more)
            result.identity = LooseIdentity(index, text, result);
    }
    if (result.abandoned)
        doc.Host().MessageBox(Pattern::kAbandonedMessage, "Vespario", platform::Buttons::Ok);
    IdMatch match;
    match.record = RecordOf(doc, result.identity);
    match.more = match.record >= 0 && result.more;
    match.badPattern = result.badPattern;
    match.abandoned = result.abandoned;
    return match;
}

int FindPartialId(CVesparioDoc &doc, std::string_view text, bool patternSwitch) {
    const IdMatch match = LookUpPartialId(doc, text, patternSwitch);
    if (!match.Found())
        return -1;
    return match.more ? match.record + kMoreMatches : match.record;
}

IdMatch LookUpTypedId(CVesparioDoc &doc, std::string_view text) {
    const int exact = FindExactId(doc, text);
    IdMatch match = LookUpPartialId(doc, text, false);
    if (exact >= 0) {
        match.record = exact;
        match.exact = true;
    }
    return match;
}

void ChangeGreekHandling(CVesparioDoc &doc, int newSet) {
    constexpr std::string_view kText = "Converting Greek Characters";
    const int current = doc.GreekSet();
    if (newSet == current || newSet < kGreekDos || newSet > kGreekPlain)
        return;
    platform::Host &host = doc.Host();
    host.Progress(kText, 0);
    const int count = doc.GetRecordCount();
    int shown = 0;
    std::string work;
    for (int i = 0; i < count; ++i) {
        const int percent = static_cast<int>(i * 100LL / count);
        if (percent != shown) {
            host.Progress(kText, percent);
            host.PumpEvents();
            shown = percent;
        }
        ConvertRecord(doc.Record(i), current, newSet, work);
    }
    // Records split or parsed from now on must be converted with the new set.
    doc.Profile().WriteInt("GreekHandling", "Internal", newSet);
    if (doc.Profile().GetInt("Settings", "AutoBuild", 1))
        doc.SetIndexRebuildNeeded(true);
    host.EndProgress();
}

} // namespace vespario
