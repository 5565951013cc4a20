#pragma once
// The most-recently-used file list of the File menu: four entries, newest first, kept in the
// profile as the other platform's framework kept it (section "Recent File List", keys
// "File1" to "File4").

#include "platform/iniprofile.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class RecentFiles {
public:
    static constexpr size_t kCapacity = 4;
    static constexpr std::string_view kSection = "Recent File List";

    void Load(const platform::IniProfile &profile);
    // Writes File1..File4; keys without an entry are removed.
    void Save(platform::IniProfile &profile) const;

    // Puts path in front (moving it there when it is listed already); the fifth is dropped.
    void Add(const std::string &path);
    // Drops an entry that could not be opened.
    void Remove(const std::string &path);
    const std::vector<std::string> &Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

} // namespace vespario
