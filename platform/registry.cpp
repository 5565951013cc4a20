#include "platform/registry.h"

#include "platform/files.h"

namespace vespario::platform {

bool Registry::Load(const std::string &path) {
    return m_hive.Load(path);
}

std::string Registry::SectionOf(Root root, std::string_view keyPath) {
    const std::string_view rootName =
        root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
    return std::string(rootName) + "\\" + std::string(keyPath);
}

std::string Registry::DefaultPath() {
    return ProfileDir() + "/registry.ini";
}

std::optional<std::vector<Registry::Value>>
Registry::EnumerateValues(Root root, std::string_view keyPath) const {
    const std::string section = SectionOf(root, keyPath);
    if (!m_hive.HasSection(section))
        return std::nullopt;
    std::vector<Value> values;
    for (std::string &name : m_hive.Keys(section)) {
        std::string data = m_hive.GetString(section, name);
        values.push_back(Value{std::move(name), std::move(data)});
    }
    return values;
}

void Registry::SetValue(Root root, std::string_view keyPath, std::string_view name,
                        std::string_view data) {
    m_hive.WriteString(SectionOf(root, keyPath), name, data);
}

} // namespace vespario::platform
