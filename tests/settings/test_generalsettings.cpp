// The general settings: defaults, the order of the keys, the values the program cannot use,
// the read-only keys, the remembered recipients and the mail defaults from the registry.

#include "settings/generalsettings.h"

#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vespario {
namespace {

platform::IniProfile FromText(std::string_view text) {
    platform::IniProfile profile;
    profile.SetText(text);
    return profile;
}

// Every key of the table with its default, in table order, as a profile that had none of
// them is written.
const std::string kDefaultsFile =
    "[Screen Location]\r\nLeft=0\r\nTop=0\r\nRight=640\r\nBottom=480\r\nSplit2_1=76\r\n"
    "Split3_1=100\r\nSplit3_2=440\r\nSplit5_1=40\r\nSplit5_2=55\r\nSplit5_3=40\r\n"
    "Split5_4=40\r\n\r\n"
    "[GreekHandling]\r\nInternal=1\r\n\r\n"
    "[Font]\r\nHeight=-10\r\nCharSet=0\r\nName=Vespario\r\nWeight=400\r\nItalic=0\r\n"
    "Underline=0\r\n\r\n"
    "[Settings]\r\nLockSci=1\r\nShowAbbrev=1\r\nCurPage=0\r\nTutorial=1\r\nAutoBuild=1\r\n"
    "PosnSrc=\r\nDefaultNear=5\r\nSearchFavorite=[123]\r\nNumBackupLevels=1\r\n"
    "LowMemory=0\r\nCurWebPage=0\r\nStarAtlas0=26\r\nStarAtlas1=27\r\nStarAtlas2=48\r\n"
    "StarAtlas3=49\r\nStarAtlas4=67\r\nStarAtlas5=68\r\nStarAtlas6=74\r\n\r\n"
    "[FileRead]\r\nNumRecs=40000\r\nDelAuthor=0\r\n\r\n"
    "[Report]\r\nUnits=0\r\n\r\n"
    "[Timing]\r\nFirst=500\r\nSecond=100\r\n\r\n"
    "[File]\r\nRecordWidth=70\r\n\r\n"
    "[Mail]\r\nServer=\r\nAddress=\r\nNewsServer=\r\nName=\r\nCopyMe=1\r\n";

TEST(GeneralSettings, EmptyProfileGivesEveryDefaultWrittenInTableOrder) {
    GeneralSettings settings;
    settings.lockSci = 0; // loading must overwrite what was there
    LoadGeneralSettings(platform::IniProfile(), settings);
    platform::IniProfile written;
    SaveGeneralSettings(settings, written);
    EXPECT_EQ(written.Text(), kDefaultsFile);
    // The read-only keys hold their defaults all the same.
    EXPECT_EQ(settings.replSrc, "");
    EXPECT_EQ(settings.replWithin, 2);
}

TEST(GeneralSettings, StoredValuesAreReadAndWrittenBackUnchanged) {
    std::string text = kDefaultsFile;
    auto set = [&text](const std::string &from, const std::string &to) {
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    set("Left=0", "Left=12");
    set("Right=640", "Right=800");
    set("Split5_4=40", "Split5_4=77");
    set("Internal=1", "Internal=2");
    set("Name=Vespario", "Name=DejaVu Sans");
    set("CurPage=0", "CurPage=4");
    set("PosnSrc=", "PosnSrc=abz");
    set("SearchFavorite=[123]", "SearchFavorite=[45]");
    set("StarAtlas0=26\r\nStarAtlas1=27", "StarAtlas0=27\r\nStarAtlas1=26");
    set("Units=0", "Units=2");
    set("First=500", "First=250");
    set("Server=", "Server=smtp.example.org");
    set("CopyMe=1", "CopyMe=0\r\nEmailTo0=a@example.org\r\nPostTo19=sci.astro.amateur");
    GeneralSettings settings;
    LoadGeneralSettings(FromText(text), settings);
    EXPECT_EQ(settings.left, 12);
    EXPECT_EQ(settings.width, 800);
    EXPECT_EQ(settings.split5_4, 77);
    EXPECT_EQ(settings.greekHandling, 2);
    EXPECT_EQ(settings.fontName, "DejaVu Sans");
    EXPECT_EQ(settings.curPage, 4);
    EXPECT_EQ(settings.posnSrc, "abz");
    EXPECT_EQ(settings.starAtlas[0], 27);
    EXPECT_EQ(settings.starAtlas[1], 26);
    EXPECT_EQ(settings.reportUnits, 2);
    EXPECT_EQ(settings.timingFirst, 250);
    EXPECT_EQ(settings.mailServer, "smtp.example.org");
    EXPECT_EQ(settings.copyMe, 0);
    EXPECT_EQ(settings.emailTo[0], "a@example.org");
    EXPECT_EQ(settings.postTo[19], "sci.astro.amateur");
    platform::IniProfile profile = FromText(text);
    SaveGeneralSettings(settings, profile);
    EXPECT_EQ(profile.Text(), text);
}

TEST(GeneralSettings, ReadOnlyKeysAreLoadedButNeverWritten) {
    platform::IniProfile profile = FromText("[Settings]\r\nReplSrc=ab\r\nReplWithin=7\r\n");
    GeneralSettings settings;
    LoadGeneralSettings(profile, settings);
    EXPECT_EQ(settings.replSrc, "ab");
    EXPECT_EQ(settings.replWithin, 7);
    settings.replSrc = "changed";
    settings.replWithin = 1;
    SaveGeneralSettings(settings, profile);
    EXPECT_EQ(profile.GetString("Settings", "ReplSrc"), "ab");
    EXPECT_EQ(profile.GetInt("Settings", "ReplWithin", 0), 7);
    platform::IniProfile fresh;
    SaveGeneralSettings(settings, fresh);
    EXPECT_FALSE(fresh.HasKey("Settings", "ReplSrc"));
    EXPECT_FALSE(fresh.HasKey("Settings", "ReplWithin"));
}

TEST(GeneralSettings, OnlyFilledRecipientsAreWrittenAndAClearedOneLeavesTheFile) {
    platform::IniProfile profile =
        FromText("[Mail]\r\nEmailTo0=a@example.org\r\nEmailTo3=b@example.org\r\n"
                 "PostTo1=sci.astro\r\n");
    GeneralSettings settings;
    LoadGeneralSettings(profile, settings);
    EXPECT_EQ(settings.emailTo[3], "b@example.org");
    settings.emailTo[0].clear();
    settings.postTo[5] = "sci.astro.amateur";
    SaveGeneralSettings(settings, profile);
    EXPECT_FALSE(profile.HasKey("Mail", "EmailTo0"));
    EXPECT_EQ(profile.GetString("Mail", "EmailTo3"), "b@example.org");
    EXPECT_EQ(profile.GetString("Mail", "PostTo5"), "sci.astro.amateur");
    for (int i : {1, 2, 4, 19})
        EXPECT_FALSE(profile.HasKey("Mail", "EmailTo" + std::to_string(i))) << i;
    GeneralSettings again;
    LoadGeneralSettings(profile, again);
    EXPECT_EQ(again.emailTo, settings.emailTo);
    EXPECT_EQ(again.postTo, settings.postTo);
}

struct UsableCase {
    const char *section;
    const char *key;
    const char *stored;
    std::function<int(const GeneralSettings &)> field;
    int expected;
};

class UnusableValues : public ::testing::TestWithParam<UsableCase> {};

TEST_P(UnusableValues, BecomeTheirDefaultOrTheNearestUsableValue) {
    const UsableCase &c = GetParam();
    platform::IniProfile profile;
    profile.WriteString(c.section, c.key, c.stored);
    GeneralSettings settings;
    LoadGeneralSettings(profile, settings);
    EXPECT_EQ(c.field(settings), c.expected) << c.section << "/" << c.key << "=" << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    GeneralSettings, UnusableValues,
    ::testing::Values(
        UsableCase{"Timing", "First", "1", [](auto &s) { return s.timingFirst; }, 5},
        UsableCase{"Timing", "First", "-20", [](auto &s) { return s.timingFirst; }, 5},
        UsableCase{"Timing", "First", "5", [](auto &s) { return s.timingFirst; }, 5},
        UsableCase{"Timing", "First", "6", [](auto &s) { return s.timingFirst; }, 6},
        UsableCase{"Timing", "Second", "0", [](auto &s) { return s.timingSecond; }, 5},
        UsableCase{"Settings", "CurPage", "9", [](auto &s) { return s.curPage; }, 5},
        UsableCase{"Settings", "CurPage", "10", [](auto &s) { return s.curPage; }, 10},
        UsableCase{"Settings", "CurPage", "11", [](auto &s) { return s.curPage; }, 0},
        UsableCase{"Settings", "CurPage", "-1", [](auto &s) { return s.curPage; }, 0},
        UsableCase{"Settings", "CurPage", "2147483648", [](auto &s) { return s.curPage; }, 0},
        UsableCase{"GreekHandling", "Internal", "0", [](auto &s) { return s.greekHandling; }, 0},
        UsableCase{"GreekHandling", "Internal", "3", [](auto &s) { return s.greekHandling; }, 1},
        UsableCase{"GreekHandling", "Internal", "-1", [](auto &s) { return s.greekHandling; }, 1},
        UsableCase{"Screen Location", "Right", "0", [](auto &s) { return s.width; }, 640},
        UsableCase{"Screen Location", "Bottom", "-3", [](auto &s) { return s.height; }, 480},
        UsableCase{"Screen Location", "Left", "-300", [](auto &s) { return s.left; }, -300},
        UsableCase{"Font", "Weight", "5000", [](auto &s) { return s.fontWeight; }, 400},
        UsableCase{"Font", "Italic", "7", [](auto &s) { return s.fontItalic; }, 1},
        UsableCase{"Report", "Units", "3", [](auto &s) { return s.reportUnits; }, 0},
        UsableCase{"File", "RecordWidth", "0", [](auto &s) { return s.recordWidth; }, 70},
        UsableCase{"FileRead", "NumRecs", "-5", [](auto &s) { return s.numRecs; }, 40000},
        UsableCase{"Settings", "CurWebPage", "-2", [](auto &s) { return s.curWebPage; }, 0},
        UsableCase{"Settings", "LockSci", "garbage", [](auto &s) { return s.lockSci; }, 0},
        UsableCase{"Settings", "LockSci", "", [](auto &s) { return s.lockSci; }, 1}));

TEST(GeneralSettings, FontNameFitsItsBufferAndTextsEndAtANul) {
    platform::IniProfile profile;
    profile.WriteString("Font", "Name", std::string(40, 'f'));
    profile.WriteString("Settings", "PosnSrc", std::string("ab\0cd", 5));
    GeneralSettings settings;
    LoadGeneralSettings(profile, settings);
    EXPECT_EQ(settings.fontName, std::string(31, 'f'));
    EXPECT_EQ(settings.posnSrc, "ab");
}

TEST(GeneralSettings, StarAtlasOrderIsRepairedOnLoad) {
    platform::IniProfile profile;
    for (int i = 0; i < 7; ++i)
        profile.WriteInt("Settings", "StarAtlas" + std::to_string(i), 26);
    GeneralSettings settings;
    LoadGeneralSettings(profile, settings);
    EXPECT_EQ(settings.starAtlas, (std::array<int, 7>{26, 27, 48, 49, 67, 68, 74}));
}

TEST(GeneralSettings, ForEachSettingWalksTheWrittenKeysInOrder) {
    GeneralSettings settings;
    settings.emailTo[2] = "x@example.org";
    settings.replSrc = "q";
    std::vector<std::string> lines;
    ForEachSetting(settings, [&lines](std::string_view section, std::string_view key,
                                      const std::string &value) {
        lines.push_back(std::string(section) + "/" + std::string(key) + "=" + value);
    });
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "Screen Location/Left=0");
    EXPECT_EQ(lines.back(), "Mail/EmailTo2=x@example.org");
    // The read-only keys are shown too: they are part of what was loaded.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Settings/ReplSrc=q"), lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string &l) { return l.starts_with("Mail/EmailTo"); }),
              1);
}

// --- mail defaults from the registry ---------------------------------------------------------

class MailDefaults : public ::testing::Test {
protected:
    platform::Registry Hive(std::string_view text) {
        const std::string path = folder.File("registry.ini");
        test::TempFolder::Write(path, text);
        platform::Registry registry;
        EXPECT_TRUE(registry.Load(path));
        return registry;
    }
    test::TempFolder folder;
};

constexpr std::string_view kServices =
    "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Services]\r\n";
constexpr std::string_view kUser =
    "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\User]\r\n";

TEST_F(MailDefaults, EmptyServerAndAddressAreTakenFromTheBrowsersKeys) {
    const platform::Registry registry =
        Hive(std::string(kServices) +
             "NNTP_Server=news.example.org\r\n"
             "SMTP_Server=smtp.example.org\r\n" +
             std::string(kUser) + "User_Name=Ann\r\nUser_Addr=ann@example.org\r\n");
    GeneralSettings settings;
    LookUpMailDefaults(registry, settings);
    EXPECT_EQ(settings.mailServer, "smtp.example.org");
    EXPECT_EQ(settings.mailAddress, "ann@example.org");
    EXPECT_EQ(settings.newsServer, ""); // only the two values are looked up
}

TEST_F(MailDefaults, StoredSettingsWin) {
    const platform::Registry registry =
        Hive(std::string(kServices) + "SMTP_Server=smtp.example.org\r\n" + std::string(kUser) +
             "User_Addr=ann@example.org\r\n");
    GeneralSettings settings;
    settings.mailServer = "mine.example.org";
    LookUpMailDefaults(registry, settings);
    EXPECT_EQ(settings.mailServer, "mine.example.org");
    EXPECT_EQ(settings.mailAddress, "ann@example.org");
}

TEST_F(MailDefaults, NamesCompareCaseSensitivelyAndOverlongValuesArePassedOver) {
    const std::string longData(100, 'a'); // 100 bytes and the NUL do not fit 100 bytes
    const platform::Registry registry =
        Hive(std::string(kServices) + "smtp_server=wrong.example.org\r\n" + std::string(kUser) +
             "User_Addr=" + longData + "\r\n");
    GeneralSettings settings;
    LookUpMailDefaults(registry, settings);
    EXPECT_EQ(settings.mailServer, "");
    EXPECT_EQ(settings.mailAddress, "");
    const platform::Registry fits =
        Hive(std::string(kUser) + "User_Addr=" + std::string(99, 'b') + "\r\n");
    LookUpMailDefaults(fits, settings);
    EXPECT_EQ(settings.mailAddress, std::string(99, 'b'));
}

TEST_F(MailDefaults, MissingKeysAndAMissingHiveLeaveTheSettingsEmpty) {
    GeneralSettings settings;
    LookUpMailDefaults(Hive("[HKEY_CURRENT_USER\\Software\\Other]\r\nSMTP_Server=x\r\n"), settings);
    EXPECT_EQ(settings.mailServer, "");
    platform::Registry none;
    EXPECT_TRUE(none.Load(folder.File("missing.ini")));
    LookUpMailDefaults(none, settings);
    EXPECT_EQ(settings.mailAddress, "");
}

} // namespace
} // namespace vespario
