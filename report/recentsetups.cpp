#include "report/recentsetups.h"

#include "platform/text.h"

#include <algorithm>

namespace vespario {
namespace {

bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() <= extension.size())
        return false;
    const std::string_view end = path.substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(),
                      [](char a, char b) { return LowerAscii(a) == b; });
}

} // namespace

std::vector<std::string> RecentSetupFiles::OfKind(ReportKind kind) const {
    std::vector<std::string> out;
    for (const std::string &path : Entries())
        if (HasExtension(path, InfoOf(kind).extension))
            out.push_back(path);
    return out;
}

} // namespace vespario
