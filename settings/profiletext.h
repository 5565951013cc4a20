#pragma once
// Reading texts from the profile as the other platform's profile functions hand them over:
// as C strings, so that a NUL byte in a damaged file ends the value there.

#include "platform/iniprofile.h"

#include <string>
#include <string_view>

namespace vespario {

inline std::string CutAtNul(std::string text) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

inline std::string ReadProfileText(const platform::IniProfile &profile, std::string_view section,
                                   std::string_view key, std::string_view defaultValue = {}) {
    return CutAtNul(profile.GetString(section, key, defaultValue));
}

} // namespace vespario
