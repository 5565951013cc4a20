#pragma once
// A most-recently-used list of paths, newest first, kept in one profile section under
// numbered keys: the File menu's databases ("File1".."File4") and the report dialog's setup
// files ("Filename0", "Filename1"...) are two of them.

#include "platform/iniprofile.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class RecentList {
public:
    struct Keys {
        std::string_view section;
        std::string_view prefix; // the key is the prefix and the entry's number
        size_t first;            // the number of the newest entry's key
        size_t capacity;
        // Load stops at the first missing or empty key; otherwise such a key is skipped.
        bool stopAtGap;
    };

    explicit RecentList(const Keys &keys) : m_keys(keys) {}

    void Load(const platform::IniProfile &profile);
    // Writes the entries from the first key on; the keys behind them are removed.
    void Save(platform::IniProfile &profile) const;

    // Puts path in front (moving it there when it is listed already); the oldest beyond the
    // capacity is dropped.
    void Add(const std::string &path);
    // Drops an entry that could not be opened.
    void Remove(const std::string &path);
    const std::vector<std::string> &Entries() const { return m_entries; }

private:
    std::string KeyOf(size_t i) const;

    Keys m_keys;
    std::vector<std::string> m_entries;
};

} // namespace vespario
