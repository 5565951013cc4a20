#include "platform/iniprofile.h"

#include "platform/files.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace vespario::platform {
namespace {

using test::TempFolder;

// A profile with everything the reader must pass through untouched.
const std::string kMixedFile = "; Vespario settings\r\n"
                               "stray before any section\r\n"
                               "Orphan=1\r\n"
                               "\r\n"
                               "[Settings]\r\n"
                               "LockSci=1\r\n"
                               "  Tutorial =  0  \r\n"
                               "; a comment with key=value inside\r\n"
                               "line without equals sign\r\n"
                               "\r\n"
                               "[ ObjectType ]  trailing text\r\n"
                               "NumberOf=2\r\n"
                               "Type0=GX=Galaxy\r\n"
                               "Type1=\"OC=Open cluster\"\r\n"
                               "\t\r\n"
                               "[Font]\r\n"
                               "Name=Vespario\r\n"
                               "name=second spelling is ignored\r\n";

IniProfile FromText(std::string_view text) {
    IniProfile profile;
    profile.SetText(text);
    return profile;
}

TEST(IniRead, TextRoundTripsByteForByte) {
    EXPECT_EQ(FromText(kMixedFile).Text(), kMixedFile);
}

TEST(IniRead, LfFileReadsLikeCrLfAndIsWrittenWithCrLf) {
    std::string lf;
    for (char c : kMixedFile) {
        if (c != '\r')
            lf += c;
    }
    const IniProfile profile = FromText(lf);
    EXPECT_EQ(profile.GetString("Font", "Name"), "Vespario");
    EXPECT_EQ(profile.Text(), kMixedFile);
}

TEST(IniRead, LastLineWithoutLineEnd) {
    const IniProfile profile = FromText("[A]\nk=v");
    EXPECT_EQ(profile.GetString("A", "k"), "v");
    EXPECT_EQ(profile.Text(), "[A]\r\nk=v\r\n");
}

TEST(IniRead, ByteOrderMarkIsKept) {
    const std::string text = "\xEF\xBB\xBF[A]\r\nk=v\r\n";
    const IniProfile profile = FromText(text);
    EXPECT_EQ(profile.GetString("A", "k"), "v");
    EXPECT_EQ(profile.Text(), text);
}

struct ReadCase {
    const char *section;
    const char *key;
    const char *expected;
};

class IniLookup : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniLookup, FindsValuesAsTheOtherPlatformDoes) {
    const ReadCase &c = GetParam();
    EXPECT_EQ(FromText(kMixedFile).GetString(c.section, c.key, "<default>"), c.expected)
        << "[" << c.section << "] " << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    IniRead, IniLookup,
    ::testing::Values(ReadCase{"Settings", "LockSci", "1"}, ReadCase{"settings", "LOCKSCI", "1"},
                      ReadCase{"Settings", "Tutorial", "0"}, // blanks around key and value
                      ReadCase{" Settings ", " Tutorial ", "0"},
                      ReadCase{"ObjectType", "Type0", "GX=Galaxy"}, // only the first "=" splits
                      ReadCase{"OBJECTTYPE", "type1", "OC=Open cluster"}, // quotes dropped
                      ReadCase{"Font", "NAME", "Vespario"}, // the first of two keys wins
                      ReadCase{"Settings", "; a comment with key", "<default>"},
                      ReadCase{"Settings", "line without equals sign", "<default>"},
                      ReadCase{"", "Orphan", "<default>"}, // before any section
                      ReadCase{"Settings", "Missing", "<default>"},
                      ReadCase{"Missing", "LockSci", "<default>"}));

struct QuoteCase {
    const char *stored;
    const char *read;
};

class IniQuotes : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(IniQuotes, OnePairOfEnclosingQuotesIsDropped) {
    const IniProfile profile = FromText(std::string("[Q]\r\nk=") + GetParam().stored + "\r\n");
    EXPECT_EQ(profile.GetString("Q", "k", "<default>"), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(IniRead, IniQuotes,
                         ::testing::Values(QuoteCase{"\"a b\"", "a b"}, QuoteCase{"'a b'", "a b"},
                                           QuoteCase{"  \" padded \"  ", " padded "},
                                           QuoteCase{"\"", "\""}, QuoteCase{"\"\"", ""},
                                           QuoteCase{"\"a'", "\"a'"},
                                           QuoteCase{"\"\"x\"\"", "\"x\""},
                                           QuoteCase{"a\"b\"", "a\"b\""}, QuoteCase{"", ""}));

struct IntCase {
    const char *stored; // nullptr: the key is missing
    int defaultValue;
    int expected;
};

class IniGetInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniGetInt, ReadsTheLeadingNumber) {
    const IntCase &c = GetParam();
    IniProfile profile;
    if (c.stored)
        profile.SetText(std::string("[N]\r\nk=") + c.stored + "\r\n");
    EXPECT_EQ(profile.GetInt("N", "k", c.defaultValue), c.expected)
        << (c.stored ? c.stored : "(missing)");
}

INSTANTIATE_TEST_SUITE_P(
    IniRead, IniGetInt,
    ::testing::Values(IntCase{nullptr, 7, 7}, IntCase{"", 7, 7}, IntCase{"   ", 7, 7},
                      IntCase{"12", 7, 12}, IntCase{"-5", 7, -5}, IntCase{"+9", 7, 9},
                      IntCase{"  42  ", 7, 42}, IntCase{"42abc", 7, 42}, IntCase{"1 2", 7, 1},
                      IntCase{"abc", 7, 0}, IntCase{"-", 7, 0}, IntCase{"+-3", 7, 0},
                      IntCase{"0x10", 7, 0}, IntCase{"\"15\"", 7, 15}, IntCase{"\" 16\"", 7, 16},
                      IntCase{"3000", 0, 3000}, IntCase{"2147483647", 0, 2147483647},
                      IntCase{"2147483648", 0, 2147483647}, IntCase{"-2147483648", 0, INT_MIN},
                      IntCase{"-2147483649", 0, INT_MIN}, IntCase{"4294967295", 0, 2147483647},
                      IntCase{"4294967296", 1, 2147483647}, IntCase{"-4294967297", 0, INT_MIN},
                      IntCase{"99999999999999999999999999", 0, 2147483647}));

TEST(IniRead, SectionsAndKeysInFileOrderOnce) {
    const IniProfile profile = FromText(kMixedFile + "[settings]\r\nExtra=1\r\nlocksci=2\r\n");
    EXPECT_EQ(profile.Sections(), (std::vector<std::string>{"Settings", "ObjectType", "Font"}));
    EXPECT_EQ(profile.Keys("SETTINGS"), (std::vector<std::string>{"LockSci", "Tutorial", "Extra"}));
    EXPECT_EQ(profile.Keys("Font"), (std::vector<std::string>{"Name"}));
    EXPECT_TRUE(profile.Keys("Missing").empty());
    // A repeated section adds its keys; the first value of a key still wins.
    EXPECT_EQ(profile.GetString("Settings", "Extra"), "1");
    EXPECT_EQ(profile.GetInt("Settings", "LockSci", 0), 1);
    EXPECT_TRUE(profile.HasSection("objecttype"));
    EXPECT_FALSE(profile.HasSection("Orphan"));
    EXPECT_TRUE(profile.HasKey("font", "name"));
    EXPECT_FALSE(profile.HasKey("Font", "Height"));
}

TEST(IniRead, ArbitraryBytesNeverBreakTheProfile) {
    std::mt19937 random(20240229);
    const std::string alphabet = "[]=;\"' \t\r\nab\xFF\0";
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        IniProfile profile = FromText(text);
        const std::string once = profile.Text();
        EXPECT_EQ(FromText(once).Text(), once) << "round " << round;
        for (const std::string &section : profile.Sections()) {
            for (const std::string &key : profile.Keys(section))
                EXPECT_TRUE(profile.HasKey(section, key));
        }
        profile.WriteString("ab", "a", "b");
        EXPECT_EQ(profile.GetString("ab", "a"), "b") << "round " << round;
    }
}

TEST(IniWrite, ChangesAValueInPlaceKeepingTheLine) {
    IniProfile profile = FromText(kMixedFile);
    profile.WriteString("SETTINGS", "tutorial", "1");
    profile.WriteInt("font", "name", -10); // the first of the two keys is the one changed
    std::string expected = kMixedFile;
    expected.replace(expected.find("  Tutorial =  0  "), 17, "  Tutorial =1");
    expected.replace(expected.find("Name=Vespario"), 13, "Name=-10");
    EXPECT_EQ(profile.Text(), expected);
}

TEST(IniWrite, NewKeyFollowsTheLastKeyOfItsSection) {
    IniProfile profile = FromText("[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\n");
    profile.WriteString("a", "y", "2");
    profile.WriteString("B", "z", "3");
    EXPECT_EQ(profile.Text(), "[A]\r\nx=1\r\ny=2\r\n; note\r\n\r\n[B]\r\nz=3\r\n");
}

TEST(IniWrite, NewSectionGoesToTheEnd) {
    IniProfile profile;
    profile.WriteInt("SelectDlgPos", "Left", 3000);
    profile.WriteInt("SelectDlgPos", "Top", 20);
    profile.WriteString("Mail", "Server", "smtp.example.org");
    EXPECT_EQ(profile.Text(), "[SelectDlgPos]\r\nLeft=3000\r\nTop=20\r\n\r\n"
                              "[Mail]\r\nServer=smtp.example.org\r\n");
    EXPECT_EQ(profile.Sections(), (std::vector<std::string>{"SelectDlgPos", "Mail"}));
}

TEST(IniWrite, NoValueDeletesTheKeyAnEmptyValueKeepsIt) {
    IniProfile profile = FromText("[S]\r\nA=1\r\nB=2\r\na=3\r\n");
    profile.WriteString("s", "a", std::nullopt); // every spelling of the key goes
    EXPECT_FALSE(profile.HasKey("S", "A"));
    EXPECT_EQ(profile.GetInt("S", "A", 55), 55);
    profile.WriteString("S", "B", "");
    EXPECT_TRUE(profile.HasKey("S", "B"));
    EXPECT_EQ(profile.GetString("S", "B", "<default>"), "");
    EXPECT_EQ(profile.Text(), "[S]\r\nB=\r\n");
    profile.WriteString("S", "Missing", std::nullopt);
    profile.WriteString("Missing", "A", std::nullopt);
    EXPECT_EQ(profile.Text(), "[S]\r\nB=\r\n");
}

TEST(IniWrite, DeleteSectionRemovesAllItsLines) {
    IniProfile profile = FromText("[A]\r\nx=1\r\n; about A\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    profile.DeleteSection("A");
    EXPECT_FALSE(profile.HasSection("a"));
    EXPECT_EQ(profile.Text(), "[B]\r\ny=2\r\n");
    profile.DeleteSection("Missing");
    EXPECT_EQ(profile.Text(), "[B]\r\ny=2\r\n");
}

TEST(IniWrite, ValueIsCutAtALineBreak) {
    IniProfile profile;
    profile.WriteString("S", "k", "first\r\n[Injected]\r\nx=1");
    EXPECT_EQ(profile.GetString("S", "k"), "first");
    EXPECT_FALSE(profile.HasSection("Injected"));
    EXPECT_EQ(profile.Text(), "[S]\r\nk=first\r\n");
}

TEST(IniWrite, NamesTheFileCannotHoldAreIgnored) {
    IniProfile profile;
    profile.WriteString("S", "", "v");
    profile.WriteString("S", "a=b", "v");
    profile.WriteString("S", "[x]", "v");
    profile.WriteString("S", ";x", "v");
    profile.WriteString("S", "a\nb", "v");
    profile.WriteString("S]", "k", "v");
    profile.WriteString("S\r\n", "k", "v"); // blanks around a name are trimmed, so this is "S"
    EXPECT_EQ(profile.Text(), "[S]\r\nk=v\r\n");
}

TEST(IniWrite, ReadsInMemoryEqualReadsAfterReload) {
    IniProfile profile;
    const std::vector<std::pair<std::string, std::string>> writes = {
        {"plain", "abc"}, {"padded", "  abc  "}, {"quoted", "\"abc\""},
        {"empty", ""},    {"equals", "a=b=c"},   {"semicolon", ";x"}};
    for (const auto &[key, value] : writes)
        profile.WriteString("W", key, value);
    const IniProfile reloaded = FromText(profile.Text());
    for (const auto &[key, value] : writes)
        EXPECT_EQ(profile.GetString("W", key, "<d>"), reloaded.GetString("W", key, "<d>")) << key;
    EXPECT_EQ(profile.GetString("W", "padded"), "abc");
}

TEST(IniWrite, LegacyDialogPositionsMoveToTheirSection) {
    IniProfile profile = FromText("[Screen Location]\r\nLeft=5\r\nSelectLeft=10\r\n"
                                  "SelectTop=20\r\nSelectRight=300\r\nSelectBottom=200\r\n");
    ASSERT_NE(profile.GetInt("Screen Location", "SelectLeft", 3001), 3001);
    for (const char *edge : {"Left", "Top", "Right", "Bottom"}) {
        const std::string old = std::string("Select") + edge;
        const int value = profile.GetInt("Screen Location", old, 0);
        profile.WriteString("Screen Location", old, std::nullopt);
        profile.WriteInt("SelectDlgPos", edge, value);
    }
    EXPECT_EQ(profile.Text(), "[Screen Location]\r\nLeft=5\r\n\r\n[SelectDlgPos]\r\nLeft=10\r\n"
                              "Top=20\r\nRight=300\r\nBottom=200\r\n");
}

class IniFile : public ::testing::Test {
protected:
    ~IniFile() override { SetWriteFaultForTesting(WriteFault::None); }
    TempFolder folder;
};

TEST_F(IniFile, LoadSaveRoundTripsByteForByte) {
    const std::string path = folder.File("Vespario.ini");
    TempFolder::Write(path, kMixedFile);
    IniProfile profile;
    ASSERT_TRUE(profile.Load(path));
    EXPECT_EQ(profile.Path(), path);
    EXPECT_EQ(profile.GetString("ObjectType", "Type1"), "OC=Open cluster");
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(TempFolder::Read(path), kMixedFile);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST_F(IniFile, MissingFileIsAnEmptyProfileCreatedOnSave) {
    const std::string path = folder.File("Vespario.ini");
    IniProfile profile;
    ASSERT_TRUE(profile.Load(path));
    EXPECT_TRUE(profile.Error().empty());
    EXPECT_TRUE(profile.Sections().empty());
    EXPECT_EQ(profile.GetInt("Timing", "First", 500), 500);
    profile.WriteInt("Timing", "First", 5);
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(TempFolder::Read(path), "[Timing]\r\nFirst=5\r\n");
}

TEST_F(IniFile, LoadReplacesWhatWasThere) {
    const std::string path = folder.File("b.ini");
    TempFolder::Write(path, "[B]\nk=2\n");
    IniProfile profile = FromText("[A]\r\nk=1\r\n");
    ASSERT_TRUE(profile.Load(path));
    EXPECT_FALSE(profile.HasSection("A"));
    EXPECT_EQ(profile.GetInt("B", "k", 0), 2);
}

TEST_F(IniFile, UnreadableFileFailsWithATextAndNoFileToSaveTo) {
    IniProfile profile = FromText("[A]\r\nk=1\r\n");
    EXPECT_FALSE(profile.Load(folder.Path())); // a folder cannot be read as a profile
    EXPECT_FALSE(profile.Error().empty());
    EXPECT_TRUE(profile.Sections().empty());
    EXPECT_TRUE(profile.Path().empty());
    EXPECT_FALSE(profile.Save()); // nothing can overwrite what could not be read
    EXPECT_FALSE(profile.Error().empty());
}

TEST_F(IniFile, SaveWithoutFileNameFails) {
    IniProfile profile = FromText("[A]\r\nk=1\r\n");
    EXPECT_FALSE(profile.Save());
    EXPECT_FALSE(profile.Error().empty());
}

TEST_F(IniFile, SaveAsWritesAndAdoptsTheNewName) {
    const std::string path = folder.File("copy.ini");
    IniProfile profile = FromText("[A]\nk=1\n");
    ASSERT_TRUE(profile.SaveAs(path));
    EXPECT_EQ(profile.Path(), path);
    EXPECT_EQ(TempFolder::Read(path), "[A]\r\nk=1\r\n");
    EXPECT_FALSE(profile.SaveAs(folder.File("missing/copy.ini")));
    EXPECT_EQ(profile.Path(), path); // a failed SaveAs keeps the old name
}

TEST_F(IniFile, SaveIntoMissingFolderFailsUntilTheFolderIsCreated) {
    const std::string path = folder.File("config/Vespario/Vespario.ini");
    IniProfile profile;
    ASSERT_TRUE(profile.Load(path));
    profile.WriteInt("A", "k", 1);
    EXPECT_FALSE(profile.Save());
    EXPECT_FALSE(profile.Error().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("config")));
    ASSERT_TRUE(IniProfile::CreateFolderFor(path));
    EXPECT_TRUE(profile.Save());
    EXPECT_EQ(TempFolder::Read(path), "[A]\r\nk=1\r\n");
}

TEST_F(IniFile, SaveIntoAFileThatIsNoFolderFails) {
    TempFolder::Write(folder.File("plain"), "x");
    IniProfile profile = FromText("[A]\r\nk=1\r\n");
    EXPECT_FALSE(profile.SaveAs(folder.File("plain/Vespario.ini")));
    EXPECT_EQ(TempFolder::Read(folder.File("plain")), "x");
}

TEST_F(IniFile, SaveIntoReadOnlyFolderLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const std::string path = folder.File("Vespario.ini");
    TempFolder::Write(path, kMixedFile);
    IniProfile profile;
    ASSERT_TRUE(profile.Load(path));
    profile.WriteInt("Settings", "LockSci", 0);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0555));
    EXPECT_FALSE(profile.Save());
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0755));
    EXPECT_EQ(TempFolder::Read(path), kMixedFile);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST_F(IniFile, FailedWriteLeavesTheOldFile) {
    const std::string path = folder.File("Vespario.ini");
    TempFolder::Write(path, kMixedFile);
    IniProfile profile;
    ASSERT_TRUE(profile.Load(path));
    profile.DeleteSection("Settings");
    for (WriteFault fault : {WriteFault::Create, WriteFault::Write, WriteFault::Rename}) {
        SetWriteFaultForTesting(fault);
        EXPECT_FALSE(profile.Save());
        EXPECT_FALSE(profile.Error().empty());
        EXPECT_EQ(TempFolder::Read(path), kMixedFile);
        EXPECT_EQ(folder.EntryCount(), 1u);
    }
    SetWriteFaultForTesting(WriteFault::None);
    EXPECT_TRUE(profile.Save());
    EXPECT_TRUE(profile.Error().empty());
    EXPECT_FALSE(FromText(TempFolder::Read(path)).HasSection("Settings"));
}

TEST_F(IniFile, TooLargeFileIsRefused) {
    const std::string path = folder.File("huge.ini");
    TempFolder::Write(path, "");
    std::filesystem::resize_file(path, IniProfile::kMaxFileBytes + 1);
    IniProfile profile;
    EXPECT_FALSE(profile.Load(path));
    EXPECT_FALSE(profile.Error().empty());
}

TEST(IniPaths, DefaultProfileLivesInTheProfileFolder) {
    EXPECT_EQ(IniProfile::DefaultProfilePath(), ProfileDir() + "/Vespario.ini");
}

} // namespace
} // namespace vespario::platform

namespace vespario::platform {
namespace {

// After any mix of writes and deletions, the profile answers as the same text read afresh:
// its index of names never drifts from its lines.
TEST(IniIndex, AnswersAsTheTextReadAfreshAfterEveryChange) {
    std::mt19937 random(77);
    const std::vector<std::string> sections = {"A", "a", " B ", "Settings", "SETTINGS", "c"};
    const std::vector<std::string> keys = {"k", "K", "Left", "left ", "x1", "NumberOf"};
    auto pick = [&random](const std::vector<std::string> &names) {
        return names[random() % names.size()];
    };
    IniProfile profile;
    profile.SetText("; head\r\nOrphan=1\r\n[A]\r\nk=0\r\n; note\r\n[a]\r\nK=dup\r\n[c]\r\n");
    for (int step = 0; step < 3000; ++step) {
        const std::string section = pick(sections);
        const std::string key = pick(keys);
        switch (random() % 8) {
        case 0:
            profile.WriteString(section, key, std::nullopt);
            break;
        case 1:
            if (random() % 10 == 0)
                profile.DeleteSection(section);
            break;
        default:
            profile.WriteInt(section, key, step);
            break;
        }
        if (step % 50 != 0)
            continue;
        IniProfile fresh;
        fresh.SetText(profile.Text());
        ASSERT_EQ(profile.Sections(), fresh.Sections()) << "step " << step;
        for (const std::string &s : sections) {
            ASSERT_EQ(profile.HasSection(s), fresh.HasSection(s)) << s;
            ASSERT_EQ(profile.Keys(s), fresh.Keys(s)) << s;
            for (const std::string &k : keys)
                ASSERT_EQ(profile.GetString(s, k, "<none>"), fresh.GetString(s, k, "<none>"))
                    << "step " << step << " [" << s << "] " << k;
        }
    }
}

TEST(IniIndex, TheFirstOfRepeatedSectionsAndKeysStillWins) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text +=
            "[Settings]\r\nLockSci=" + std::to_string(i) + "\r\nKey" + std::to_string(i) + "=v\r\n";
    IniProfile profile;
    profile.SetText(text);
    EXPECT_EQ(profile.GetInt("settings", "locksci", -1), 0);
    EXPECT_EQ(profile.GetString("Settings", "Key999"), "v");
    EXPECT_EQ(profile.Keys("Settings").size(), 1001u);
    EXPECT_EQ(profile.Sections(), (std::vector<std::string>{"Settings"}));
    profile.WriteString("Settings", "LockSci", std::nullopt); // every copy goes
    EXPECT_FALSE(profile.HasKey("Settings", "LockSci"));
    profile.WriteInt("Settings", "LockSci", 5); // behind the first section's last key
    EXPECT_EQ(profile.Text().substr(0, 41), "[Settings]\r\nKey0=v\r\nLockSci=5\r\n[Settings]");
}

} // namespace
} // namespace vespario::platform
