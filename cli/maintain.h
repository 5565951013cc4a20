#pragma once
// vespario-cli maintain: the maintenance tools that need no dialog.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "maintain", FILE.obs, TOOL and, for some tools, a file:
//   sort-refs [OUT.obs]     the magazine items of REFS in date order
//   verify-urls [OUT.obs]   url entries of local files that do not exist removed
//   rebuild-ids             the name index rebuilt
//   list-magazines          the magazine references, sorted, with the records citing each
//   export-urls OUT.html    the url entries of every record as an HTML list
// The questions the tools ask are answered Yes. A tool that changed records saves the
// database to OUT.obs, or in place, and says so. Returns 0; 1 when the database could not be
// saved or the HTML not written; 2 for a file that cannot be read or a wrong line.
int RunMaintain(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
