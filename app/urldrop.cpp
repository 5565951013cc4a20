#include "app/urldrop.h"

#include "platform/text.h"

namespace vespario {
std::optional<std::string> ShortcutAddress(std::string_view contents) {
    if (contents.empty() || contents.front() != '[')
        return std::nullopt;
    size_t at = 0;
    while (at < contents.size()) {
        size_t end = contents.find('\n', at);
        if (end == std::string_view::npos)
            end = contents.size();
        std::string_view line = contents.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.substr(0, 4) == "URL=")
            return std::string(line.substr(4));
        at = end + 1;
    }
    return std::nullopt;
}

std::string ShortcutDescription(std::string_view path) {
    if (const size_t slash = path.rfind('/'); slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    constexpr std::string_view kPrefix = "Shortcut to ";
    if (path.substr(0, kPrefix.size()) == kPrefix)
        path.remove_prefix(kPrefix.size());
    for (std::string_view end : {std::string_view(".URL"), std::string_view(".desktop")}) {
        if (EndsWithNoCaseAscii(path, end)) {
            path.remove_suffix(end.size());
            break;
        }
    }
    return std::string(path);
}

std::string UrlDropEntry(std::string_view path, const std::optional<std::string> &contents) {
    const bool shortcut =
        EndsWithNoCaseAscii(path, ".url") || EndsWithNoCaseAscii(path, ".desktop");
    if (shortcut && contents) {
        if (const auto address = ShortcutAddress(*contents))
            return "{" + *address + "}" + ShortcutDescription(path) + "\r\n";
    }
    return "{" + std::string(path) + "}\r\n";
}

} // namespace vespario
