#pragma once
// vespario-cli settings: loads the profile as the program does at start-up and prints every
// setting and vocabulary as loaded, one "SECTION/KEY=VALUE" line each, in the profile's own
// sections and keys. Nothing is written back.

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

// words: "settings" alone. profilePath: the --profile file, or empty for the user's profile
// (or, when there is none yet, the one a new installation starts with). The mail defaults
// come from registry.ini in the profile's folder. Returns 0, or 2 when the command line is
// wrong or the profile cannot be read.
int RunSettings(const std::vector<std::string> &words, const std::string &profilePath,
                std::ostream &out, std::ostream &err);

} // namespace vespario::cli
