#pragma once
// vespario-cli check: the record edit checks' first pass over a whole database.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "check", FILE.obs. Runs the first pass of the edit checks that the profile switches
// on, through the object list's idle work, and prints one line per failure in the order found:
// the record's ID, a tab, the failure line. Returns 0 when there is none, 1 when there are
// some, 2 when the file cannot be read or for a wrong line.
int RunCheck(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
