#include "report/recentsetups.h"

#include "platform/text.h"

namespace vespario {

std::vector<std::string> RecentSetupFiles::OfKind(ReportKind kind) const {
    std::vector<std::string> out;
    for (const std::string &path : Entries())
        if (const std::string_view extension = InfoOf(kind).extension;
            path.size() > extension.size() && EndsWithNoCaseAscii(path, extension))
            out.push_back(path);
    return out;
}

} // namespace vespario
