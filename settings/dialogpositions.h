#pragma once
// The stored rectangles of the resizable dialogs and property sheets. Each keeps "Left",
// "Top", "Right" and "Bottom" (screen pixels) in a section named after it ("SelectDlgPos",
// ...). A "Left" of 3000 or more, the default, means that no position is stored and the
// dialog opens where the window system places it.

#include "platform/iniprofile.h"

#include <array>
#include <optional>
#include <string_view>

namespace vespario {

inline constexpr int kNoDialogPosition = 3000;

// Every section in use. "WebDlgPos" (the web services window) keeps only Left and Top.
inline constexpr std::array<std::string_view, 16> kDialogPositionSections = {
    "SortDlgPos",   "SelectDlgPos",   "CoordDlgPos",    "DistDlgPos",
    "TimeDlgPos",   "SearchDlgPos",   "EditErrsDlgPos", "WhatsUpDlgPos",
    "MailToDlgPos", "SetAllDlgPos",   "ScanDlgPos",     "MailSetupDlgPos",
    "ImportDlgPos", "SettingsDlgPos", "ReportDlgPos",   "WebDlgPos"};
inline constexpr std::string_view kWebDialogSection = "WebDlgPos";

struct DialogRect {
    int left = kNoDialogPosition;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The stored rectangle of a dialog, or nullopt when none is stored (Left of 3000 or more).
std::optional<DialogRect> StoredDialogPosition(const platform::IniProfile &profile,
                                               std::string_view section);
// The four values as stored, with the defaults (3000, 0, 0, 0) for missing keys.
DialogRect ReadDialogPosition(const platform::IniProfile &profile, std::string_view section);

// Stores a closing dialog's rectangle, unless its left edge is 3000 or more. The web
// services window's section gets only Left and Top.
void StoreDialogPosition(platform::IniProfile &profile, std::string_view section,
                         const DialogRect &rect);

// The View command "Default Window Sizes": "Left" = 3000 in every section, so that every
// dialog opens at its default place again. (The window then moves the main window back to
// its stored rectangle, GeneralSettings' left, top, width and height.)
void ForgetDialogPositions(platform::IniProfile &profile);

// Older profiles kept the positions in "Screen Location" under "SelectLeft", "SelectTop",
// "SelectRight", "SelectBottom" and so on for Select, Sort, Coord, Time, Dist, Search,
// EditErrs, WhatsUp and MailTo. Each name whose "Left" key exists has its four keys removed
// and its values written to its own section ("SelectDlgPos"), a Left below 1 becoming 3000.
// Returns the number of dialogs moved.
int MigrateLegacyDialogPositions(platform::IniProfile &profile);

} // namespace vespario
