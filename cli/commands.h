#pragma once
// The commands of vespario-cli, callable from tests with their own streams.

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

// Runs one command line (without the program name). Returns the exit code.
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
