#pragma once
// vespario-cli import: the Import command without its dialogs.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// import FILE.obs IMPORT [--fields TAG,TAG,...] [--delimiter C|tab|eol] [--skip N] [--add]
//        [--replace-src CODES] [--replace-within ARCMIN] [--charset N] [--log FILE]
//        [--out OUT.obs]
// Imports IMPORT into the database, prints the summary and saves the database to OUT.obs or
// in place (through the temporary file and the backup). 0 when saved, 1 when the save
// failed, 2 for wrong arguments and for what cannot be imported.
int RunImport(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
