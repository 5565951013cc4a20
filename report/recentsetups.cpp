#include "report/recentsetups.h"

#include "platform/iniprofile.h"

#include <algorithm>
#include <cctype>

namespace vespario {
namespace {

std::string KeyOf(size_t i) {
    return "Filename" + std::to_string(i);
}

bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() <= extension.size())
        return false;
    const std::string_view end = path.substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace

void RecentSetupFiles::Load(const platform::IniProfile &profile) {
    m_entries.clear();
    for (size_t i = 0; m_entries.size() < kCapacity; ++i) {
        std::string path = profile.GetString(kSection, KeyOf(i));
        if (path.empty())
            break;
        if (std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(std::move(path));
    }
}

void RecentSetupFiles::Save(platform::IniProfile &profile) const {
    for (size_t i = 0; i < kCapacity; ++i) {
        if (i < m_entries.size())
            profile.WriteString(kSection, KeyOf(i), m_entries[i]);
        else
            profile.WriteString(kSection, KeyOf(i), std::nullopt);
    }
}

void RecentSetupFiles::Add(const std::string &path) {
    if (path.empty())
        return;
    Remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kCapacity)
        m_entries.resize(kCapacity);
}

void RecentSetupFiles::Remove(const std::string &path) {
    std::erase(m_entries, path);
}

std::vector<std::string> RecentSetupFiles::OfKind(ReportKind kind) const {
    std::vector<std::string> out;
    for (const std::string &path : m_entries)
        if (HasExtension(path, InfoOf(kind).extension))
            out.push_back(path);
    return out;
}

} // namespace vespario
