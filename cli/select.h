#pragma once
// vespario-cli select: one complete selection pass through the object list engine.

#include "cli/support.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario {
class ObjectList;
}

namespace vespario::cli {

// The words that make a selection, shared by every command that works on one.
struct SelectionWords {
    std::string selFile;
    std::string srtFile;
    std::vector<std::string> where;
    std::vector<std::string> sort;
};

// Takes option (--sel, --srt, --where or --sort) and its value into selection; false when
// option is none of them.
bool TakeSelectionOption(const std::string &option, const std::string &value,
                         SelectionWords &selection);

// Gives the list the criteria and sort keys of selection (the files' lines and keys first).
// False (with the message) for an unreadable file or a wrong line or key.
[[nodiscard]] bool ApplySelection(const SelectionWords &selection, Session &session,
                                  ObjectList &list, std::ostream &err);

// words: "select", FILE.obs and any of
//   --sel FILE.sel   the criteria of a criteria file (its lines come first)
//   --srt FILE.srt   the keys of a sort order file (its keys come first)
//   --where "FIELD OP VALUE"   a criteria line; "or", "(" and ")" stand alone
//   --sort FIELD[:desc][:case] a sort key
//   --show FIELD     a field printed after the ID
// Prints one line per selected object in list order: the ID, then each --show field,
// tab-separated. Returns 0; 2 with the message for an unknown field, a bad "is near"
// RaDec, unbalanced parentheses, an unreadable file or a wrong line.
int RunSelect(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
