#include "settings/generalsettings.h"

#include "settings/profiletext.h"
#include "settings/staratlasorder.h"

#include <algorithm>

namespace vespario {

namespace {

enum KeyFlags {
    kReadWrite = 0,
    kReadOnly = 1,     // loaded, never written
    kNonEmptyOnly = 2, // written only when not empty; an empty one removes the key
};

// The table of keys, in the order in which they are loaded and saved. S is GeneralSettings
// or const GeneralSettings; the visitor's Int and Text see each field with its default.
template <class S, class Visitor> void VisitTable(S &s, Visitor &&v) {
    constexpr std::string_view kScreen = "Screen Location";
    v.Int(kScreen, "Left", s.left, 0, kReadWrite);
    v.Int(kScreen, "Top", s.top, 0, kReadWrite);
    v.Int(kScreen, "Right", s.width, 640, kReadWrite);
    v.Int(kScreen, "Bottom", s.height, 480, kReadWrite);
    v.Int(kScreen, "Split2_1", s.split2_1, 76, kReadWrite);
    v.Int(kScreen, "Split3_1", s.split3_1, 100, kReadWrite);
    v.Int(kScreen, "Split3_2", s.split3_2, 440, kReadWrite);
    v.Int(kScreen, "Split5_1", s.split5_1, 40, kReadWrite);
    v.Int(kScreen, "Split5_2", s.split5_2, 55, kReadWrite);
    v.Int(kScreen, "Split5_3", s.split5_3, 40, kReadWrite);
    v.Int(kScreen, "Split5_4", s.split5_4, 40, kReadWrite);
    v.Int("GreekHandling", "Internal", s.greekHandling, 1, kReadWrite);
    v.Int("Font", "Height", s.fontHeight, -10, kReadWrite);
    v.Int("Font", "CharSet", s.fontCharSet, 0, kReadWrite);
    v.Text("Font", "Name", s.fontName, "Vespario", kReadWrite);
    v.Int("Font", "Weight", s.fontWeight, 400, kReadWrite);
    v.Int("Font", "Italic", s.fontItalic, 0, kReadWrite);
    v.Int("Font", "Underline", s.fontUnderline, 0, kReadWrite);
    constexpr std::string_view kSettings = "Settings";
    v.Int(kSettings, "LockSci", s.lockSci, 1, kReadWrite);
    v.Int(kSettings, "ShowAbbrev", s.showAbbrev, 1, kReadWrite);
    v.Int(kSettings, "CurPage", s.curPage, 0, kReadWrite);
    v.Int(kSettings, "Tutorial", s.tutorial, 1, kReadWrite);
    v.Int(kSettings, "AutoBuild", s.autoBuild, 1, kReadWrite);
    v.Text(kSettings, "ReplSrc", s.replSrc, "", kReadOnly);
    v.Int(kSettings, "ReplWithin", s.replWithin, 2, kReadOnly);
    v.Text(kSettings, "PosnSrc", s.posnSrc, "", kReadWrite);
    v.Text(kSettings, "DefaultNear", s.defaultNear, "5", kReadWrite);
    v.Text(kSettings, "SearchFavorite", s.searchFavorite, "[123]", kReadWrite);
    v.Int(kSettings, "NumBackupLevels", s.numBackupLevels, 1, kReadWrite);
    v.Int(kSettings, "LowMemory", s.lowMemory, 0, kReadWrite);
    v.Int(kSettings, "CurWebPage", s.curWebPage, 0, kReadWrite);
    for (size_t i = 0; i < s.starAtlas.size(); ++i)
        v.Int(kSettings, "StarAtlas" + std::to_string(i), s.starAtlas[i], kStarAtlasFields[i],
              kReadWrite);
    v.Int("FileRead", "NumRecs", s.numRecs, 40000, kReadWrite);
    v.Int("FileRead", "DelAuthor", s.delAuthor, 0, kReadWrite);
    v.Int("Report", "Units", s.reportUnits, 0, kReadWrite);
    v.Int("Timing", "First", s.timingFirst, 500, kReadWrite);
    v.Int("Timing", "Second", s.timingSecond, 100, kReadWrite);
    v.Int("File", "RecordWidth", s.recordWidth, 70, kReadWrite);
    constexpr std::string_view kMail = "Mail";
    v.Text(kMail, "Server", s.mailServer, "", kReadWrite);
    v.Text(kMail, "Address", s.mailAddress, "", kReadWrite);
    v.Text(kMail, "NewsServer", s.newsServer, "", kReadWrite);
    v.Text(kMail, "Name", s.mailName, "", kReadWrite);
    v.Int(kMail, "CopyMe", s.copyMe, 1, kReadWrite);
    for (size_t i = 0; i < s.emailTo.size(); ++i)
        v.Text(kMail, "EmailTo" + std::to_string(i), s.emailTo[i], "", kNonEmptyOnly);
    for (size_t i = 0; i < s.postTo.size(); ++i)
        v.Text(kMail, "PostTo" + std::to_string(i), s.postTo[i], "", kNonEmptyOnly);
}

struct Loader {
    const platform::IniProfile &profile;
    void Int(std::string_view section, std::string_view key, int &value, int defaultValue, int) {
        value = profile.GetInt(section, key, defaultValue);
    }
    void Text(std::string_view section, std::string_view key, std::string &value,
              std::string_view defaultValue, int) {
        value = ReadProfileText(profile, section, key, defaultValue);
    }
};

struct Saver {
    platform::IniProfile &profile;
    void Int(std::string_view section, std::string_view key, int value, int, int flags) {
        if (!(flags & kReadOnly))
            profile.WriteInt(section, key, value);
    }
    void Text(std::string_view section, std::string_view key, const std::string &value,
              std::string_view, int flags) {
        if (flags & kReadOnly)
            return;
        if ((flags & kNonEmptyOnly) && value.empty()) {
            // Writing only the filled entries would leave a removed one in the file, and
            // it would come back at the next start.
            profile.WriteString(section, key, std::nullopt);
            return;
        }
        profile.WriteString(section, key, value);
    }
};

struct Printer {
    const std::function<void(std::string_view, std::string_view, const std::string &)> &visit;
    void Int(std::string_view section, std::string_view key, int value, int, int) {
        visit(section, key, std::to_string(value));
    }
    void Text(std::string_view section, std::string_view key, const std::string &value,
              std::string_view, int flags) {
        if (!(flags & kNonEmptyOnly) || !value.empty())
            visit(section, key, value);
    }
};

int Flag(int value) {
    return value != 0 ? 1 : 0;
}

// Values the program cannot work with become their default or the nearest usable value.
void MakeUsable(GeneralSettings &s) {
    const GeneralSettings defaults;
    if (s.width < 1 || s.height < 1) {
        s.width = defaults.width;
        s.height = defaults.height;
    }
    if (s.greekHandling < 0 || s.greekHandling > 2)
        s.greekHandling = defaults.greekHandling;
    if (s.fontName.size() >= kFontNameBytes)
        s.fontName.resize(kFontNameBytes - 1);
    if (s.fontWeight < 0 || s.fontWeight > 1000)
        s.fontWeight = defaults.fontWeight;
    s.fontItalic = Flag(s.fontItalic);
    s.fontUnderline = Flag(s.fontUnderline);
    s.curPage = SettingsPageFromProfile(s.curPage);
    if (s.curWebPage < 0)
        s.curWebPage = defaults.curWebPage;
    RepairStarAtlasOrder(s.starAtlas);
    if (s.numRecs < 1)
        s.numRecs = defaults.numRecs;
    if (s.reportUnits < 0 || s.reportUnits > 2)
        s.reportUnits = defaults.reportUnits;
    s.timingFirst = std::max(s.timingFirst, kMinimumSliceMs);
    s.timingSecond = std::max(s.timingSecond, kMinimumSliceMs);
    if (s.recordWidth < 1)
        s.recordWidth = defaults.recordWidth;
}

// The text of the first value named exactly name (case-sensitive), if it fits the
// platform's 100-byte buffers.
std::string FindRegistryValue(const platform::Registry &registry, std::string_view keyPath,
                              std::string_view name) {
    constexpr size_t kBufferBytes = 100;
    const auto values = registry.EnumerateValues(platform::Registry::Root::CurrentUser, keyPath);
    if (!values)
        return {};
    for (const platform::Registry::Value &value : *values) {
        if (value.name.size() >= kBufferBytes || value.data.size() >= kBufferBytes)
            continue;
        if (value.name == name)
            return CutAtNul(value.data);
    }
    return {};
}

} // namespace

int SettingsPageFromProfile(int stored) {
    if (stored == 9)
        return 5;
    return stored >= 0 && stored < kSettingsPageCount ? stored : 0;
}

void LoadGeneralSettings(const platform::IniProfile &profile, GeneralSettings &settings) {
    VisitTable(settings, Loader{profile});
    MakeUsable(settings);
}

void SaveGeneralSettings(const GeneralSettings &settings, platform::IniProfile &profile) {
    VisitTable(settings, Saver{profile});
}

void ForEachSetting(
    const GeneralSettings &settings,
    const std::function<void(std::string_view, std::string_view, const std::string &)> &visit) {
    VisitTable(settings, Printer{visit});
}

void LookUpMailDefaults(const platform::Registry &registry, GeneralSettings &settings) {
    if (settings.mailServer.empty())
        settings.mailServer = FindRegistryValue(
            registry, "Software\\Netscape\\Netscape Navigator\\Services", "SMTP_Server");
    if (settings.mailAddress.empty())
        settings.mailAddress = FindRegistryValue(
            registry, "Software\\Netscape\\Netscape Navigator\\User", "User_Addr");
}

} // namespace vespario
