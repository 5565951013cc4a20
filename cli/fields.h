#pragma once
// vespario-cli fields: the stored and computed fields of one object.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "fields", FILE.obs, ID and one or more FIELD (a field table tag, or a long stored
// field's bare word: info, obs, refs...). Prints "TAG<TAB>VALUE" per field for the object
// that FindExactId finds; line breaks of texts are written as the four characters \r\n.
// Returns 0; 1 when no object has the ID; 2 for a wrong line or an unknown field.
int RunFields(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
