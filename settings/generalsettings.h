#pragma once
// The general settings of the program: every key of the profile outside the vocabularies,
// with its default, loaded once at start-up and written back at exit, both in the order of
// the table below (ForEachSetting walks it).
//
//   Screen Location  Left Top Right Bottom (0 0 640 480; Right and Bottom hold the width
//                    and height), Split2_1 (76), Split3_1 Split3_2 (100 440),
//                    Split5_1..Split5_4 (40 55 40 40)
//   GreekHandling    Internal (1)
//   Font             Height (-10) CharSet (0) Name ("Vespario") Weight (400) Italic (0)
//                    Underline (0)
//   Settings         LockSci (1) ShowAbbrev (1) CurPage (0) Tutorial (1) AutoBuild (1)
//                    ReplSrc ("", read only) ReplWithin (2, read only) PosnSrc ("")
//                    DefaultNear ("5") SearchFavorite ("[123]") NumBackupLevels (1)
//                    LowMemory (0) CurWebPage (0) StarAtlas0..StarAtlas6 (26 27 48 49 67
//                    68 74)
//   FileRead         NumRecs (40000) DelAuthor (0)
//   Report           Units (0)
//   Timing           First (500) Second (100)
//   File             RecordWidth (70)
//   Mail             Server Address NewsServer Name ("") CopyMe (1) EmailTo0..EmailTo19
//                    PostTo0..PostTo19 ("", only non-empty entries are written)

#include "platform/iniprofile.h"
#include "platform/registry.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace vespario {

// The program's home page: the credit line of reports and exported pages links to it.
inline constexpr std::string_view kVesparioHomePage = "https://vespario.example.org/";

inline constexpr int kSettingsPageCount = 11;    // pages of the Settings sheet
inline constexpr int kMinimumSliceMs = 5;        // shortest idle-time slice
inline constexpr size_t kFontNameBytes = 32;     // the face name's buffer, with its NUL
inline constexpr int kRememberedRecipients = 20; // "EmailTo%i" and "PostTo%i"
inline constexpr int kStarAtlasCount = 7;

struct GeneralSettings {
    // "Screen Location": the main window and its splitter panes.
    int left = 0;
    int top = 0;
    int width = 640;  // key "Right"
    int height = 480; // key "Bottom"
    int split2_1 = 76;
    int split3_1 = 100;
    int split3_2 = 440;
    int split5_1 = 40;
    int split5_2 = 55;
    int split5_3 = 40;
    int split5_4 = 40;
    // "GreekHandling": 0 DOS character set, 1 the program's own set, 2 ASCII.
    int greekHandling = 1;
    // "Font": the record views' display font.
    int fontHeight = -10;
    int fontCharSet = 0;
    std::string fontName = "Vespario";
    int fontWeight = 400;
    int fontItalic = 0;
    int fontUnderline = 0;
    // "Settings".
    int lockSci = 1;
    int showAbbrev = 1;
    int curPage = 0;
    int tutorial = 1;
    int autoBuild = 1;
    std::string replSrc; // read only
    int replWithin = 2;  // read only
    std::string posnSrc; // the source codes whose objects need a position
    std::string defaultNear = "5";
    std::string searchFavorite = "[123]";
    int numBackupLevels = 1;
    int lowMemory = 0;
    int curWebPage = 0;
    std::array<int, kStarAtlasCount> starAtlas = {26, 27, 48, 49, 67, 68, 74};
    // "FileRead".
    int numRecs = 40000;
    int delAuthor = 0;
    // "Report": 0 inch, 1 mm, 2 characters.
    int reportUnits = 0;
    // "Timing": idle-time slices in milliseconds, never below kMinimumSliceMs.
    int timingFirst = 500;
    int timingSecond = 100;
    // "File".
    int recordWidth = 70;
    // "Mail".
    std::string mailServer;
    std::string mailAddress;
    std::string newsServer;
    std::string mailName;
    int copyMe = 1;
    std::array<std::string, kRememberedRecipients> emailTo;
    std::array<std::string, kRememberedRecipients> postTo;
};

// Reads every key of the table from the profile in table order; a missing key takes its
// default and a value the program cannot use (a Greek set other than 0 to 2, a Settings page
// that does not exist, a slice below 5 ms, a window without width, ...) takes its default
// or the nearest usable value. The star-atlas order is repaired (RepairStarAtlasOrder).
void LoadGeneralSettings(const platform::IniProfile &profile, GeneralSettings &settings);

// Writes every key of the table in table order, except the read-only "ReplSrc" and
// "ReplWithin"; a remembered recipient or newsgroup that is empty has its key removed.
void SaveGeneralSettings(const GeneralSettings &settings, platform::IniProfile &profile);

// Calls visit(section, key, value) for every key of the table, in table order, with the
// value as it would be written; empty remembered recipients and newsgroups are left out.
void ForEachSetting(
    const GeneralSettings &settings,
    const std::function<void(std::string_view, std::string_view, const std::string &)> &visit);

// When "Mail"/"Server" or "Mail"/"Address" is empty, looks for the browser's mail settings
// in the registry: "SMTP_Server" under HKEY_CURRENT_USER
// "Software\Netscape\Netscape Navigator\Services" and "User_Addr" under
// "Software\Netscape\Netscape Navigator\User", value names compared case-sensitively. Names
// and data of 100 bytes or more (with their terminating NUL) are passed over, as the
// platform's enumeration with 100-byte buffers would not return them.
void LookUpMailDefaults(const platform::Registry &registry, GeneralSettings &settings);

// The Settings sheet page that a stored "CurPage" opens: 9 is read as 5 (Places), and a
// number that is no page's opens the first page.
int SettingsPageFromProfile(int stored);

} // namespace vespario
