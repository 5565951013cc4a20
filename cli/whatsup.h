#pragma once
// vespario-cli whatsup: the What's Up report for a place and a UT instant.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "whatsup" alone; --place and --at (Options) choose the place and the UT instant,
// else the profile's default place at the present moment. Prints the report (its lines end
// with CR LF) and returns 0; a wrong command line, place record or instant prints a message
// and returns 2.
int RunWhatsUp(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
