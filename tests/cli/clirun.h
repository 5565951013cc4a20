#pragma once
// Running vespario-cli inside a test: the exit code and what it printed on each stream.

#include "cli/commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace vespario::test {

inline const std::string kData = VESPARIO_DATA_DIR_FOR_TESTS;
inline const std::string kProfile = kData + "/Vespario.ini";

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

inline CliResult RunCli(const std::vector<std::string> &args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace vespario::test
