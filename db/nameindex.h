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
#include <string>
#include <string_view>

namespace vespario {

// FindPartialId adds this to the record index when further records match as well.
inline constexpr int kMoreMatches = 1000000000;
// Room the index text keeps so that appending while a file is split does not reallocate.
inline constexpr std::size_t kNameIndexReserve = 2000000;

// Appends one entry (key in capitals, "|", identity, "|") to an index text.
void AppendNameIndexEntry(std::string &index, std::string_view key, int identity);

// Rebuilds the document's index from its records, with the progress text "Rebuilding object
// name index". Typed: each record is parsed first and its key is "=", Type, ";", ID. Clears
// the document's rebuild flag.
void RebuildNameIndex(CVesparioDoc &doc, bool typed = false);

// The record that carries text as one whole designation (m31, =M31 and M31= alike): its
// record index, or -1. Empty text, a text of "=" only and a text with "|" give -1.
int FindExactId(CVesparioDoc &doc, std::string_view text);

// The ID box's partial look-up: the record index of the first match, plus kMoreMatches when
// further records match; -1 when none. With patternSwitch on and a "~" after the first
// character, text is searched as a pattern (?, + and * taken literally); otherwise the exact
// look-up comes first, and with the switch off the prefix, the "*" wildcard and the loose
// look-ups follow. A pattern that does not compile shows its message and counts as no match.
int FindPartialId(CVesparioDoc &doc, std::string_view text, bool patternSwitch);

// Converts every stored field of every record from the document's Greek set to newSet, with
// the progress text "Converting Greek Characters", stores newSet as "GreekHandling"/
// "Internal", and marks the index for rebuilding when "AutoBuild" is on. Nothing happens
// when newSet is the current set or not one of 0, 1, 2.
void ChangeGreekHandling(CVesparioDoc &doc, int newSet);

} // namespace vespario
