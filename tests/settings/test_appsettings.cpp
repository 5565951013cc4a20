// Start-up and exit of the settings with real profile files: where the profile is found and
// moved, an older installation's profile migrated once, and damaged or hostile profiles.

#include "settings/appsettings.h"

#include "settings/dialogpositions.h"
#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vespario {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class StartUp : public ::testing::Test {
protected:
    std::string ProfileFolder() const { return root.File("config/Vespario"); }
    std::string CurrentFolder() const { return root.File("work"); }
    std::string ProfilePath() const { return ProfileFolder() + "/Vespario.ini"; }
    std::string RegistryPath() const { return ProfileFolder() + "/registry.ini"; }
    void SetUp() override { fs::create_directories(CurrentFolder()); }
    bool Start(AppSettings &settings) {
        return settings.Start(ProfileFolder(), CurrentFolder(), RegistryPath());
    }
    TempFolder root;
};

TEST_F(StartUp, AProfileOnlyInTheCurrentFolderIsMovedIntoTheProfileFolder) {
    const std::string old = CurrentFolder() + "/Vespario.ini";
    TempFolder::Write(old, "[Settings]\r\nLockSci=0\r\n");
    AppSettings settings;
    ASSERT_TRUE(Start(settings)) << settings.Error();
    EXPECT_TRUE(settings.Location().moved);
    EXPECT_EQ(settings.Location().path, ProfilePath());
    EXPECT_FALSE(fs::exists(old));
    EXPECT_EQ(TempFolder::Read(ProfilePath()), "[Settings]\r\nLockSci=0\r\n");
    EXPECT_EQ(settings.General().lockSci, 0);
}

TEST_F(StartUp, AProfileInTheProfileFolderWinsOverOneInTheCurrentFolder) {
    fs::create_directories(ProfileFolder());
    TempFolder::Write(ProfilePath(), "[Settings]\r\nTutorial=0\r\n");
    TempFolder::Write(CurrentFolder() + "/Vespario.ini", "[Settings]\r\nTutorial=7\r\n");
    AppSettings settings;
    ASSERT_TRUE(Start(settings));
    EXPECT_FALSE(settings.Location().moved);
    EXPECT_EQ(settings.General().tutorial, 0);
    EXPECT_EQ(TempFolder::Read(CurrentFolder() + "/Vespario.ini"), "[Settings]\r\nTutorial=7\r\n");
}

TEST_F(StartUp, AProfileThatCannotBeMovedIsReadWhereItIs) {
    TempFolder::Write(root.File("config"), "a file where the folder should be");
    TempFolder::Write(CurrentFolder() + "/Vespario.ini", "[Settings]\r\nTutorial=0\r\n");
    AppSettings settings;
    EXPECT_TRUE(Start(settings));
    EXPECT_FALSE(settings.Error().empty());
    EXPECT_EQ(settings.Location().path, CurrentFolder() + "/Vespario.ini");
    EXPECT_EQ(settings.General().tutorial, 0);
}

TEST_F(StartUp, NoProfileAnywhereGivesDefaultsAndExitCreatesItWithTheListings) {
    AppSettings settings;
    ASSERT_TRUE(Start(settings));
    EXPECT_EQ(settings.General().timingFirst, 500);
    EXPECT_EQ(settings.Vocabularies().Books().Count(), 46);
    EXPECT_FALSE(fs::exists(ProfilePath())); // nothing is written before exit
    ASSERT_TRUE(settings.Save()) << settings.Error();
    const std::string text = TempFolder::Read(ProfilePath());
    EXPECT_NE(text.find("[Screen Location]\r\nLeft=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("Book45=XU98;Explore the Universe, 4th edition, 1998\r\n"),
              std::string::npos);
    for (const char *name :
         {"CurType.txt", "CurSrc.txt", "CurTry.txt", "CurCheck.txt", "CurLoc.txt", "CurEquip.txt"})
        EXPECT_TRUE(fs::exists(ProfileFolder() + "/" + name)) << name;
}

TEST_F(StartUp, MailDefaultsComeFromTheRegistryBesideTheProfile) {
    fs::create_directories(ProfileFolder());
    TempFolder::Write(RegistryPath(),
                      "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Services]\n"
                      "SMTP_Server=smtp.example.org\n");
    AppSettings settings;
    ASSERT_TRUE(Start(settings));
    EXPECT_EQ(settings.General().mailServer, "smtp.example.org");
    EXPECT_EQ(settings.Profile().GetString("Mail", "Server"), "smtp.example.org");
}

TEST_F(StartUp, TheProfileInMemoryHoldsTheValuesAsLoaded) {
    fs::create_directories(ProfileFolder());
    TempFolder::Write(ProfilePath(), "[GreekHandling]\r\nInternal=7\r\n[Timing]\r\nFirst=1\r\n");
    AppSettings settings;
    ASSERT_TRUE(Start(settings));
    // What reads the profile directly (the document) sees the same values as the settings.
    EXPECT_EQ(settings.Profile().GetInt("GreekHandling", "Internal", -1), 1);
    EXPECT_EQ(settings.Profile().GetInt("Timing", "First", -1), 5);
    EXPECT_EQ(settings.Profile().GetInt("Settings", "AutoBuild", -1), 1);
    EXPECT_EQ(TempFolder::Read(ProfilePath()),
              "[GreekHandling]\r\nInternal=7\r\n[Timing]\r\nFirst=1\r\n");
}

// A profile as an older installation left it in its current folder: one location in
// "Location", dialog positions in "Screen Location", places with codes and names only.
constexpr std::string_view kOlderInstallation =
    "[Screen Location]\r\nLeft=10\r\nTop=20\r\nRight=800\r\nBottom=600\r\n"
    "SelectLeft=100\r\nSelectTop=110\r\nSelectRight=500\r\nSelectBottom=400\r\n"
    "SortLeft=-4\r\nSortTop=0\r\nSortRight=300\r\nSortBottom=200\r\n"
    "[Location]\r\nLatitude=42.33\r\nLongitude=-83.036944444\r\nTimeZone=-5\r\n"
    "UseDaylight=1\r\n"
    "[Settings]\r\nObsTimeIsUT=0\r\nObsTimeIsForDate=0\r\nCurPage=9\r\n"
    "StarAtlas0=26\r\nStarAtlas1=26\r\nStarAtlas2=26\r\nStarAtlas3=26\r\nStarAtlas4=26\r\n"
    "StarAtlas5=26\r\nStarAtlas6=26\r\n"
    "[ObsPlace]\r\nNumberOf=2\r\nPlace0=h=Home\r\nPlace1=d=Dark site\r\nDefault=100\r\n"
    "[ObsEquip]\r\nNumberOf=1\r\nEquip0=8=8 inch reflector\r\n";

TEST_F(StartUp, AnOlderInstallationIsMigratedOnceAndLeftAloneOnTheSecondStart) {
    TempFolder::Write(CurrentFolder() + "/Vespario.ini", kOlderInstallation);
    AppSettings first;
    ASSERT_TRUE(Start(first));
    EXPECT_TRUE(first.Location().moved);
    const std::string fields = "|-83.0369|42.33|-5|1|3|0|9|5|0|0|EST|EDT";
    EXPECT_EQ(first.Vocabularies().Places().Entry(1), "d=Dark site" + fields);
    EXPECT_EQ(first.Vocabularies().CurrentPlace().Name(), "Dark site");
    EXPECT_EQ(first.General().curPage, 5);
    EXPECT_EQ(first.General().starAtlas, (std::array<int, 7>{26, 27, 48, 49, 67, 68, 74}));
    ASSERT_TRUE(first.Save());
    const std::string afterFirst = TempFolder::Read(ProfilePath());

    platform::IniProfile saved;
    saved.SetText(afterFirst);
    EXPECT_FALSE(saved.HasSection("Location") && saved.HasKey("Location", "Latitude"));
    EXPECT_FALSE(saved.HasKey("Settings", "ObsTimeIsUT"));
    for (const char *key : {"SelectLeft", "SelectTop", "SortLeft", "SortBottom"})
        EXPECT_FALSE(saved.HasKey("Screen Location", key)) << key;
    const auto select = StoredDialogPosition(saved, "SelectDlgPos");
    ASSERT_TRUE(select.has_value());
    EXPECT_EQ(select->Width(), 400);
    EXPECT_FALSE(StoredDialogPosition(saved, "SortDlgPos").has_value()); // Left below 1
    EXPECT_EQ(saved.GetInt("Screen Location", "Right", 0), 800);
    EXPECT_EQ(saved.GetString("ObsPlace", "Place0"), "h=Home" + fields);
    EXPECT_EQ(saved.GetInt("Settings", "CurPage", -1), 5);

    AppSettings second;
    ASSERT_TRUE(Start(second));
    EXPECT_FALSE(second.Location().moved);
    EXPECT_EQ(second.Vocabularies().Places().Entries(), first.Vocabularies().Places().Entries());
    ASSERT_TRUE(second.Save());
    EXPECT_EQ(TempFolder::Read(ProfilePath()), afterFirst);
}

// The profile is saved; a listing file that cannot be written is named, not dropped.
TEST_F(StartUp, AListingFileThatCannotBeWrittenIsNamed) {
    AppSettings settings;
    ASSERT_TRUE(Start(settings));
    fs::create_directories(ProfileFolder() + "/CurLoc.txt"); // a folder in the way
    ASSERT_TRUE(settings.Save()) << settings.Error();
    EXPECT_TRUE(fs::exists(ProfilePath()));
    EXPECT_NE(settings.ListingError().find("CurLoc.txt"), std::string::npos)
        << settings.ListingError();
    EXPECT_FALSE(settings.SettingsSheetClosed());
    fs::remove(ProfileFolder() + "/CurLoc.txt");
    EXPECT_TRUE(settings.SettingsSheetClosed());
    EXPECT_EQ(settings.ListingError(), "");
}

TEST_F(StartUp, AnUnreadableProfileGivesDefaultsAndIsNeverOverwritten) {
    fs::create_directories(ProfilePath()); // a folder named like the profile
    AppSettings settings;
    EXPECT_FALSE(Start(settings));
    EXPECT_FALSE(settings.Error().empty());
    EXPECT_EQ(settings.General().width, 640);
    EXPECT_FALSE(settings.Save());
    EXPECT_TRUE(fs::is_directory(ProfilePath()));
}

TEST_F(StartUp, AProfileTooLargeToBeOneIsRefusedAndKept) {
    fs::create_directories(ProfileFolder());
    {
        std::ofstream out(ProfilePath(), std::ios::binary);
        out.seekp(static_cast<std::streamoff>(platform::IniProfile::kMaxFileBytes) + 1);
        out.put('x');
    }
    AppSettings settings;
    EXPECT_FALSE(Start(settings));
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(fs::file_size(ProfilePath()), platform::IniProfile::kMaxFileBytes + 2);
}

// --- damaged and hostile profiles ------------------------------------------------------------

class HostileProfile : public StartUp {
protected:
    AppSettings LoadText(const std::string &text) {
        fs::create_directories(ProfileFolder());
        TempFolder::Write(ProfilePath(), text);
        AppSettings settings;
        EXPECT_TRUE(Start(settings)) << settings.Error();
        return settings;
    }
    // Whatever was loaded saves and loads again to the same values.
    void ExpectStableRoundTrip(AppSettings &settings) {
        ASSERT_TRUE(settings.Save()) << settings.Error();
        const std::string once = TempFolder::Read(ProfilePath());
        AppSettings again;
        ASSERT_TRUE(Start(again));
        ASSERT_TRUE(again.Save());
        EXPECT_EQ(TempFolder::Read(ProfilePath()), once);
    }
};

TEST_F(HostileProfile, BinaryBytes) {
    std::mt19937 random(61);
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += static_cast<char>(random() % 256);
    using namespace std::literals;
    text += "\n[Settings]\nLockSci=0\x01\x02\n[ObjectType]\nNumberOf=2\nType0=e\0g=Galaxy\n"sv;
    AppSettings settings = LoadText(text);
    EXPECT_EQ(settings.General().lockSci, 0);
    EXPECT_EQ(settings.Vocabularies().Types().Entry(0), "e"); // a NUL ends a value
    EXPECT_EQ(settings.Vocabularies().Types().Count(), 2);
    ExpectStableRoundTrip(settings);
}

TEST_F(HostileProfile, CountsOfTwoToThe31AndMinusFive) {
    AppSettings settings =
        LoadText("[ObjectType]\r\nNumberOf=2147483648\r\n[ObjectSource]\r\nNumberOf=-5\r\n"
                 "[Book]\r\nNumberOf=2147483648\r\n[Mag]\r\nNumberOf=-5\r\n"
                 "[Edit]\r\nNumberOf=4294967295\r\n[Planetaria]\r\nNumberOf=99999999999\r\n");
    const SettingsVocabularies &v = settings.Vocabularies();
    // Counts beyond the range of int saturate, so they are cut to the capacity.
    EXPECT_EQ(v.Types().Count(), 100);
    EXPECT_EQ(v.Sources().Count(), 0);
    EXPECT_EQ(v.Books().Count(), 200);
    EXPECT_EQ(v.Magazines().Count(), 9);
    EXPECT_EQ(v.EditChecks().Count(), 150);
    EXPECT_LE(v.Planetaria().Count(), 32);
    ExpectStableRoundTrip(settings);
}

TEST_F(HostileProfile, AHundredThousandKeys) {
    std::string text = "[ObjectType]\r\nNumberOf=100000\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "Type" + std::to_string(i) + "=t" + std::to_string(i % 10) + "=Type\r\n";
    text += "[Settings]\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "Junk" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    text += "LockSci=0\r\n";
    AppSettings settings = LoadText(text);
    EXPECT_EQ(settings.Vocabularies().Types().Count(), 100);
    EXPECT_EQ(settings.Vocabularies().Types().Entry(99), "t9=Type");
    EXPECT_EQ(settings.General().lockSci, 0);
    ExpectStableRoundTrip(settings);
}

TEST_F(HostileProfile, MegabyteLines) {
    const std::string huge(1 << 20, 'w');
    AppSettings settings = LoadText("[Font]\r\nName=" + huge +
                                    "\r\n[ObsPlace]\r\nNumberOf=1\r\n"
                                    "Place0=h=" +
                                    huge + "|1|2|3\r\n[Settings]\r\nPosnSrc=" + huge + "\r\n" +
                                    huge + "\r\n[" + huge + "]\r\n");
    EXPECT_EQ(settings.General().fontName.size(), 31u);
    EXPECT_EQ(settings.General().posnSrc.size(), huge.size());
    EXPECT_EQ(settings.Vocabularies().CurrentPlace().Name().size(), huge.size());
    EXPECT_DOUBLE_EQ(settings.Vocabularies().CurrentPlace().Latitude(), 2.0);
    ExpectStableRoundTrip(settings);
}

TEST_F(HostileProfile, MissingSectionsAndHalfWrittenLines) {
    AppSettings settings = LoadText("[Settings\r\nLockSci=0\r\n[ObsPlace]\r\nNumberOf=1\r\n"
                                    "Place0\r\n[Timing]\r\nFirst\r\nSecond==7\r\n");
    EXPECT_EQ(settings.General().lockSci, 1); // it belongs to no section: "[Settings" is none
    EXPECT_EQ(settings.General().timingFirst, 500);
    EXPECT_EQ(settings.General().timingSecond, 5); // "=7" does not begin with a number
    EXPECT_EQ(settings.Vocabularies().Places().Entry(0), "");
    EXPECT_EQ(settings.Vocabularies().CurrentPlace().Code(), '\0');
    ExpectStableRoundTrip(settings);
}

} // namespace
} // namespace vespario
