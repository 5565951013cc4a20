#include "app/commandline.h"

#include "platform/text.h"

namespace vespario {
namespace {

// Takes a flag into line; false when arg is not one of the two flags. A bare flag counts
// too, so that "vespario ID=M31" works from a shell or a desktop launcher.
bool TakeFlag(std::string_view arg, CommandLine &line) {
    const bool afterSwitch = !arg.empty() && (arg.front() == '/' || arg.front() == '-');
    const std::string_view flag = afterSwitch ? arg.substr(1) : arg;
    if (flag.size() >= 3 && EqualNoCaseAscii(flag.substr(0, 3), "ID=")) {
        line.id = std::string(WithoutQuotes(flag.substr(3)));
        return true;
    }
    if (flag.size() >= 6 && EqualNoCaseAscii(flag.substr(0, 6), "RaDec=")) {
        line.raDec = std::string(WithoutQuotes(flag.substr(6)));
        return true;
    }
    return false;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string> &args) {
    CommandLine line;
    for (const std::string &arg : args) {
        if (TakeFlag(arg, line))
            continue;
        if (arg.empty() || arg.front() == '-')
            continue;
        if (line.fileName.empty())
            line.fileName = std::string(WithoutQuotes(arg));
    }
    return line;
}

} // namespace vespario
