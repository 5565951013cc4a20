// Sort orders: insert positions checked against a stable sort of the same records with an
// independent comparison, the edge cases of ties, case and direction, and the sort order
// file of every version.

#include "criteriafixture.h"
#include "select/sortorder.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace vespario {
namespace {

using namespace std::string_literals;

class Sorting : public test::CriteriaFixture {
protected:
    // Runs the records through InsertPosition in order, as a selection pass does.
    std::vector<int> Insert(SortOrder &order, const std::vector<int> &records) {
        std::vector<int> list;
        for (int r : records) {
            const int at = order.InsertPosition(list, r);
            EXPECT_GE(at, 0);
            EXPECT_LE(at, static_cast<int>(list.size()));
            list.insert(list.begin() + at, r);
        }
        return list;
    }
};

// Independent comparison for the reference sort: std::tolower in the "C" locale folds the
// same letters, std::string compares unsigned bytes; NaN after every number.
int ReferenceCompare(CVesparioDoc &doc, const SortKey &key, int a, int b) {
    int c = 0;
    switch (doc.Fields().Slot(key.field).kind) {
    case FieldKind::StoredText:
    case FieldKind::Text: {
        std::string x(doc.GetText(key.field, a));
        std::string y(doc.GetText(key.field, b));
        if (!key.caseSensitive) {
            for (char &ch : x)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            for (char &ch : y)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        c = x < y ? -1 : y < x ? 1 : 0;
        break;
    }
    case FieldKind::Integer: {
        const int x = doc.GetInt(key.field, a);
        const int y = doc.GetInt(key.field, b);
        c = x < y ? -1 : y < x ? 1 : 0;
        break;
    }
    case FieldKind::Real: {
        const double x = doc.GetReal(key.field, a);
        const double y = doc.GetReal(key.field, b);
        if (std::isnan(x) || std::isnan(y))
            c = std::isnan(x) == std::isnan(y) ? 0 : std::isnan(x) ? 1 : -1;
        else
            c = x < y ? -1 : y < x ? 1 : 0;
        break;
    }
    case FieldKind::None:
        break;
    }
    return key.direction ? -c : c;
}

TEST_F(Sorting, InsertPositionsGiveTheStableSortOfTheRecords) {
    std::mt19937 random(7);
    const char *types[] = {"eg", "EG", "gc", "oc", "Eg", "_x", "pn"};
    const char *magns[] = {"9", "10.5", "10.5", "12", "", "3.2", "10.50001"};
    const char *sizes[] = {"4x2", "0x0", "3", "2x2", "0x0", "1x3"}; // 0x0: elongation NaN
    const char *refs[] = {"a^!b.^c", "^!x.^", "m^!a.^", "A^^", "none"};
    std::vector<int> records;
    for (int i = 0; i < 300; ++i) {
        const std::string id = "=n" + std::to_string(random() % 40) + "=";
        records.push_back(AddRecord({{field::Type, types[random() % 7]},
                                     {field::Magn, magns[random() % 7]},
                                     {field::Size, sizes[random() % 6]},
                                     {field::Refs, refs[random() % 5]},
                                     {field::Id, id}}));
    }
    const std::vector<std::vector<SortKey>> orders = {
        {},
        {{field::Type, 0, 0}},
        {{field::Type, 1, 0}},
        {{field::MagnValue, 0, 1}},
        {{field::Type, 0, 0}, {field::MagnValue, 0, 1}},
        {{field::Ngc, 0, 0}, {field::Type, 1, 1}},
        {{field::Elong, 0, 0}, {field::Ngc, 0, 1}},
        {{field::ObsRefs, 0, 0}, {field::Type, 0, 1}, {field::Ngc, 0, 0}}, // computed text
        {{field::Ngc, 0, 1}, {field::MagnValue, 0, 0}, {field::Elong, 0, 1}},
    };
    for (const auto &keys : orders) {
        SortOrder order(doc);
        order.SetKeys(keys);
        std::vector<int> want = records;
        std::stable_sort(want.begin(), want.end(), [&](int a, int b) {
            for (const SortKey &key : keys) {
                const int c = ReferenceCompare(doc, key, a, b);
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
        EXPECT_EQ(Insert(order, records), want) << keys.size() << " keys";
    }
}

TEST_F(Sorting, LongRunsOfEqualValuesCostLogarithmicallyManyComparisons) {
    // Most records of a real database share a handful of types: the run of equal entries
    // must not be walked one by one for every record placed in it.
    constexpr int kRecords = 4096;
    std::vector<int> records;
    for (int i = 0; i < kRecords; ++i)
        records.push_back(AddRecord(
            {{field::Type, i % 16 ? "eg" : "gc"}, {field::Magn, std::to_string(i % 97)}}));
    SortOrder order(doc);
    order.AddKey(field::Type, 0, 0);
    order.AddKey(field::MagnValue, 0, 0);
    const std::vector<int> list = Insert(order, records);
    // Per record and key: one search and two bounds of at most 13 halvings each.
    EXPECT_LT(order.Comparisons(), int64_t{kRecords} * 2 * 3 * 13);
    for (size_t i = 1; i < list.size(); ++i) {
        const int a = list[i - 1];
        const int b = list[i];
        const bool ordered =
            doc.GetText(field::Type, a) < doc.GetText(field::Type, b) ||
            (doc.GetText(field::Type, a) == doc.GetText(field::Type, b) &&
             (doc.GetReal(field::MagnValue, a) < doc.GetReal(field::MagnValue, b) ||
              (doc.GetReal(field::MagnValue, a) == doc.GetReal(field::MagnValue, b) && a < b)));
        ASSERT_TRUE(ordered) << i;
    }
}

TEST_F(Sorting, NoKeysKeepExaminationOrder) {
    SortOrder order(doc);
    const std::vector<int> records = {AddRecord({{field::Type, "gc"}}),
                                      AddRecord({{field::Type, "eg"}}),
                                      AddRecord({{field::Type, "ab"}})};
    EXPECT_EQ(Insert(order, records), records);
    EXPECT_EQ(order.InsertPosition({}, records[0]), 0);
}

TEST_F(Sorting, CaseInsensitiveTextsTieAndTheLaterGoesBehind) {
    const int lower = AddRecord({{field::Id, "=m 31="}});
    const int upper = AddRecord({{field::Id, "=M 31="}});
    const int other = AddRecord({{field::Id, "=B 1="}});
    SortOrder insensitive(doc);
    insensitive.AddKey(field::Id, 0, 0);
    EXPECT_EQ(Insert(insensitive, {lower, upper, other}), (std::vector<int>{other, lower, upper}));
    EXPECT_EQ(Insert(insensitive, {upper, lower, other}), (std::vector<int>{other, upper, lower}));
    SortOrder sensitive(doc);
    sensitive.AddKey(field::Id, 1, 0);
    EXPECT_EQ(Insert(sensitive, {lower, upper, other}), (std::vector<int>{other, upper, lower}));
}

TEST_F(Sorting, CaseInsensitiveFoldsToLowerCase) {
    // "_" (0x5F) lies between the upper- and lower-case letters: folding to lower case puts
    // it before every letter.
    const int underscore = AddRecord({{field::Type, "_"}});
    const int letter = AddRecord({{field::Type, "A"}});
    SortOrder order(doc);
    order.AddKey(field::Type, 0, 0);
    EXPECT_EQ(Insert(order, {letter, underscore}), (std::vector<int>{underscore, letter}));
}

TEST_F(Sorting, DescendingNumbersPutTheLargestFirstAndKeepTiesInOrder) {
    const int a = AddRecord({{field::Magn, "8"}});
    const int b = AddRecord({{field::Magn, "12"}});
    const int c = AddRecord({{field::Magn, "8"}});
    const int d = AddRecord({{field::Magn, "15"}});
    SortOrder order(doc);
    order.AddKey(field::MagnValue, 0, 1);
    EXPECT_EQ(Insert(order, {a, b, c, d}), (std::vector<int>{d, b, a, c}));
}

TEST_F(Sorting, NumbersCompareExactly) {
    const int a = AddRecord({{field::Magn, "10.000001"}});
    const int b = AddRecord({{field::Magn, "10"}});
    SortOrder order(doc);
    order.AddKey(field::MagnValue, 0, 0);
    EXPECT_EQ(Insert(order, {a, b}), (std::vector<int>{b, a})); // no 0.00001 tolerance here
}

TEST_F(Sorting, ConstellationThenMagnitudeGroupsByConstellation) {
    // The test services put 0h-8h in Peg, 8h-16h in And and 16h-24h in Cas.
    const int peg10 = AddRecord({{field::RaDec, "0100+10"}, {field::Magn, "10"}});
    const int cas5 = AddRecord({{field::RaDec, "2000+60"}, {field::Magn, "5"}});
    const int and12 = AddRecord({{field::RaDec, "1000+30"}, {field::Magn, "12"}});
    const int peg3 = AddRecord({{field::RaDec, "0500+20"}, {field::Magn, "3"}});
    const int and7 = AddRecord({{field::RaDec, "1200+40"}, {field::Magn, "7"}});
    SortOrder order(doc);
    order.AddKey(field::Con, 0, 0);
    order.AddKey(field::MagnValue, 0, 0);
    EXPECT_EQ(Insert(order, {peg10, cas5, and12, peg3, and7}),
              (std::vector<int>{and7, and12, cas5, peg3, peg10}));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(Sorting, KeysOnNoFieldAndEntriesOutsideTheDocumentStayInRange) {
    const int a = AddRecord({{field::Type, "eg"}});
    SortOrder order(doc);
    order.AddKey(55, 0, 0);
    order.AddKey(-1, 0, 0);
    order.AddKey(200, 1, 1);
    const std::vector<int> list = {a, 9999, -4};
    const int at = order.InsertPosition(list, a);
    EXPECT_GE(at, 0);
    EXPECT_LE(at, 3);
    EXPECT_EQ(order.InsertPosition(list, 12345), 3); // no such record: at the end
}

TEST_F(Sorting, KeyEditingAndCopies) {
    SortOrder order(doc);
    order.AddKey(field::Con, 0, 0);
    order.AddKey(field::MagnValue, 1, 1);
    order.InsertKey(1, {field::Type, 1, 0});
    EXPECT_EQ(
        order.Keys(),
        (std::vector<SortKey>{{field::Con, 0, 0}, {field::Type, 1, 0}, {field::MagnValue, 1, 1}}));
    SortOrder copy(doc);
    copy.AddKey(field::Ngc, 0, 0);
    copy.CopyFrom(order);
    EXPECT_EQ(copy.KeyCount(), 4);
    EXPECT_EQ(copy.Key(0).field, field::Ngc);
    EXPECT_EQ(copy.Key(3), order.Key(2));
    copy.CopyFrom(copy);
    EXPECT_EQ(copy.KeyCount(), 8);
    copy.RemoveKey(0);
    copy.SetKey(0, {field::Id, 1, 1});
    EXPECT_EQ(copy.Key(0), (SortKey{field::Id, 1, 1}));
    copy.Clear();
    EXPECT_EQ(copy.KeyCount(), 0);
}

TEST_F(Sorting, DependsOnTimeOrPlaceForTheTimeFields) {
    const std::vector<int> timeFields = {45, 46, 47, 50, 61, 62, 63, 64, 65, 69, 70, 75};
    for (int f = 0; f < kFieldCount; ++f) {
        SortOrder order(doc);
        order.AddKey(field::Type, 0, 0);
        order.AddKey(f, 0, 0);
        EXPECT_EQ(order.DependsOnTimeOrPlace(),
                  std::find(timeFields.begin(), timeFields.end(), f) != timeFields.end())
            << f;
    }
    EXPECT_FALSE(SortOrder(doc).DependsOnTimeOrPlace());
}

TEST(SortFile, WritesVersion3ByteForByte) {
    const std::vector<SortKey> keys = {{40, 0, 1}, {2, 1, 0}};
    EXPECT_EQ(FormatSortFile(keys), "3275 3 2 40 0 1 2 1 0 ");
    EXPECT_EQ(FormatSortFile({}), "3275 3 0 ");
    std::vector<SortKey> read;
    ASSERT_TRUE(ParseSortFile(FormatSortFile(keys), read));
    EXPECT_EQ(read, keys);
}

TEST(SortFile, ReadsEveryVersion) {
    struct Row {
        const char *file;
        std::vector<SortKey> keys;
        const char *why;
    };
    const Row rows[] = {
        {"3275 3 2 40 0 1 33 1 0 ", {{40, 0, 1}, {33, 1, 0}}, "current"},
        {"3275 2 2 40 33 ", {{40, 1, 0}, {33, 1, 0}}, "version 2: case-sensitive, ascending"},
        {"3275 1 3 40 32 49 ", {{41, 1, 0}, {32, 1, 0}, {50, 1, 0}}, "version 1: 33 up move"},
        {"3275 0 1 33 ", {{34, 1, 0}}, "version 0 is older still"},
        {"3275 4 1 40 0 1 ", {{40, 0, 1}}, "a later version reads as the current"},
        {"3275 3 1 40 5 -2 ", {{40, 1, 1}}, "nonzero flags are set"},
        {"3275\r\n3\t1  7 1 1", {{7, 1, 1}}, "any white space, no final blank"},
    };
    for (const Row &row : rows) {
        std::vector<SortKey> read;
        ASSERT_TRUE(ParseSortFile(row.file, read)) << row.why;
        EXPECT_EQ(read, row.keys) << row.why;
    }
}

TEST(SortFile, DamagedFilesAreRefusedWithoutTouchingTheKeys) {
    const std::vector<std::pair<std::string, const char *>> rows = {
        {"", "empty"},
        {"3273 3 0 ", "a criteria mark"},
        {"101 3273 0 ", "a criteria file"},
        {"3275", "no version"},
        {"3275 3", "no count"},
        {"3275 3 -1 ", "negative count"},
        {"3275 3 2147483648 1 0 0 ", "count of 2^31"},
        {"3275 3 2147483647 1 0 0 ", "count far beyond the keys"},
        {"3275 3 1 40 0", "cut in a key"},
        {"3275 2 2 40 ", "version 2 cut short"},
        {"3275 3 1 51 0 0 ", "field 51"},
        {"3275 3 1 60 0 0 ", "field 60"},
        {"3275 3 1 76 0 0 ", "field 76"},
        {"3275 3 1 -1 0 0 ", "field -1"},
        {"3275 1 1 50 ", "old field 50 moves into the empty slots"},
        {"3275 1 1 75 ", "old field 75 moves past the table"},
        {"3275 3 1 x 0 0 ", "no number"},
        {"3275 3 1 40 y 0 ", "flag no number"},
    };
    const std::vector<SortKey> kept = {{2, 1, 1}};
    for (const auto &[file, why] : rows) {
        std::vector<SortKey> keys = kept;
        EXPECT_FALSE(ParseSortFile(file, keys)) << why;
        EXPECT_EQ(keys, kept) << why;
    }
    const std::string whole = "3275 3 2 40 0 1 2 1 0";
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<SortKey> keys;
        EXPECT_FALSE(ParseSortFile(whole.substr(0, n), keys)) << n << " bytes";
    }
}

class SortFiles : public test::CriteriaFixture {
protected:
    test::TempFolder folder;
};

TEST_F(SortFiles, WrittenAndReadThroughTheSortOrder) {
    SortOrder order(doc);
    order.AddKey(field::Con, 0, 0);
    order.AddKey(field::MagnValue, 1, 1);
    const std::string path = folder.File("byCon.srt");
    ASSERT_TRUE(order.WriteFile(path));
    EXPECT_EQ(test::TempFolder::Read(path), "3275 3 2 23 0 0 40 1 1 ");
    SortOrder read(doc);
    ASSERT_TRUE(read.ReadFile(path));
    EXPECT_EQ(read.Keys(), order.Keys());
}

TEST_F(SortFiles, AWrongMarkShowsTheMessageAndKeepsTheKeys) {
    const std::string path = folder.File("bright.srt");
    test::TempFolder::Write(path, "101 3273 0 ");
    SortOrder order(doc);
    order.AddKey(field::Type, 1, 0);
    EXPECT_FALSE(order.ReadFile(path));
    EXPECT_EQ(host.Messages(), (std::vector<std::string>{"Illegal sort order file"}));
    EXPECT_EQ(order.Keys(), (std::vector<SortKey>{{field::Type, 1, 0}}));
}

} // namespace
} // namespace vespario
