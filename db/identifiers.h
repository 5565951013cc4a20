#pragma once
// Object designations: the catalogue shorthand the ID field stores (n224 for NGC 224), its
// expansion for display and web look-ups, and what the Greek insert commands put into an
// edit control.

#include <span>
#include <string>
#include <string_view>

namespace vespario {

// Rewrites catalogue prefixes to their shorthand, in place: NGC 0224 -> n224, IC 342 -> i342,
// UGCA 12 and ugc a 12 -> ua12, UGC 5 -> u5, Arp 77 -> apg 77, m 31 -> M31. For each prefix
// only its first occurrence is considered, and only when it starts the text or follows a
// non-letter and is not followed by a letter (so Mon R2 stays as it is).
void NormaliseDesignation(std::string &text);

// Writes a shorthand designation out: n224 -> "ngc 224", i342 -> "ic 342", u5 -> "ugc 5",
// a12 -> "arp 12". Only when the second character is a digit 1 to 9; otherwise the
// designation is returned unchanged (apg77 and ua12 stay).
std::string ExpandDesignation(std::string_view designation);

// The words of the Greek insert commands, ALPHA to OMEGA, DEG and STRUVE; the xi command
// uses "XI" (its table word is XHI).
std::span<const std::string_view> GreekInsertWords();

// What a Greek insert command puts in place of the selection in the given set: set 1 the
// set-1 character, set 0 the set-0 character when there is one, else the word, set 2 the
// word. An unknown word gives an empty text.
std::string GreekInsertText(std::string_view word, int greekSet);

} // namespace vespario
