#pragma once
// The stand-in for the other platform's registry: a small hive of keys and named values kept
// as an ini file ("registry.ini" in the profile's folder). Each key is one section named by
// its root and path, such as
//
//   [HKEY_CURRENT_USER\Software\Netscape\Netscape Navigator\Services]
//   SMTP_Server=mail.example.org
//
// and each value is one line of it, enumerated in file order. Value names compare
// case-insensitively as the platform's do; callers that want a case-sensitive match compare
// the enumerated names themselves.

#include "platform/iniprofile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::platform {

class Registry {
public:
    enum class Root { CurrentUser, LocalMachine };

    struct Value {
        std::string name;
        std::string data;
    };

    // Reads the hive. A missing file is an empty hive (true); an unreadable one gives an
    // empty hive, false and Error().
    bool Load(const std::string &path);
    bool Save() { return m_hive.Save(); }
    const std::string &Error() const { return m_hive.Error(); }

    // The values of a key in stored order, or nullopt when the key does not exist.
    std::optional<std::vector<Value>> EnumerateValues(Root root, std::string_view keyPath) const;
    void SetValue(Root root, std::string_view keyPath, std::string_view name,
                  std::string_view data);

    // The section that holds a key: the root's name, a backslash and the path.
    static std::string SectionOf(Root root, std::string_view keyPath);
    // ProfileDir()/registry.ini.
    static std::string DefaultPath();

private:
    IniProfile m_hive;
};

} // namespace vespario::platform
