#include "settings/dialogpositions.h"

#include <string>

namespace vespario {

namespace {

constexpr std::array<std::string_view, 4> kEdges = {"Left", "Top", "Right", "Bottom"};
constexpr std::array<std::string_view, 9> kLegacyNames = {
    "Select", "Sort", "Coord", "Time", "Dist", "Search", "EditErrs", "WhatsUp", "MailTo"};
constexpr std::string_view kScreenLocation = "Screen Location";

} // namespace

DialogRect ReadDialogPosition(const platform::IniProfile &profile, std::string_view section) {
    DialogRect rect;
    rect.left = profile.GetInt(section, "Left", kNoDialogPosition);
    rect.top = profile.GetInt(section, "Top", 0);
    rect.right = profile.GetInt(section, "Right", 0);
    rect.bottom = profile.GetInt(section, "Bottom", 0);
    return rect;
}

std::optional<DialogRect> StoredDialogPosition(const platform::IniProfile &profile,
                                               std::string_view section) {
    const DialogRect rect = ReadDialogPosition(profile, section);
    if (rect.left >= kNoDialogPosition)
        return std::nullopt;
    return rect;
}

void StoreDialogPosition(platform::IniProfile &profile, std::string_view section,
                         const DialogRect &rect) {
    if (rect.left >= kNoDialogPosition)
        return;
    profile.WriteInt(section, "Left", rect.left);
    profile.WriteInt(section, "Top", rect.top);
    if (section == kWebDialogSection)
        return;
    profile.WriteInt(section, "Right", rect.right);
    profile.WriteInt(section, "Bottom", rect.bottom);
}

void ForgetDialogPositions(platform::IniProfile &profile) {
    for (std::string_view section : kDialogPositionSections)
        profile.WriteInt(section, "Left", kNoDialogPosition);
}

// The key's existence is asked directly rather than through the sentinel 3001 of the old
// read, so that a stored 3001 or an empty value is moved as well and never lingers.
int MigrateLegacyDialogPositions(platform::IniProfile &profile) {
    int moved = 0;
    for (std::string_view name : kLegacyNames) {
        const std::string prefix(name);
        if (!profile.HasKey(kScreenLocation, prefix + "Left"))
            continue;
        std::array<int, 4> values{};
        for (size_t i = 0; i < kEdges.size(); ++i) {
            const std::string key = prefix + std::string(kEdges[i]);
            values[i] = profile.GetInt(kScreenLocation, key, i == 0 ? kNoDialogPosition : 0);
            profile.WriteString(kScreenLocation, key, std::nullopt);
        }
        if (values[0] < 1)
            values[0] = kNoDialogPosition;
        const std::string section = prefix + "DlgPos";
        for (size_t i = 0; i < kEdges.size(); ++i)
            profile.WriteInt(section, kEdges[i], values[i]);
        ++moved;
    }
    return moved;
}

} // namespace vespario
