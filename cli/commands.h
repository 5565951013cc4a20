#pragma once
// The commands of vespario-cli, callable from tests with their own streams.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::cli {

// Runs one command line (without the program name). Returns the exit code.
// Results go to out, messages and errors to err. "--help", "-h", "help [COMMAND]" and
// "COMMAND --help" print the usage to out and return 0; "--version" prints the version.
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Prints "usage: vespario-cli" and the words of one command, then what it does.
void PrintCommandUsage(std::ostream &out, std::string_view command);

} // namespace vespario::cli
