#include "app/commandline.h"

#include <cctype>

namespace vespario {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

// Takes a flag into line; false when arg is not one of the two flags. A bare flag counts
// too, so that "vespario ID=M31" works from a shell or a desktop launcher.
bool TakeFlag(std::string_view arg, CommandLine &line) {
    const bool afterSwitch = !arg.empty() && (arg.front() == '/' || arg.front() == '-');
    const std::string_view flag = afterSwitch ? arg.substr(1) : arg;
    if (StartsWithNoCase(flag, "ID=")) {
        line.id = RemoveQuotes(flag.substr(3));
        return true;
    }
    if (StartsWithNoCase(flag, "RaDec=")) {
        line.raDec = RemoveQuotes(flag.substr(6));
        return true;
    }
    return false;
}

} // namespace

std::string RemoveQuotes(std::string_view value) {
    if (!value.empty() && value.front() == '"') {
        value.remove_prefix(1);
        if (!value.empty() && value.back() == '"')
            value.remove_suffix(1);
    }
    return std::string(value);
}

CommandLine ParseCommandLine(const std::vector<std::string> &args) {
    CommandLine line;
    for (const std::string &arg : args) {
        if (TakeFlag(arg, line))
            continue;
        if (arg.empty() || arg.front() == '-')
            continue;
        if (line.fileName.empty())
            line.fileName = RemoveQuotes(arg);
    }
    return line;
}

} // namespace vespario
