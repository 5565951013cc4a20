#pragma once
// vespario-cli select: one complete selection pass through the object list engine.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

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
