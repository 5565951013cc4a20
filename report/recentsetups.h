#pragma once
// The setup files the report dialog saved or recalled lately, newest first, shared by the
// five report kinds and kept in the profile section "Report" under "Filename0",
// "Filename1", ...

#include "report/reportlayout.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

namespace platform {
class IniProfile;
}

class RecentSetupFiles {
public:
    static constexpr size_t kCapacity = 10;
    static constexpr std::string_view kSection = "Report";

    // Reads the keys from "Filename0" up to the first one missing or empty.
    void Load(const platform::IniProfile &profile);
    // Writes the entries from "Filename0"; the keys behind them are removed.
    void Save(platform::IniProfile &profile) const;

    // Puts path in front (moving it there when it is listed already); the oldest beyond the
    // capacity is dropped.
    void Add(const std::string &path);
    void Remove(const std::string &path);
    const std::vector<std::string> &Entries() const { return m_entries; }
    // The entries whose extension is the setup file's of kind, newest first.
    std::vector<std::string> OfKind(ReportKind kind) const;

private:
    std::vector<std::string> m_entries;
};

} // namespace vespario
