#pragma once
// The observer's shorthand written out in words (vBT, BM, UHC, magazine issues, book
// references, atlas charts, magnitudes, sizes...), and a message body turned into an HTML
// list of the links it holds. Both work on a text in place and never look past its end.

#include <string>
#include <string_view>

namespace vespario {

class SettingsVocabularies;

inline constexpr std::string_view kUnabbreviateFailed =
    "Unabbreviate function has failed.  This email should not be sent.  Please redo whatever "
    "brought you to this point, but DO NOT press unabreviate button, and send the contents to "
    "the author so he can fix the bug.";

// The warning shown before a report (what = "report") or after a mail body (what = "message
// body") has been expanded.
std::string UnabbreviateWarning(std::string_view what);

// One answer of the expander: the words and how many bytes of the text they stand for.
struct Expansion {
    std::string text;
    size_t consumed = 0; // 0: the expander had nothing for this text
};

// ExpandAt: the expansion of the abbreviation at the start of rest, if any.
//
// Given:
//   rest          the text from the current position to its end
//   vocabularies  the magazine, book, object-type, place and equipment lists (may be null:
//                 the rules that need them then never apply)
//   lineStart     nothing has been produced for this position yet (the observation-header
//                 rule applies only then)
// Returned:
//   the expansion; consumed is 0 when no rule applies, and never more than rest.size()
Expansion ExpandAt(std::string_view rest, const SettingsVocabularies *vocabularies, bool lineStart);

// Unabbreviate: expands every abbreviation of text in place; words no rule accepts are copied
// unchanged, so a text without abbreviations stays the same byte for byte. False (text left as
// it was) when the expander failed; the caller then shows kUnabbreviateFailed.
[[nodiscard]] bool Unabbreviate(std::string &text, const SettingsVocabularies *vocabularies);

// The profile's default link pattern ("Report"/"SearchUrl"): a URL with ":/" in braces,
// then its description up to the end of the line or field.
inline constexpr std::string_view kDefaultLinkPattern = "\\{{*:/*}\\}{*}%";

// ConvertLinksToHtml: replaces body by "<ul>", one "<li><a href=...>" line per link that
// linkPattern finds (group 1 the URL, group 2 its description, "no description" when empty),
// "</ul>" and then signature; every line ends with CR LF. False, body unchanged, when the
// pattern does not compile.
[[nodiscard]] bool ConvertLinksToHtml(std::string &body, std::string_view linkPattern,
                                      std::string_view signature);

} // namespace vespario
