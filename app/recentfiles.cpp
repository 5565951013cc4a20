#include "app/recentfiles.h"

#include <algorithm>

namespace vespario {
namespace {

std::string KeyOf(size_t i) {
    return "File" + std::to_string(i + 1);
}

} // namespace

void RecentFiles::Load(const platform::IniProfile &profile) {
    m_entries.clear();
    for (size_t i = 0; i < kCapacity; ++i) {
        std::string path = profile.GetString(kSection, KeyOf(i));
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(std::move(path));
    }
}

void RecentFiles::Save(platform::IniProfile &profile) const {
    for (size_t i = 0; i < kCapacity; ++i) {
        if (i < m_entries.size())
            profile.WriteString(kSection, KeyOf(i), m_entries[i]);
        else
            profile.WriteString(kSection, KeyOf(i), std::nullopt);
    }
}

void RecentFiles::Add(const std::string &path) {
    if (path.empty())
        return;
    Remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kCapacity)
        m_entries.resize(kCapacity);
}

void RecentFiles::Remove(const std::string &path) {
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
}

} // namespace vespario
