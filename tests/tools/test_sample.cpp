// The sample database: OpenNGC rows turned into records, and the shipped data/sample.obs
// being exactly what the converter writes from the shipped catalogue.

#include "tools/sample_lib.h"

#include "../platform/tempfolder.h"
#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <gtest/gtest.h>

#include <set>

namespace vespario::sample {
namespace {

const std::string kData = VESPARIO_SOURCE_DATA_DIR;

TEST(SampleCsv, QuotedFieldsKeepTheirCommas) {
    const auto f =
        SplitCsvLine("NGC 224,Galaxy,10.68,41.27,4.36,177.83,69.66,35,\"Andromeda Galaxy, "
                     "M 31, \"\"Great\"\" Nebula\",NGC0224\r");
    ASSERT_EQ(f.size(), 10u);
    EXPECT_EQ(f[8], "Andromeda Galaxy, M 31, \"Great\" Nebula");
    EXPECT_EQ(f[9], "NGC0224");
    EXPECT_EQ(SplitCsvLine("a,,c").size(), 3u);
    EXPECT_EQ(SplitCsvLine("").size(), 1u);
}

TEST(SampleRecord, DesignationsNamesAndMeasures) {
    const CatalogueRow m31{"NGC 224",  "Galaxy", "10.684708",
                           "41.26875", "4.36",   "177.83",
                           "69.66",    "35",     "Andromeda Galaxy, PGC 2557, UGC 454, M 31",
                           "NGC0224"};
    SampleRecord r;
    std::string error;
    ASSERT_TRUE(MakeRecord(m31, r, error)) << error;
    EXPECT_EQ(r.id, "=M31=n224=u454=PGC 2557=Andromeda Galaxy=");
    EXPECT_EQ(r.raDec, "004244.3+411608");
    EXPECT_EQ(r.type, "eg");
    EXPECT_EQ(r.magn, "4.36");
    EXPECT_EQ(r.size, "177.83x69.66");
    EXPECT_EQ(r.info, "Andromeda Galaxy.");

    const CatalogueRow cluster{"IC 4725", "Open cluster", "277.944875", "-19.114944",
                               "4.60",    "14.10",        "",           "",
                               "M 25",    "IC4725"};
    ASSERT_TRUE(MakeRecord(cluster, r, error));
    EXPECT_EQ(r.id, "=M25=i4725=");
    EXPECT_EQ(r.magn, "4.6");
    EXPECT_EQ(r.size, "14.1");
    EXPECT_EQ(r.info, "");
    EXPECT_EQ(r.raDec.substr(6, 4), ".8-1");
}

TEST(SampleRecord, BadPositionsAreRefused) {
    SampleRecord r;
    std::string error;
    EXPECT_FALSE(MakeRecord({"NGC 1", "Galaxy", "", "10", "", "", "", "", "", ""}, r, error));
    EXPECT_NE(error.find("NGC 1"), std::string::npos);
    EXPECT_FALSE(MakeRecord({"NGC 2", "Galaxy", "12x", "10", "", "", "", "", "", ""}, r, error));
    EXPECT_FALSE(MakeRecord({"NGC 3", "Galaxy", "12", "95", "", "", "", "", "", ""}, r, error));
}

// Every type the catalogue uses has a code in the profile a new installation starts with.
TEST(SampleTypes, EveryCatalogueTypeIsInTheShippedVocabulary) {
    platform::IniProfile profile;
    ASSERT_TRUE(profile.Load(kData + "/Vespario.ini"));
    std::set<std::string> codes;
    const int count = profile.GetInt("ObjectType", "NumberOf", 0);
    for (int i = 0; i < count; ++i)
        codes.insert(profile.GetString("ObjectType", "Type" + std::to_string(i)).substr(0, 2));
    for (const char *type :
         {"Galaxy", "Open cluster", "Globular cluster", "Nebula", "Planetary nebula",
          "Supernova remnant", "Galaxy cluster", "Asterism", "Dark nebula", "Star", "Multiple star",
          "Quasar", "Radio source", "Other", "Something new"})
        EXPECT_TRUE(codes.count(TypeCode(type))) << type;
    // And the source the sample uses.
    bool openNgc = false;
    for (int i = 0; i < profile.GetInt("ObjectSource", "NumberOf", 0); ++i)
        openNgc =
            openNgc ||
            profile.GetString("ObjectSource", "Source" + std::to_string(i)).rfind("o=", 0) == 0;
    EXPECT_TRUE(openNgc);
}

TEST(SampleDatabase, TheShippedFileIsWhatTheConverterWrites) {
    test::TempFolder folder;
    const std::string out = folder.File("sample.obs");
    std::string error;
    int records = 0;
    ASSERT_TRUE(WriteSampleDatabase(kData + "/openngc.csv", out, error, &records)) << error;
    EXPECT_EQ(records, 13960);
    const auto fresh = platform::ReadWholeFile(out);
    const auto shipped = platform::ReadWholeFile(kData + "/sample.obs");
    ASSERT_TRUE(fresh && shipped);
    EXPECT_TRUE(*fresh == *shipped) << "data/sample.obs is stale: run vespario-make-sample";

    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc(host, profile);
    ASSERT_TRUE(doc.ReadDatabaseFile(kData + "/sample.obs"));
    doc.LoadCompletely();
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(doc.GetRecordCount(), 13960);
    const int m31 = FindExactId(doc, "n224");
    ASSERT_GE(m31, 0);
    EXPECT_EQ(FindExactId(doc, "M31"), m31);
    EXPECT_EQ(FindExactId(doc, "andromeda galaxy"), m31);
    EXPECT_EQ(doc.GetText(field::Info, m31), "Andromeda Galaxy.");
    EXPECT_EQ(doc.GetText(field::Src, m31), "o");
}

TEST(SampleDatabase, ADamagedCatalogueLeavesTheOutputAlone) {
    test::TempFolder folder;
    const std::string csv = folder.File("bad.csv");
    const std::string out = folder.File("out.obs");
    ASSERT_TRUE(platform::WriteWholeFileAtomic(out, "old"));
    std::string error;
    ASSERT_TRUE(platform::WriteWholeFileAtomic(
        csv, "Name,Type,RA_deg,Dec_deg,Mag,MajAx_arcmin,MinAx_arcmin,"
             "PosAng_deg,OtherNames,CatalogId\r\nNGC 1,Galaxy,1,2\r\n"));
    EXPECT_FALSE(WriteSampleDatabase(csv, out, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    ASSERT_TRUE(platform::WriteWholeFileAtomic(csv, "just text\r\n"));
    EXPECT_FALSE(WriteSampleDatabase(csv, out, error));
    EXPECT_FALSE(WriteSampleDatabase(folder.File("missing.csv"), out, error));
    EXPECT_EQ(platform::ReadWholeFile(out).value_or(""), "old");
}

} // namespace
} // namespace vespario::sample
