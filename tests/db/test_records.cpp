// Record storage and the document's operations on single records.

#include "docfixture.h"

#include <gtest/gtest.h>

namespace vespario {
namespace {

using test::DocFixture;

TEST(ObjectRecord, PackedFieldsGrowAndShrinkIndependently) {
    ObjectRecord record;
    for (int n = 0; n < kStoredFieldCount; ++n)
        EXPECT_TRUE(record.Field(n).empty());
    record.SetField(22, "obs");
    record.SetField(0, "y");
    record.SetField(13, "a long information text");
    record.SetField(13, "short");
    record.SetField(3, "=M31=");
    EXPECT_EQ(record.Field(0), "y");
    EXPECT_EQ(record.Field(3), "=M31=");
    EXPECT_EQ(record.Field(13), "short");
    EXPECT_EQ(record.Field(22), "obs");
    EXPECT_TRUE(record.Field(12).empty());
    record.SetField(0, "");
    EXPECT_EQ(record.Field(3), "=M31=");
    EXPECT_TRUE(record.Field(0).empty());
}

TEST(ObjectRecord, RecordsLongerThanSixteenBitOffsetsKeepEveryField) {
    ObjectRecord record;
    record.SetField(3, "=M31=");
    const std::string big(70000, 'x');
    record.SetField(13, big); // crosses 65535: the ends widen
    record.SetField(22, "last");
    EXPECT_EQ(record.Field(3), "=M31=");
    EXPECT_EQ(record.Field(13), big);
    EXPECT_EQ(record.Field(22), "last");
    record.SetField(13, "small again"); // and narrow back
    EXPECT_EQ(record.Field(13), "small again");
    EXPECT_EQ(record.Field(22), "last");
    std::array<std::string_view, kStoredFieldCount> fields{};
    fields[0] = "y";
    fields[21] = big;
    fields[22] = big;
    record.SetAllFields(fields);
    EXPECT_EQ(record.Field(0), "y");
    EXPECT_EQ(record.Field(21).size(), big.size());
    EXPECT_EQ(record.Field(22), big);
    EXPECT_TRUE(record.Field(3).empty());
}

TEST(ObjectRecord, ResetComputedForgetsPositionButNotRightAscension) {
    ObjectRecord record;
    EXPECT_FALSE(record.PositionParsed());
    record.m_ra = 1.5;
    record.m_dec = 0.5;
    record.m_constellation = 4;
    record.m_skyAtlas = 3;
    record.m_uranometria = 200;
    record.ResetComputed();
    EXPECT_FALSE(record.PositionParsed());
    EXPECT_EQ(record.m_constellation, kConstellationUnknown);
    EXPECT_EQ(record.m_skyAtlas, 0);
    EXPECT_EQ(record.m_uranometria, 0);
    EXPECT_EQ(record.m_ra, 1.5);
}

class RecordOperations : public DocFixture {};

TEST_F(RecordOperations, NewObjectHasItsDefaultsAndIndexEntry) {
    doc.NewObject();
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_EQ(doc.CurrentIndex(), 0);
    const ObjectRecord &r = doc.Record(0);
    EXPECT_TRUE(r.m_parsed);
    EXPECT_EQ(r.m_rawText, nullptr);
    EXPECT_EQ(r.Field(field::Try), "n");
    EXPECT_EQ(r.Field(field::RaDec), "0000+00.0");
    EXPECT_EQ(r.Field(field::Type), "eg");
    EXPECT_EQ(r.Field(field::Id), "=anon new object=");
    EXPECT_EQ(r.Field(field::Src), "z");
    EXPECT_EQ(r.Field(field::UncSrc), "not specified");
    EXPECT_TRUE(r.Field(field::Info).empty());
    doc.NewObject();
    EXPECT_EQ(doc.NameIndex(), "=ANON NEW OBJECT=|0001|=ANON NEW OBJECT=|0002|");
    EXPECT_EQ(doc.RecordIndexOfIdentity(2), 1);
    EXPECT_EQ(doc.RecordIndexOfIdentity(7), -1);
}

TEST_F(RecordOperations, SettingTheSameTextDoesNotMarkModified) {
    doc.NewObject();
    doc.SetModified(false);
    doc.SetFieldText(field::Type, "eg");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CurrentChanged());
    doc.SetFieldText(field::Type, "gc");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.CurrentChanged());
    EXPECT_EQ(doc.Record(0).Field(field::Type), "gc");
}

TEST_F(RecordOperations, LeavingAChangedRecordTwiceAppendsItTwice) {
    doc.NewObject();
    doc.NewObject();
    doc.SetCurrentRecord(0, false, true);
    doc.SetFieldText(field::Magn, "9.1");
    doc.SetCurrentRecord(1, false, true);
    doc.SetCurrentRecord(0, false, true);
    doc.SetFieldText(field::Magn, "9.2");
    doc.SetCurrentRecord(1, false, true);
    ASSERT_EQ(doc.ChangedRecords().size(), 2u);
    EXPECT_EQ(doc.ChangedRecords()[0], &doc.Record(0));
    EXPECT_EQ(doc.ChangedRecords()[1], &doc.Record(0));
    // Leaving an unchanged record appends nothing; keep-pending keeps the change out.
    doc.SetCurrentRecord(0, false, true);
    EXPECT_EQ(doc.ChangedRecords().size(), 2u);
    doc.SetFieldText(field::Magn, "9.3");
    doc.SetCurrentRecord(1, true, true);
    EXPECT_EQ(doc.ChangedRecords().size(), 2u);
    EXPECT_FALSE(doc.CurrentChanged());
}

TEST_F(RecordOperations, ChangingTheIdRequestsAnIndexRebuildOnlyWithAutoBuild) {
    doc.NewObject();
    profile.WriteInt("Settings", "AutoBuild", 0);
    doc.SetFieldText(field::Id, "=M31=");
    EXPECT_FALSE(doc.IndexRebuildNeeded());
    profile.WriteInt("Settings", "AutoBuild", 1);
    doc.SetFieldText(field::Id, "=M32=");
    EXPECT_TRUE(doc.IndexRebuildNeeded());
}

TEST_F(RecordOperations, ChangingRaDecResetsTheCachedPosition) {
    doc.NewObject();
    ObjectRecord &r = doc.Record(0);
    r.m_dec = 0.3;
    r.m_constellation = 5;
    doc.SetFieldText(field::Magn, "5");
    EXPECT_TRUE(r.PositionParsed());
    doc.SetFieldText(field::RaDec, "0042.7+4116");
    EXPECT_FALSE(r.PositionParsed());
    EXPECT_EQ(r.m_constellation, kConstellationUnknown);
}

TEST_F(RecordOperations, FieldNumbersOutsideTheStoredRangeAreIgnored) {
    doc.NewObject();
    doc.SetModified(false);
    doc.SetFieldText(-1, "x");
    doc.SetFieldText(kStoredFieldCount, "x");
    doc.SetFieldText(40, "x");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(RecordOperations, RevertWithoutLoadedTextSaysSo) {
    doc.NewObject();
    doc.SetFieldText(field::Info, "typed");
    doc.RevertRecord();
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], "The changes to this record cannot be undone.");
    EXPECT_EQ(doc.Record(0).Field(field::Info), "typed");
}

TEST_F(RecordOperations, EmptyDocumentForgetsEverything) {
    doc.NewObject();
    doc.SetFieldText(field::Info, "x");
    doc.SetCurrentRecord(0, false, false);
    doc.SetDeletedRecordsExist(true);
    doc.EmptyDocument();
    EXPECT_EQ(doc.GetRecordCount(), 0);
    EXPECT_EQ(doc.CurrentIndex(), -1);
    EXPECT_EQ(doc.CurrentRecord(), nullptr);
    EXPECT_TRUE(doc.ChangedRecords().empty());
    EXPECT_TRUE(doc.NameIndex().empty());
    EXPECT_GE(doc.NameIndex().capacity(), 2000000u);
    EXPECT_FALSE(doc.DeletedRecordsExist());
}

TEST_F(RecordOperations, SaveSelectedAsksAndRemembersDontAskAgain) {
    doc.NewObject();
    host.QueueConfirm(platform::Answer::No, true);
    EXPECT_FALSE(doc.SaveSelectedRecords("/nonexistent-folder/x.obs", {}));
    EXPECT_EQ(profile.GetInt("Settings", "SaveSelRecs", 0), 0);

    host.QueueConfirm(platform::Answer::Yes, true);
    doc.SaveSelectedRecords("", {});
    EXPECT_EQ(profile.GetInt("Settings", "SaveSelRecs", 0), 1);
    // Once remembered, the dialog is skipped as if confirmed.
    const size_t shown = host.Events().size();
    doc.SaveSelectedRecords("", {});
    EXPECT_EQ(host.Events().size(), shown);
}

TEST_F(RecordOperations, SavingWithDeletedRecordsAsksFirst) {
    doc.NewObject();
    doc.SetDeletedRecordsExist(true);
    host.QueueAnswer(platform::Answer::No);
    EXPECT_FALSE(doc.SaveCommand("/nonexistent-folder/x.obs"));
    ASSERT_FALSE(host.Messages().empty());
    EXPECT_EQ(host.Messages().back(), "Are you sure you want to delete the marked records ?");
}

} // namespace
} // namespace vespario

namespace vespario {
namespace {

class MovingRecords : public test::DocFixture {
protected:
    MovingRecords() {
        for (int i = 0; i < 6; ++i)
            AddRecord({{field::Id, "=r" + std::to_string(i) + "="}});
    }
    std::string Order() {
        std::string order;
        for (int i = 0; i < doc.GetRecordCount(); ++i)
            order += std::string(doc.Record(i).Field(field::Id).substr(2, 1));
        return order;
    }
};

TEST_F(MovingRecords, BackwardAndForwardShiftTheRecordsBetween) {
    doc.SetCurrentRecord(3, false, false);
    EXPECT_EQ(doc.MoveRecord(5, 1, 4), 5); // the caller's record at 4 is now at 5
    EXPECT_EQ(Order(), "051234");
    EXPECT_EQ(doc.CurrentIndex(), 4);
    EXPECT_EQ(doc.CurrentRecord(), &doc.Record(4));
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), "=r3=");
    EXPECT_EQ(doc.MoveRecord(0, 5), -1);
    EXPECT_EQ(Order(), "512340");
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), "=r3=");
    EXPECT_EQ(doc.CurrentIndex(), 3);
    // The current record itself moves with its index.
    EXPECT_EQ(doc.MoveRecord(3, 0, 3), 0);
    EXPECT_EQ(Order(), "351240");
    EXPECT_EQ(doc.CurrentIndex(), 0);
}

TEST_F(MovingRecords, OutOfRangeMovesChangeNothing) {
    for (auto [from, to] : {std::pair{-1, 0}, {0, 6}, {6, 0}, {2, 2}, {0, -3}})
        EXPECT_EQ(doc.MoveRecord(from, to, 1), 1);
    EXPECT_EQ(Order(), "012345");
}

} // namespace
} // namespace vespario
