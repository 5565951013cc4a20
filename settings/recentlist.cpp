#include "settings/recentlist.h"

#include <algorithm>

namespace vespario {

std::string RecentList::KeyOf(size_t i) const {
    return std::string(m_keys.prefix) + std::to_string(m_keys.first + i);
}

void RecentList::Load(const platform::IniProfile &profile) {
    m_entries.clear();
    for (size_t i = 0; i < m_keys.capacity; ++i) {
        std::string path = profile.GetString(m_keys.section, KeyOf(i));
        if (path.empty() && m_keys.stopAtGap)
            break;
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(std::move(path));
    }
}

void RecentList::Save(platform::IniProfile &profile) const {
    for (size_t i = 0; i < m_keys.capacity; ++i) {
        if (i < m_entries.size())
            profile.WriteString(m_keys.section, KeyOf(i), m_entries[i]);
        else
            profile.WriteString(m_keys.section, KeyOf(i), std::nullopt);
    }
}

void RecentList::Add(const std::string &path) {
    if (path.empty())
        return;
    Remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_keys.capacity)
        m_entries.resize(m_keys.capacity);
}

void RecentList::Remove(const std::string &path) {
    std::erase(m_entries, path);
}

} // namespace vespario
