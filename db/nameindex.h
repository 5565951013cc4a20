#pragma once
// The object name index and the look-ups built on it.
//
// The index is one text held by the document: for each record with an ID, in record order,
// the ID with a to z in capitals, then "|", the record's identity ("%04i") and "|". Since an
// ID starts and ends with "=", searching for "=M31=" finds the record that carries M31 among
// any of its names, with one substring search over all records at once. The typed variant
// (for import and maintenance) has "=", the Type field, ";" and the ID as its keys.

#include "db/cvespariodoc.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vespario {

// FindPartialId adds this to the record index when further records match as well. Callers
// outside the look-up take an IdMatch instead of decoding it.
inline constexpr int kMoreMatches = 1000000000;
// Room the index text keeps so that appending while a file is split does not reallocate.
inline constexpr std::size_t kNameIndexReserve = 2000000;

// Appends one entry (key in capitals, "|", identity, "|") to an index text.
void AppendNameIndexEntry(std::string &index, std::string_view key, int identity);

// Rebuilds the document's index from its records, with the progress text "Rebuilding object
// name index". Typed: each record is parsed first and its key is "=", Type, ";", ID. Clears
// the document's rebuild flag.
void RebuildNameIndex(CVesparioDoc &doc, bool typed = false);

// Calls visit(key, identity) for each entry of an index text, in order. A stretch that ends
// in no well-formed identity suffix ("|digits|") ends the walk.
void ForEachNameIndexEntry(std::string_view index,
                           const std::function<void(std::string_view key, int identity)> &visit);

// The records by their identities, for the look-ups that turn identities from the index into
// records. Identities are handed out in record order from 1, so the record at identity - 1
// is tried first; records move without the index being rebuilt, so the first identity not
// found there builds a map of every record, used from then on. Valid while no record moves.
class IdentityMap {
public:
    explicit IdentityMap(CVesparioDoc &doc) : m_doc(doc) {}
    // The record with that identity, or -1.
    [[nodiscard]] int RecordOf(int identity);

private:
    CVesparioDoc &m_doc;
    bool m_built = false;
    std::unordered_map<int, int> m_records;
};

// The "*" wildcard of a typed ID as a pattern: every "*" that no backslash escapes stands for
// any run of characters within one designation ("[~=]@"); a backslash keeps the character
// after it as it is.
std::string WildcardPattern(std::string_view text);

// The record that carries text as one whole designation (m31, =M31 and M31= alike): its
// record index, or -1. Empty text, a text of "=" only and a text with "|" give -1.
[[nodiscard]] int FindExactId(CVesparioDoc &doc, std::string_view text);

// What a look-up of a typed ID found.
struct IdMatch {
    int record = -1;         // the record index, or -1 when none matched
    bool exact = false;      // the record carries the text as one whole designation
    bool more = false;       // further records match as well (the ID box's ">")
    bool badPattern = false; // the typed pattern did not compile; its message was shown
    bool abandoned = false;  // a search gave up at its backtrack limit; the user was told
    bool Found() const { return record >= 0; }
};

// The ID box's partial look-up. With patternSwitch on and a "~" after the first character,
// text is searched as a pattern (?, + and * taken literally); otherwise the exact look-up
// comes first, and with the switch off the prefix, the "*" wildcard and the loose look-ups
// follow. A pattern that does not compile shows its message; a search abandoned at its
// backtrack limit says so through the Host. Both then count as no match.
[[nodiscard]] IdMatch LookUpPartialId(CVesparioDoc &doc, std::string_view text, bool patternSwitch);
// The same as one number: the record index, plus kMoreMatches when further records match;
// -1 when none.
[[nodiscard]] int FindPartialId(CVesparioDoc &doc, std::string_view text, bool patternSwitch);

// The typed-ID look-up of the ID box and of vespario-cli find: the exact look-up, then the
// partial one for the further-matches flag. The record is the exact match, else the partial.
[[nodiscard]] IdMatch LookUpTypedId(CVesparioDoc &doc, std::string_view text);

// Converts every stored field of every record from the document's Greek set to newSet, with
// the progress text "Converting Greek Characters", stores newSet as "GreekHandling"/
// "Internal", and marks the index for rebuilding when "AutoBuild" is on. Nothing happens
// when newSet is the current set or not one of 0, 1, 2.
void ChangeGreekHandling(CVesparioDoc &doc, int newSet);

} // namespace vespario
