#pragma once
// The setup files the report dialog saved or recalled lately, newest first, shared by the
// five report kinds and kept in the profile section "Report" under "Filename0",
// "Filename1", ...

#include "report/reportlayout.h"
#include "settings/recentlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class RecentSetupFiles : public RecentList {
public:
    static constexpr size_t kCapacity = 10;
    static constexpr std::string_view kSection = "Report";

    RecentSetupFiles() : RecentList({kSection, "Filename", 0, kCapacity, true}) {}

    // The entries whose extension is the setup file's of kind, newest first.
    std::vector<std::string> OfKind(ReportKind kind) const;
};

} // namespace vespario
