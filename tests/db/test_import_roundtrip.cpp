// The shipped catalogue written out as an export report and as CSV and imported into an empty
// database gives the same objects; importing it again matches everything and changes nothing.

#include "db/import.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "report/reportwriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

namespace fs = std::filesystem;
using namespace field;

const std::vector<int> kFields = {Try, RaDec, Type, Id, Magn, Size, Src, Info};

std::string ReadText(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The export report of every object, in record order, with the fields' tags as headings.
std::string ExportText(CVesparioDoc &doc, platform::Host &host, const fs::path &dir) {
    ReportLayout layout = DefaultLayout(ReportKind::Export, kUnitChars);
    layout.fields.clear();
    for (int f : kFields)
        layout.fields.push_back(
            {static_cast<uint32_t>(f), 10, std::string(BareTag(doc.Fields().Slot(f).tag))});
    std::vector<int> records(static_cast<size_t>(doc.GetRecordCount()));
    for (size_t r = 0; r < records.size(); ++r)
        records[r] = static_cast<int>(r);
    ReportSources sources(doc, host);
    const fs::path path = dir / "export.txt";
    std::string error;
    EXPECT_TRUE(WriteReport(ReportKind::Export, layout, RecordSequence(records), path.string(),
                            sources, &error))
        << error;
    return ReadText(path);
}

// The same fields as CSV, quoted where a value holds a comma or a double quote.
std::string CsvText(CVesparioDoc &doc, int &quoted) {
    std::string out;
    for (size_t i = 0; i < kFields.size(); ++i)
        out += (i ? "," : "") + std::string(BareTag(doc.Fields().Slot(kFields[i]).tag));
    out += "\r\n";
    for (int r = 0; r < doc.GetRecordCount(); ++r) {
        for (size_t i = 0; i < kFields.size(); ++i) {
            const std::string value(doc.Record(r).Field(kFields[i]));
            if (i)
                out += ',';
            if (value.find_first_of(",\"") == std::string::npos) {
                out += value;
                continue;
            }
            ++quoted;
            out += '"';
            for (char c : value)
                out += c == '"' ? std::string("\"\"") : std::string(1, c);
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

class ImportRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sample = new CVesparioDoc(host, profile);
        ASSERT_TRUE(
            sample->ReadDatabaseFile(std::string(VESPARIO_SOURCE_DATA_DIR) + "/sample.obs"));
        sample->LoadCompletely();
        ASSERT_EQ(sample->GetRecordCount(), 13960);
    }
    static void TearDownTestSuite() {
        delete sample;
        sample = nullptr;
    }

    ImportRoundTrip()
        : dir(fs::temp_directory_path() / ("vespario_roundtrip_" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
    }
    ~ImportRoundTrip() override { fs::remove_all(dir); }

    void RoundTrip(const std::string &name, const std::string &content) {
        const fs::path file = dir / name;
        std::ofstream(file, std::ios::binary) << content;
        ImportText text;
        ASSERT_TRUE(ReadImportFile(file.string(), host, text));
        ImportDescription d;
        d.fields = kFields;
        std::string error;
        ASSERT_TRUE(PresetDescription(text, d, error)) << error;
        d.skipLines = 1;
        d.addNew = true;
        d.log = true;

        CVesparioDoc doc(host, profile);
        const ImportSummary first = ImportData(doc, text, d, false);
        EXPECT_EQ(first.added, 13960);
        EXPECT_EQ(first.matched, 0);
        ASSERT_EQ(doc.GetRecordCount(), 13960);
        for (int r = 0; r < 13960; ++r) {
            for (int f : kFields)
                ASSERT_EQ(doc.Record(r).Field(f), sample->Record(r).Field(f))
                    << name << " record " << r << " field " << f;
        }
        std::ostringstream imported, original;
        ASSERT_TRUE(doc.WriteDatabase(imported));
        ASSERT_TRUE(sample->WriteDatabase(original));
        EXPECT_TRUE(imported.str() == original.str()) << name << ": the database written differs";
        const fs::path saved1 = dir / "first.obs", saved2 = dir / "second.obs";
        ASSERT_TRUE(doc.SaveDatabase(saved1.string()));

        const ImportSummary second = ImportData(doc, text, d, false);
        EXPECT_EQ(second.recordsRead, 13960);
        EXPECT_EQ(second.matched, 13960);
        EXPECT_EQ(second.added + second.unmatched, 0);
        EXPECT_EQ(second.created + second.replaced + second.appended + second.rejected, 0);
        const std::string log = ReadText(text.logPath);
        EXPECT_EQ(log.rfind("Import Update Summary\n   13960 import records read\n", 0), 0u)
            << log.substr(0, 400); // no line before it: every field was already there
        EXPECT_NE(log.find("  Create=0\n  Replace=0\n  Append=0\n  Reject=0\n"), std::string::npos);
        ASSERT_TRUE(doc.SaveDatabase(saved2.string()));
        EXPECT_TRUE(ReadText(saved1) == ReadText(saved2)) << name;
    }

    static inline platform::HeadlessHost host;
    static inline platform::IniProfile profile;
    static inline CVesparioDoc *sample = nullptr;
    fs::path dir;
};

TEST_F(ImportRoundTrip, ExportFileOfTheSample) {
    RoundTrip("sample.txt", ExportText(*sample, host, dir));
}

TEST_F(ImportRoundTrip, CsvOfTheSample) {
    int quoted = 0;
    const std::string csv = CsvText(*sample, quoted);
    EXPECT_GT(quoted, 0); // the sample's notes hold commas
    RoundTrip("sample.csv", csv);
}

} // namespace
} // namespace vespario
