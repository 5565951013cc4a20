// Dialog positions: the 3000 rule, Default Window Sizes and the legacy keys of
// "Screen Location".

#include "settings/dialogpositions.h"

#include <gtest/gtest.h>

namespace vespario {
namespace {

platform::IniProfile FromText(std::string_view text) {
    platform::IniProfile profile;
    profile.SetText(text);
    return profile;
}

TEST(DialogPositions, ALeftOf3000OrMoreMeansNoStoredPosition) {
    const platform::IniProfile profile =
        FromText("[SortDlgPos]\r\nLeft=2999\r\nTop=10\r\nRight=3400\r\nBottom=300\r\n"
                 "[SelectDlgPos]\r\nLeft=3000\r\nTop=10\r\nRight=400\r\nBottom=300\r\n");
    const auto sort = StoredDialogPosition(profile, "SortDlgPos");
    ASSERT_TRUE(sort.has_value());
    EXPECT_EQ(sort->Width(), 401);
    EXPECT_EQ(sort->Height(), 290);
    EXPECT_FALSE(StoredDialogPosition(profile, "SelectDlgPos").has_value());
    EXPECT_FALSE(StoredDialogPosition(profile, "CoordDlgPos").has_value()); // default 3000
}

TEST(DialogPositions, AClosingDialogStoresItsRectangleUnlessParkedAt3000) {
    platform::IniProfile profile;
    StoreDialogPosition(profile, "TimeDlgPos", DialogRect{20, 30, 420, 330});
    StoreDialogPosition(profile, "DistDlgPos", DialogRect{3000, 30, 3400, 330});
    StoreDialogPosition(profile, "WebDlgPos", DialogRect{5, 6, 700, 500});
    EXPECT_EQ(profile.Text(), "[TimeDlgPos]\r\nLeft=20\r\nTop=30\r\nRight=420\r\nBottom=330\r\n"
                              "\r\n[WebDlgPos]\r\nLeft=5\r\nTop=6\r\n");
}

TEST(DialogPositions, DefaultWindowSizesForgetsEveryPosition) {
    platform::IniProfile profile =
        FromText("[SettingsDlgPos]\r\nLeft=50\r\nTop=60\r\nRight=500\r\nBottom=400\r\n");
    ForgetDialogPositions(profile);
    for (std::string_view section : kDialogPositionSections) {
        EXPECT_EQ(profile.GetInt(section, "Left", 0), 3000) << section;
        EXPECT_FALSE(StoredDialogPosition(profile, section).has_value()) << section;
    }
    EXPECT_EQ(profile.GetInt("SettingsDlgPos", "Top", 0), 60); // the rest stays
    EXPECT_EQ(kDialogPositionSections.size(), 16u);
}

TEST(LegacyDialogPositions, OldKeysMoveToTheDialogsOwnSection) {
    platform::IniProfile profile = FromText(
        "[Screen Location]\r\nLeft=5\r\nSelectLeft=10\r\nSelectTop=20\r\nSelectRight=300\r\n"
        "SelectBottom=200\r\nMailToLeft=0\r\nMailToTop=1\r\nMailToRight=2\r\nMailToBottom=3\r\n"
        "Split2_1=76\r\n");
    EXPECT_EQ(MigrateLegacyDialogPositions(profile), 2);
    EXPECT_EQ(profile.Text(),
              "[Screen Location]\r\nLeft=5\r\nSplit2_1=76\r\n\r\n"
              "[SelectDlgPos]\r\nLeft=10\r\nTop=20\r\nRight=300\r\nBottom=200\r\n\r\n"
              "[MailToDlgPos]\r\nLeft=3000\r\nTop=1\r\nRight=2\r\nBottom=3\r\n");
    // A second start finds nothing left to move.
    const std::string once = profile.Text();
    EXPECT_EQ(MigrateLegacyDialogPositions(profile), 0);
    EXPECT_EQ(profile.Text(), once);
}

TEST(LegacyDialogPositions, EveryOldNameIsMovedAndOthersAreLeftAlone) {
    const char *names[] = {"Select", "Sort",     "Coord",   "Time",  "Dist",
                           "Search", "EditErrs", "WhatsUp", "MailTo"};
    platform::IniProfile profile;
    for (const char *name : names)
        profile.WriteInt("Screen Location", std::string(name) + "Left", 7);
    profile.WriteInt("Screen Location", "ImportLeft", 7); // never a legacy key
    profile.WriteString("Screen Location", "SortTop", "");
    EXPECT_EQ(MigrateLegacyDialogPositions(profile), 9);
    for (const char *name : names) {
        EXPECT_EQ(profile.GetInt(std::string(name) + "DlgPos", "Left", 0), 7) << name;
        EXPECT_FALSE(profile.HasKey("Screen Location", std::string(name) + "Left")) << name;
    }
    EXPECT_EQ(profile.GetInt("SortDlgPos", "Top", -1), 0); // empty value: missing
    EXPECT_FALSE(profile.HasKey("Screen Location", "SortTop"));
    EXPECT_TRUE(profile.HasKey("Screen Location", "ImportLeft"));
}

TEST(LegacyDialogPositions, AStoredSentinelValueIsMovedToo) {
    // 3001 was the old reader's "missing" mark; the key exists all the same.
    platform::IniProfile profile = FromText("[Screen Location]\r\nCoordLeft=3001\r\n");
    EXPECT_EQ(MigrateLegacyDialogPositions(profile), 1);
    EXPECT_FALSE(profile.HasKey("Screen Location", "CoordLeft"));
    EXPECT_EQ(profile.GetInt("CoordDlgPos", "Left", 0), 3001);
    EXPECT_FALSE(StoredDialogPosition(profile, "CoordDlgPos").has_value());
}

} // namespace
} // namespace vespario
