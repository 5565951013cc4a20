// The settings vocabularies: loading with their defaults and limits, the default place, the
// single-location migration of older profiles, saving and the listing files.

#include "settings/settingsvocabularies.h"

#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

platform::IniProfile FromText(std::string_view text) {
    platform::IniProfile profile;
    profile.SetText(text);
    return profile;
}

SettingsVocabularies Loaded(platform::IniProfile &profile) {
    SettingsVocabularies vocabularies;
    vocabularies.LoadVocabularies(profile);
    return vocabularies;
}

SettingsVocabularies LoadedFrom(std::string_view text) {
    platform::IniProfile profile = FromText(text);
    return Loaded(profile);
}

// --- books and magazines -------------------------------------------------------------------

TEST(Books, MissingSectionGivesTheBuiltInBooksAndXu98) {
    const SettingsVocabularies v = LoadedFrom("");
    const CodeList &books = v.Books();
    ASSERT_EQ(books.Count(), 46);
    const std::vector<std::string> keys = {
        "ABG", "AC",  "AD",  "AEU", "ALTRUP", "APG",  "ASQ",    "BB",  "BCH",
        "CDL", "CMS", "CSU", "CU",  "DSM",    "DSO",  "FG",     "GBA", "GF",
        "HAC", "HAG", "IU",  "MW",  "NGA",    "NSU",  "NW",     "OFG", "OHO",
        "QC",  "QQ",  "QRC", "RU",  "SBVBS",  "SCAG", "SKYCAT", "SPG", "TM",
        "T",   "UAB", "UB",  "UG",  "UNI",    "U",    "WCAG",   "WQA", "WS"};
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(books.CodeOf(static_cast<int32_t>(i)), keys[i]) << i;
        EXPECT_FALSE(books.MeaningOf(static_cast<int32_t>(i)).empty()) << keys[i];
    }
    EXPECT_EQ(books.Entry(36), "T;Sky Atlas 2000.0");
    EXPECT_EQ(books.Entry(41), "U;Uranometria 2000.0");
    EXPECT_EQ(books.Entry(33), "SKYCAT;Sky Catalog 2000.0  volume 2");
    EXPECT_EQ(books.Entry(35), "TM;Standard Handbook for Telescope Making");
    // The expansion of "WS3" cuts a title ending in "vol 1-7" and names the volume.
    EXPECT_TRUE(books.Entry(44).ends_with("vol 1-7"));
    EXPECT_EQ(books.Entry(45), "XU98;Explore the Universe, 4th edition, 1998");
}

struct BookCase {
    const char *section;
    std::vector<std::string> expected;
};

class BookLists : public ::testing::TestWithParam<BookCase> {};

TEST_P(BookLists, Xu98IsAppendedOnlyWhenNoEntryBeginsWithIt) {
    EXPECT_EQ(LoadedFrom(GetParam().section).Books().Entries(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Books, BookLists,
    ::testing::Values(
        BookCase{"[Book]\r\nNumberOf=0\r\n", {std::string(kXu98Book)}},
        BookCase{"[Book]\r\nNumberOf=1\r\nBook0=T;Sky Atlas 2000.0\r\n",
                 {"T;Sky Atlas 2000.0", std::string(kXu98Book)}},
        BookCase{"[Book]\r\nNumberOf=1\r\nBook0=XU98;My own edition\r\n", {"XU98;My own edition"}},
        BookCase{"[Book]\r\nNumberOf=1\r\nBook0=XU98X;Another\r\n", {"XU98X;Another"}},
        BookCase{"[Book]\r\nNumberOf=2\r\nBook0=xu98;lower case\r\n",
                 {"xu98;lower case", "", std::string(kXu98Book)}}));

TEST(Books, AFullListIsNotOverrunByXu98) {
    std::string text = "[Book]\r\nNumberOf=250\r\n";
    for (int i = 0; i < 250; ++i)
        text += "Book" + std::to_string(i) + "=B" + std::to_string(i) + ";Title\r\n";
    const SettingsVocabularies v = LoadedFrom(text);
    EXPECT_EQ(v.Books().Count(), 200);
    EXPECT_EQ(v.Books().Entry(199), "B199;Title");
}

TEST(Magazines, MissingSectionGivesNineAndACountOfZeroNone) {
    const SettingsVocabularies defaults = LoadedFrom("");
    EXPECT_EQ(defaults.Magazines().Entries(),
              (std::vector<std::string>{
                  "A;Astronomy Magazine", "S;Sky and Telescope Magazine", "K;Deep Sky Magazine",
                  "T;Telescope Making Magazine", "B;Betelgeuse", "O;The Practical Observer",
                  "I;Scientific American Magazine", "R;The Reflector", "W;The WASP"}));
    EXPECT_EQ(defaults.Magazines().CodeIndex(), "ASKTBOIRW");
    EXPECT_EQ(LoadedFrom("[Mag]\r\nNumberOf=0\r\n").Magazines().Count(), 0);
}

// --- counts and entries --------------------------------------------------------------------

struct CountCase {
    const char *stored;
    int types;     // an ordinary list: missing or unusable is empty
    int magazines; // a list with defaults: missing or unusable gives the defaults
};

class DamagedCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(DamagedCounts, AreCutToTheCapacityOrReadAsMissing) {
    const CountCase &c = GetParam();
    std::string text = std::string("[ObjectType]\r\nNumberOf=") + c.stored + "\r\n" +
                       "[Mag]\r\nNumberOf=" + c.stored + "\r\n";
    const SettingsVocabularies v = LoadedFrom(text);
    EXPECT_EQ(v.Types().Count(), c.types) << c.stored;
    EXPECT_EQ(v.Magazines().Count(), c.magazines) << c.stored;
}

INSTANTIATE_TEST_SUITE_P(Vocabularies, DamagedCounts,
                         ::testing::Values(CountCase{"3", 3, 3}, CountCase{"100", 100, 32},
                                           CountCase{"101", 100, 32},
                                           CountCase{"2147483647", 100, 32},
                                           CountCase{"2147483648", 100, 32}, // saturates
                                           CountCase{"-5", 0, 9}, CountCase{"-1", 0, 9},
                                           CountCase{"abc", 0, 0}, CountCase{"", 0, 9}));

TEST(Vocabularies, MissingEntryKeysAreEmptyExceptHelperApplications) {
    const SettingsVocabularies v =
        LoadedFrom("[ObjectType]\r\nNumberOf=2\r\nType1=eg=Galaxy\r\n"
                   "[HelperApps]\r\nNumberOf=2\r\nHelperApp0=.pdf xdg-open,NoDDE,,,0,\r\n");
    EXPECT_EQ(v.Types().Entries(), (std::vector<std::string>{"", "eg=Galaxy"}));
    EXPECT_EQ(v.Types().CodeIndex(), "=eg=");
    EXPECT_EQ(v.HelperApps().Entries(),
              (std::vector<std::string>{".pdf xdg-open,NoDDE,,,0,", "x:"}));
}

TEST(Vocabularies, EditCheckFlagsArePaddedWithNTo150) {
    const SettingsVocabularies v = LoadedFrom(
        "[Edit]\r\nNumberOf=4\r\nEdit0=YBad ID\r\nEdit1=NBad REFS\r\nEdit2=\r\nEdit3=Yx\r\n");
    ASSERT_EQ(v.EditFlags().size(), kEditFlagLength);
    EXPECT_EQ(v.EditFlags().substr(0, 5), "YNNYN");
    EXPECT_TRUE(v.IsEditCheckOn(0));
    EXPECT_FALSE(v.IsEditCheckOn(1));
    EXPECT_TRUE(v.IsEditCheckOn(3));
    EXPECT_FALSE(v.IsEditCheckOn(149));
    EXPECT_FALSE(v.IsEditCheckOn(150));
    EXPECT_EQ(LoadedFrom("").EditFlags(), std::string(150, 'N'));
}

TEST(Vocabularies, PlanetariumInUseDefaultsToNone) {
    EXPECT_EQ(LoadedFrom("").CurrentPlanetarium(), -1);
    EXPECT_EQ(LoadedFrom("[Planetaria]\r\nCurrent=3\r\n").CurrentPlanetarium(), 3);
}

// --- the default place ---------------------------------------------------------------------

constexpr std::string_view kPlaces = "[ObsPlace]\r\nNumberOf=3\r\n"
                                     "Place0=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\r\n"
                                     "Place1=d=Dark site|-72.3|42.9|-5|1|2|1|10|0|0|0|EST|EDT\r\n"
                                     "Place2=\xE9=Caf\xE9|10|-33.5|2|0|3|0|9|5|1|1|SAST|SAST\r\n";

struct DefaultCase {
    const char *stored; // nullptr: no "Default" key
    char code;
    const char *name;
};

class DefaultPlace : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultPlace, IsTheStoredCodeOrTheFirstPlace) {
    std::string text(kPlaces);
    if (GetParam().stored)
        text += std::string("Default=") + GetParam().stored + "\r\n";
    const SettingsVocabularies v = LoadedFrom(text);
    EXPECT_EQ(v.DefaultPlaceCode(), GetParam().code);
    EXPECT_EQ(v.CurrentPlace().Name(), GetParam().name);
    EXPECT_EQ(v.Places().Entry(v.DefaultPlaceIndex()).substr(2, 3),
              std::string(GetParam().name).substr(0, 3));
}

INSTANTIATE_TEST_SUITE_P(Vocabularies, DefaultPlace,
                         ::testing::Values(DefaultCase{nullptr, 'h', "Home"},
                                           DefaultCase{"0", 'h', "Home"},
                                           DefaultCase{"100", 'd', "Dark site"},
                                           DefaultCase{"233", '\xE9', "Caf\xE9"},
                                           DefaultCase{"-23", '\xE9', "Caf\xE9"}, // signed char
                                           DefaultCase{"120", 'h', "Home"},       // 'x' is no place
                                           DefaultCase{"70000", 'h', "Home"}));

TEST(DefaultPlace, IsParsedIntoTheCurrentPlaceRecordKeepingItsInstant) {
    platform::IniProfile profile = FromText(std::string(kPlaces) + "Default=100\r\n");
    SettingsVocabularies v;
    v.CurrentPlace().SetInstant(2451545.0);
    v.LoadVocabularies(profile);
    EXPECT_DOUBLE_EQ(v.CurrentPlace().Longitude(), -72.3);
    EXPECT_DOUBLE_EQ(v.CurrentPlace().Latitude(), 42.9);
    EXPECT_DOUBLE_EQ(v.CurrentPlace().Instant(), 2451545.0);
    v.SetDefaultPlaceCode('\xE9');
    EXPECT_TRUE(v.CurrentPlace().IsSouth());
    EXPECT_EQ(v.CurrentPlace().StandardZoneName(), "SAST");
    EXPECT_EQ(v.DefaultPlaceIndex(), 2);
    v.SaveVocabularies(profile);
    EXPECT_EQ(profile.GetInt("ObsPlace", "Default", 0), 233);
}

TEST(DefaultPlace, NoPlacesLeaveTheUndefinedPlace) {
    const SettingsVocabularies v = LoadedFrom("[ObsPlace]\r\nDefault=104\r\n");
    EXPECT_EQ(v.DefaultPlaceCode(), '\0');
    EXPECT_EQ(v.DefaultPlaceIndex(), -1);
    EXPECT_EQ(v.CurrentPlace().Name(), "Undefined Place");
}

// --- migration of the single legacy location -------------------------------------------------

constexpr std::string_view kLegacyProfile =
    "[Location]\r\nLatitude=42.33\r\nUseDaylight=1\r\n"
    "[Settings]\r\nObsTimeIsUT=0\r\nObsTimeIsForDate=0\r\nLockSci=1\r\n"
    "[ObsPlace]\r\nNumberOf=2\r\nPlace0=h=Home\r\nPlace1=d=Dark site\r\n";

TEST(LegacyLocation, ExtendsEveryPlaceOnceAndRemovesTheOldKeys) {
    platform::IniProfile profile = FromText(kLegacyProfile);
    const SettingsVocabularies v = Loaded(profile);
    // Longitude and zone take the old defaults; the numbers went through single precision
    // and print with %g.
    const std::string fields = "|-83.0369|42.33|-5|1|3|0|9|5|0|0|EST|EDT";
    EXPECT_EQ(v.Places().Entry(0), "h=Home" + fields);
    EXPECT_EQ(v.Places().Entry(1), "d=Dark site" + fields);
    EXPECT_EQ(profile.GetString("ObsPlace", "Place0"), "h=Home" + fields);
    EXPECT_EQ(profile.GetString("ObsPlace", "Place1"), "d=Dark site" + fields);
    for (const char *key : {"Latitude", "Longitude", "TimeZone", "UseDaylight"})
        EXPECT_FALSE(profile.HasKey("Location", key)) << key;
    EXPECT_FALSE(profile.HasKey("Settings", "ObsTimeIsUT"));
    EXPECT_FALSE(profile.HasKey("Settings", "ObsTimeIsForDate"));
    EXPECT_TRUE(profile.HasKey("Settings", "LockSci"));
    EXPECT_DOUBLE_EQ(v.CurrentPlace().Longitude(), -83.0369); // parsed from the record
    EXPECT_EQ(v.CurrentPlace().StartMonth(), 3);
    EXPECT_EQ(v.CurrentPlace().EndWeek(), 5);

    // A second start-up leaves the places as they are.
    const std::string once = profile.Text();
    const SettingsVocabularies again = Loaded(profile);
    EXPECT_EQ(profile.Text(), once);
    EXPECT_EQ(again.Places().Entries(), v.Places().Entries());
}

TEST(LegacyLocation, SignsBecomeSouthAndWestAndTheTimeRulesAreTaken) {
    platform::IniProfile profile = FromText(
        "[Location]\r\nLatitude=-33.925\r\nLongitude=18.42\r\nTimeZone=2\r\nUseDaylight=0\r\n"
        "[Settings]\r\nObsTimeIsUT=1\r\nObsTimeIsForDate=1\r\nObsTimeForDate=1\r\n"
        "[ObsPlace]\r\nNumberOf=1\r\nPlace0=c=Cape Town\r\n");
    const SettingsVocabularies v = Loaded(profile);
    EXPECT_EQ(v.Places().Entry(0), "c=Cape Town|18.42|-33.925|2|0|3|0|9|5|1|1|EST|EDT");
    EXPECT_TRUE(v.CurrentPlace().IsSouth());
    EXPECT_FALSE(v.CurrentPlace().IsWest());
    EXPECT_TRUE(v.CurrentPlace().ObservationTimeIsUT());
    EXPECT_FALSE(profile.HasKey("Settings", "ObsTimeForDate"));
}

TEST(LegacyLocation, EntriesThatAlreadyHoldFieldsOrNothingAreLeftAlone) {
    platform::IniProfile profile = FromText(
        "[Location]\r\nLatitude=40\r\n"
        "[ObsPlace]\r\nNumberOf=3\r\nPlace0=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\r\n"
        "Place2=s=Site\r\n");
    const SettingsVocabularies v = Loaded(profile);
    EXPECT_EQ(v.Places().Entry(0), "h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
    EXPECT_EQ(v.Places().Entry(1), "");
    EXPECT_EQ(v.Places().Entry(2), "s=Site|-83.0369|40|-5|1|3|0|9|5|0|0|EST|EDT");
    EXPECT_FALSE(profile.HasKey("ObsPlace", "Place1"));
}

TEST(LegacyLocation, WithoutAnyPlaceTheLocationBecomesTheOnePlace) {
    platform::IniProfile profile = FromText("[Location]\r\nLatitude=51.5\r\nLongitude=0\r\n");
    const SettingsVocabularies v = Loaded(profile);
    ASSERT_EQ(v.Places().Count(), 1);
    EXPECT_EQ(v.Places().Entry(0), "X=X|0|51.5|-5|1|3|0|9|5|0|0|EST|EDT");
    EXPECT_EQ(profile.GetInt("ObsPlace", "NumberOf", 0), 1);
    EXPECT_EQ(v.DefaultPlaceCode(), 'X');
}

TEST(LegacyLocation, AnXLatitudeOrNoneMeansNothingToMigrate) {
    for (std::string_view text : {"[Location]\r\nLatitude=x\r\nLongitude=5\r\n", ""}) {
        platform::IniProfile profile =
            FromText(std::string(text) + "[ObsPlace]\r\nNumberOf=1\r\nPlace0=h=Home\r\n");
        const SettingsVocabularies v = Loaded(profile);
        EXPECT_EQ(v.Places().Entry(0), "h=Home");
        EXPECT_FALSE(LegacyLocation(profile).has_value());
    }
}

// --- saving and the listing files ----------------------------------------------------------

TEST(Vocabularies, SavingWhatWasLoadedChangesNothing) {
    const std::string text =
        "[HelperApps]\r\nNumberOf=1\r\nHelperApp0=.htm xdg-open,NoDDE,,,0,\r\n"
        "[ObjectType]\r\nNumberOf=2\r\nType0=eg=Galaxy\r\nType1=oc=Open cluster\r\n"
        "[ObjectSource]\r\nNumberOf=1\r\nSource0=a=Catalogue\r\n"
        "[ObjectCheck]\r\nNumberOf=1\r\nCheck0=N=Nice\r\n"
        "[ObjectTry]\r\nNumberOf=1\r\nTry0=y=Yes\r\n" +
        std::string(kPlaces) +
        "Default=100\r\n[ObsEquip]\r\nNumberOf=1\r\nEquip0=8=8 inch\r\n"
        "[Edit]\r\nNumberOf=1\r\nEdit0=YBad ID\r\n"
        "[Book]\r\nNumberOf=1\r\nBook0=XU98;Explore\r\n"
        "[Mag]\r\nNumberOf=1\r\nMag0=S;Sky\r\n"
        "[Planetaria]\r\nNumberOf=1\r\nPlanetarium0=SkyMap,,fa ,er\r\nCurrent=0\r\n";
    platform::IniProfile profile = FromText(text);
    const SettingsVocabularies v = Loaded(profile);
    v.SaveVocabularies(profile);
    EXPECT_EQ(profile.Text(), text);
}

TEST(Vocabularies, SaveWritesCountsAndEntriesInTheirKeys) {
    SettingsVocabularies v;
    v.List(Vocabulary::Types).Assign({"eg=Galaxy", "gc=Globular cluster"});
    v.List(Vocabulary::Places).Assign({"h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT"});
    v.SetDefaultPlaceCode('h');
    v.SetCurrentPlanetarium(-1);
    platform::IniProfile profile;
    v.SaveVocabularies(profile);
    const SettingsVocabularies back = Loaded(profile);
    EXPECT_EQ(back.Types().Entries(), v.Types().Entries());
    EXPECT_EQ(profile.GetString("ObjectType", "Type1"), "gc=Globular cluster");
    EXPECT_EQ(profile.GetInt("ObsPlace", "Default", 0), 'h');
    EXPECT_EQ(profile.GetInt("Planetaria", "Current", 0), -1);
    EXPECT_EQ(profile.GetInt("Book", "NumberOf", -1), 0); // an emptied list stays empty
    EXPECT_EQ(back.Books().Entries(), (std::vector<std::string>{std::string(kXu98Book)}));
}

TEST(ListingFiles, HoldAHeaderAndOneLinePerEntry) {
    test::TempFolder folder;
    const SettingsVocabularies v = LoadedFrom(
        "[ObjectType]\r\nNumberOf=2\r\nType0=eg=Galaxy\r\nType1=oc=Open cluster\r\n"
        "[ObsPlace]\r\nNumberOf=1\r\nPlace0=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\r\n");
    test::TempFolder::Write(folder.File("CurSrc.txt"), "old content that is replaced");
    EXPECT_EQ(v.WriteListingFiles(folder.Path()), 6);
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurType.txt")),
              "Currently-defined Object Type Codes\r\n eg=Galaxy\r\n oc=Open cluster\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurLoc.txt")),
              "Currently-defined Observing Locations\n"
              " h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurSrc.txt")),
              "Currently-defined Object Source Codes\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurTry.txt")),
              "Currently-defined Object Try Codes\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurCheck.txt")),
              "Currently-defined Object Checkboxes\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurEquip.txt")),
              "Currently-defined Observing Equipment\r\n");
    EXPECT_EQ(folder.EntryCount(), 6u);
}

TEST(ListingFiles, AFileThatCannotBeWrittenIsSkipped) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder.File("CurType.txt")); // a folder in the way
    const SettingsVocabularies v = LoadedFrom("");
    std::string error;
    EXPECT_EQ(v.WriteListingFiles(folder.Path(), &error), 5);
    EXPECT_NE(error.find("CurType.txt"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error; // one line: one file failed
    EXPECT_EQ(v.WriteListingFiles(folder.File("missing")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("CurType.txt")));
}

} // namespace
} // namespace vespario
