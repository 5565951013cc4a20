// The database file: layout, escapes and line structure, old versions, every load message,
// saving through the temporary file and the backup, and damaged input.

#include "db/cvespariodoc.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {
namespace {

namespace fs = std::filesystem;

constexpr const char *kNotVespario =
    "This is not a Vespario file. Search for 'file format' in help.";
constexpr const char *kShortFile = "Warning: File is shorter than it was when last saved.";
constexpr const char *kNotAllRead = "Warning: Not all of the file was read";
constexpr const char *kNoMemory = "Cannot obtain memory to read file";

// What the headless host recorded: message texts that begin with prefix, the last progress
// text, the number of times the progress text was taken away.
int CountShown(const platform::HeadlessHost &host, std::string_view prefix) {
    int n = 0;
    for (const std::string &m : host.Messages())
        n += m.compare(0, prefix.size(), prefix) == 0;
    return n;
}
bool Shown(const platform::HeadlessHost &host, std::string_view prefix) {
    return CountShown(host, prefix) > 0;
}
std::string LastProgressText(const platform::HeadlessHost &host) {
    std::string text;
    for (const platform::HostEvent &event : host.Events())
        if (event.kind == platform::HostEventKind::Progress)
            text = event.text;
    return text;
}
int EndProgressCount(const platform::HeadlessHost &host) {
    int n = 0;
    for (const platform::HostEvent &event : host.Events())
        n += event.kind == platform::HostEventKind::EndProgress;
    return n;
}

class CountingViews : public DocumentViews {
public:
    void ShowRecordCount(int count) override { shownCounts.push_back(count); }
    std::vector<int> shownCounts;
};

// A stream buffer that accepts `limit` bytes and then fails, like a full disk.
class FailingBuf : public std::streambuf {
public:
    explicit FailingBuf(size_t limit) : m_limit(limit) {}
    std::string data;

protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        if (data.size() >= m_limit)
            return traits_type::eof();
        data.push_back(static_cast<char>(c));
        return c;
    }
    std::streamsize xsputn(const char *s, std::streamsize n) override {
        std::streamsize done = 0;
        while (done < n && overflow(static_cast<unsigned char>(s[done])) != traits_type::eof())
            ++done;
        return done;
    }

private:
    size_t m_limit;
};

// An input buffer that announces `announced` bytes when asked for its end but delivers only
// its text: a file that changed while it was read, or one far too big.
class ShortReadBuf : public std::streambuf {
public:
    ShortReadBuf(std::string text, std::streamoff announced)
        : m_text(std::move(text)), m_announced(announced) {
        setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
    }

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        if (dir == std::ios_base::end)
            m_pos = m_announced + off;
        else if (dir == std::ios_base::beg)
            m_pos = off;
        if (dir == std::ios_base::beg && off == 0)
            setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
        return pos_type(m_pos);
    }

private:
    std::string m_text;
    std::streamoff m_announced;
    std::streamoff m_pos = 0;
};

// A pipe: no seeking at all.
class PipeBuf : public std::streambuf {
public:
    explicit PipeBuf(std::string text) : m_text(std::move(text)) {
        setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
    }

private:
    std::string m_text;
};

struct RecordFields {
    std::vector<std::pair<int, std::string>> fields;
};

class DatabaseFileTest : public ::testing::Test {
protected:
    DatabaseFileTest() {
        profile.WriteInt("ObsPlace", "NumberOf", 2);
        profile.WriteString("ObsPlace", "Place0", "H Home garden");
        profile.WriteString("ObsPlace", "Place1", "D Dark site");
        profile.WriteInt("ObsEquip", "NumberOf", 2);
        profile.WriteString("ObsEquip", "Equip0", "8 8 inch Dobsonian");
        profile.WriteString("ObsEquip", "Equip1", "B 10x50 binoculars");
        MakeDoc();
        dir = fs::temp_directory_path() /
              ("vespario_dbfile_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~DatabaseFileTest() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }

    void MakeDoc() {
        doc.reset();
        doc = std::make_unique<CVesparioDoc>(host, profile);
        doc->SetViews(&views);
    }

    int Add(const RecordFields &wanted) {
        doc->NewObject();
        for (const auto &[n, text] : wanted.fields)
            doc->SetFieldText(n, text);
        doc->SetCurrentRecord(-1, false, false);
        return doc->CurrentIndex();
    }

    std::string Save() {
        std::ostringstream out;
        EXPECT_TRUE(doc->WriteDatabase(out));
        return out.str();
    }

    void Load(const std::string &bytes) {
        std::istringstream in(bytes);
        doc->ReadDatabase(in);
        doc->LoadCompletely();
    }

    std::string Field(int record, int n) { return std::string(doc->Record(record).Field(n)); }

    std::string Path(const std::string &name) const { return (dir / name).string(); }

    static std::string ReadFile(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteFile(const std::string &path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    platform::HeadlessHost host;
    platform::IniProfile profile;
    CountingViews views;
    std::unique_ptr<CVesparioDoc> doc;
    fs::path dir;
};

const std::string kEmptyHeader = ";Vespario=  2=         0=        55=         0=_=;=;=\r\n";

// --- layout -----------------------------------------------------------------------------

TEST_F(DatabaseFileTest, EmptyDatabaseIsHeaderWithCounters) {
    EXPECT_EQ(Save(), kEmptyHeader);
    EXPECT_EQ(LastProgressText(host), "Saving File");
    EXPECT_EQ(EndProgressCount(host), 1);
}

TEST_F(DatabaseFileTest, RecordLayoutByteForByte) {
    Add({{{field::RaDec, "0042+41.3"},
          {field::Id, "=M31=n224="},
          {field::Magn, "3.4"},
          {field::UncSrc, ""},
          {field::Info, "big galaxy"},
          {field::Obs, "20200101H8 nice\r\n"}}});
    const std::string record = "_n;0042+41.3;eg;=M31=n224=;;3.4;;;z;;;;\r\n"
                               " info: big galaxy;\r\n"
                               " obs: 20200101H8 nice\r\n;\r\n";
    const std::string file = Save();
    char counters[40];
    std::snprintf(counters, sizeof counters, "%10u=%10u=%10u", 1u,
                  static_cast<unsigned>(55 + record.size()), 1u);
    std::string expected = kEmptyHeader + record;
    expected.replace(14, 32, counters);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(doc->ObservationsWritten(), 1u);
    EXPECT_EQ(doc->Load().version, 2);
}

TEST_F(DatabaseFileTest, LongFieldsInNumberOrderAndEmptyOnesLeftOut) {
    Add({{{field::Obs, "o"},
          {field::In, "Virgo cluster"},
          {field::Z, "0.003"},
          {field::UncSrc, "mine"}}});
    const std::string file = Save();
    const size_t uncsrc = file.find(" uncsrc: mine;");
    const size_t in = file.find(" in: Virgo cluster;");
    const size_t z = file.find(" z: 0.003;");
    const size_t obs = file.find(" obs: o;");
    ASSERT_NE(uncsrc, std::string::npos);
    EXPECT_LT(uncsrc, in);
    EXPECT_LT(in, z);
    EXPECT_LT(z, obs);
    EXPECT_EQ(file.find(" info: "), std::string::npos);
}

TEST_F(DatabaseFileTest, LongTextWrapsAtRecordWidthAndJoinsWithSingleBlanks) {
    std::string info;
    for (int i = 0; i < 60; ++i)
        info += "word" + std::to_string(i) + " ";
    info.pop_back();
    Add({{{field::Info, info}}});
    const std::string file = Save();
    std::istringstream lines(file);
    std::string line;
    int infoLines = 0;
    bool inInfo = false;
    while (std::getline(lines, line)) {
        if (line.rfind(" info: ", 0) == 0)
            inInfo = true;
        if (!inInfo)
            continue;
        ++infoLines;
        EXPECT_EQ(line[0], ' ');
        EXPECT_LT(line.size(), 70u + 12u) << line; // the width plus the word that crosses it
        if (line.find(';') != std::string::npos)
            break;
    }
    EXPECT_GT(infoLines, 4);
    Load(file);
    EXPECT_EQ(Field(0, field::Info), info);
}

TEST_F(DatabaseFileTest, RecordWidthComesFromProfile) {
    profile.WriteInt("File", "RecordWidth", 20);
    Add({{{field::Info, "aaaa bbbb cccc dddd eeee ffff gggg hhhh"}}});
    const std::string file = Save();
    EXPECT_NE(file.find(" info: aaaa bbbb cccc\r\n dddd"), std::string::npos) << file;
}

// The wrapping one character at a time, as it reads in words: the writer, which copies the
// runs between escapes and line ends whole, must give the same bytes.
std::string ReferenceWrapped(std::string_view text, size_t column, size_t width) {
    std::string out;
    const size_t n = text.size();
    const auto put = [&](size_t k) {
        const char c = text[k];
        if (c == '\\' || c == '_' || c == ';')
            out += '\\';
        out += c;
        if (c == '\n' && k + 1 < n && text[k + 1] != ' ')
            out += ' ';
    };
    size_t i = 0;
    while (i < n) {
        for (; i < n && column < width; ++i) {
            put(i);
            if (text[i] == '\r' || text[i] == '\n')
                column = text[i] == '\n' && i + 1 < n && text[i + 1] != ' ' ? 1 : 0;
            else
                ++column;
        }
        for (; i < n && text[i] != ' ' && text[i] != '\n' && text[i] != '\r'; ++i)
            put(i);
        if (i >= n)
            break;
        if (text[i] != '\r' && text[i] != '\n')
            out += "\r\n";
        column = 0;
    }
    return out;
}

TEST_F(DatabaseFileTest, WrappingMatchesTheCharacterByCharacterRule) {
    std::mt19937 random(11);
    const std::string alphabet = "abcdefgh   \r\n\\_;xyz0123456789";
    for (int round = 0; round < 300; ++round) {
        const size_t width = std::vector<size_t>{1, 7, 20, 70}[round % 4];
        profile.WriteInt("File", "RecordWidth", static_cast<int>(width));
        std::string text;
        for (size_t k = random() % 400; k > 0; --k)
            text += alphabet[random() % alphabet.size()];
        if (text.empty())
            continue;
        MakeDoc();
        Add({{{field::UncSrc, ""}, {field::Info, text}}});
        const std::string file = Save();
        const std::string expected = " info: " + ReferenceWrapped(text, 7, width) + ";\r\n";
        ASSERT_TRUE(file.size() >= expected.size() &&
                    file.compare(file.size() - expected.size(), expected.size(), expected) == 0)
            << "width " << width << ", text [" << text << "]";
    }
}

TEST_F(DatabaseFileTest, RecordsAreWrittenParsedFirst) {
    Add({{{field::Info, "kept"}}});
    const std::string first = Save();
    // Nothing parsed yet after a bare read and split: the writer parses on its way.
    std::istringstream in(first);
    doc->ReadDatabase(in);
    doc->SplitRecordsSlice(platform::TickCount() + 100000);
    while (!doc->Load().allSplit)
        doc->SplitRecordsSlice(platform::TickCount() + 100000);
    EXPECT_EQ(doc->Record(0).m_parsed, 0);
    EXPECT_EQ(Save(), first);
}

// --- escapes and round trips ------------------------------------------------------------

struct EscapeCase {
    int field;
    std::string text;
};

class EscapeTest : public DatabaseFileTest, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(EscapeTest, SurvivesSaveAndReload) {
    const EscapeCase &c = GetParam();
    Add({{{c.field, c.text}}});
    const std::string file = Save();
    Load(file);
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_EQ(Field(0, c.field), c.text);
    EXPECT_TRUE(host.Messages().empty()) << host.Messages().front();
    EXPECT_EQ(Save(), file);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeTest,
    ::testing::Values(EscapeCase{field::Magn, "a_b"}, EscapeCase{field::Magn, "a;b"},
                      EscapeCase{field::Magn, "back\\slash"}, EscapeCase{field::Class, "\\_;"},
                      EscapeCase{field::Try, "_"}, EscapeCase{field::Rate, ";"},
                      EscapeCase{field::Info, "x_y;z\\w"}, EscapeCase{field::Info, "\\"},
                      EscapeCase{field::Info, "ends with backslash\\"},
                      EscapeCase{field::Posn, "12h_30m; -40"}, EscapeCase{field::Info, "a, b % c"},
                      EscapeCase{field::Info, "= not id"}, EscapeCase{field::Rv, "_"},
                      EscapeCase{field::Id, "=a_b=c;d="}));

struct LinesCase {
    int field;
    std::string fileText; // as it stands in the file after the tag
    std::string memory;   // what parsing makes of it
};

class LineStructureTest : public DatabaseFileTest,
                          public ::testing::WithParamInterface<LinesCase> {};

TEST_P(LineStructureTest, FileTextGetsItsLines) {
    const LinesCase &c = GetParam();
    Add({{{c.field, "placeholder"}}});
    std::string file = Save();
    const std::string tag(doc->Fields().Slot(c.field).tag);
    const size_t at = file.find(tag + "placeholder;");
    ASSERT_NE(at, std::string::npos);
    file.replace(at + tag.size(), 11, c.fileText);
    Load(file);
    EXPECT_EQ(Field(0, c.field), c.memory);
    // And the memory form is stable: written and read again it stays the same.
    const std::string again = Save();
    Load(again);
    EXPECT_EQ(Field(0, c.field), c.memory);
    EXPECT_EQ(Save(), again);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LineStructureTest,
    ::testing::Values(
        LinesCase{field::Refs, "^S&T 1990 p12 ^Burnham ^new one",
                  "^S&T 1990 p12\r\n^Burnham\r\n^new one\r\n"},
        LinesCase{field::Refs, "a^b^c", "a\r\n^b\r\n^c\r\n"},
        LinesCase{field::Url, "{file a} {http://x.org/}", "{file a}\r\n{http://x.org/}\r\n"},
        LinesCase{field::Url, "{a}{b}", "{a}\r\n{b}\r\n"},
        LinesCase{field::Obs, "20200101H8 nice 20200315DB faint",
                  "20200101H8 nice\r\n20200315DB faint\r\n"},
        LinesCase{field::Obs, "20200101H8 a20210202D8 b", "20200101H8 a\r\n20210202D8 b\r\n"},
        LinesCase{field::Obs, "seen 19991231HB", "seen\r\n19991231HB\r\n"},
        // Not headers: month 13, an unknown place code, a year before 1900.
        LinesCase{field::Obs, "20201301H8 x 20200101X8 y 18990101H8 z",
                  "20201301H8 x 20200101X8 y 18990101H8 z\r\n"},
        LinesCase{field::Goal, "See it. (U 12)-find. Next? (x)-y",
                  "See it. \r\n(U 12)-find. Next? \r\n(x)-y\r\n"},
        LinesCase{field::Goal, "no sentence (U 12)-x", "no sentence (U 12)-x\r\n"},
        LinesCase{field::Info, "one  two   three", "one two three"},
        LinesCase{field::Info, "joined\r\n line", "joined line"}));

TEST_F(DatabaseFileTest, ObservationsAreCountedWhileParsingAndWriting) {
    Add({{{field::Obs, "20200101H8 a\r\n20200102D8 b\r\n20200103HB c\r\n"}}});
    Add({{{field::Obs, "20200101H8 only\r\n"}}});
    const std::string file = Save();
    EXPECT_EQ(doc->ObservationsWritten(), 4u);
    EXPECT_NE(file.find("=         4=_"), std::string::npos);
    Load(file);
    EXPECT_EQ(doc->Load().observationsCounted, 4u);
    EXPECT_EQ(doc->Load().expectedObservations, 4u);
    EXPECT_EQ(doc->CountObservations("20200101H8 x 20200101H8"), 2);
    EXPECT_EQ(doc->CountObservations("2020010"), 0);
}

TEST_F(DatabaseFileTest, SaveReloadSaveIsByteIdentical) {
    Add({{{field::RaDec, "0042+41.3"},
          {field::Id, "=M31=n224=Andromeda Galaxy="},
          {field::CheckBoxes, "ab"},
          {field::Magn, "3.4"},
          {field::Size, "180x60"},
          {field::Class, "Sb"},
          {field::SawOn, "2020/01/01"},
          {field::Ease, "e"},
          {field::Rate, "5"},
          {field::Info, std::string(150, 'x') + " tail _;\\"},
          {field::In, "Local Group"},
          {field::Refs, "^a\r\n^b\r\n^c\r\n"},
          {field::Url, "{a}\r\n{b}\r\n"},
          {field::Rv, "-300"},
          {field::Pc, "770000"},
          {field::Z, "-0.001"},
          {field::Posn, "0040+41 1950"},
          {field::Goal, "Dust lanes. \r\n(U 60)-core\r\n"},
          {field::Obs, "20200101H8 " + std::string(100, 'y') + " long\r\n20200101DB b\r\n"}}});
    Add({{{field::Id, "=n891="}}});
    Add({});
    const std::string first = Save();
    Load(first);
    ASSERT_EQ(doc->GetRecordCount(), 3);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Field(0, field::Refs), "^a\r\n^b\r\n^c\r\n");
    EXPECT_EQ(Field(0, field::Obs),
              "20200101H8 " + std::string(100, 'y') + " long\r\n20200101DB b\r\n");
    EXPECT_EQ(Field(0, field::Goal), "Dust lanes. \r\n(U 60)-core\r\n");
    EXPECT_EQ(Field(0, field::Info), std::string(150, 'x') + " tail _;\\");
    EXPECT_EQ(Save(), first);
}

TEST_F(DatabaseFileTest, DeletedRecordsAreLeftOut) {
    Add({{{field::Id, "=keep1="}}});
    Add({{{field::Id, "=gone="}}});
    Add({{{field::Id, "=keep2="}}});
    doc->Record(1).m_deleted = 1;
    Load(Save());
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Id), "=keep1=");
    EXPECT_EQ(Field(1, field::Id), "=keep2=");
}

TEST_F(DatabaseFileTest, SaveSelectedWritesOnlyTrustedListEntries) {
    for (const char *id : {"=a=", "=b=", "=c=", "=d="})
        Add({{{field::Id, id}}});
    const std::vector<int> list{2, 0};
    doc->Record(2).m_listPosition = 0;
    doc->Record(0).m_listPosition = 1;
    doc->Record(3).m_listPosition = 1; // stale: the list's entry 1 is record 0
    const std::string path = Path("sel.obs");
    ASSERT_TRUE(doc->SaveSelectedRecords(path, list));
    Load(ReadFile(path));
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Id), "=a="); // file order, not list order
    EXPECT_EQ(Field(1, field::Id), "=c=");
}

// --- reading: splitting, the name index, slices -----------------------------------------

TEST_F(DatabaseFileTest, SplittingStoresIdsAndIndexBeforeParsing) {
    Add({{{field::Id, "=M31=n224="}}});
    Add({{{field::Id, "=ic10="}}});
    const std::string file = Save();
    std::istringstream in(file);
    doc->ReadDatabase(in);
    EXPECT_EQ(doc->GetRecordCount(), 0);
    doc->SplitRecordsSlice(platform::TickCount() + 100000);
    while (!doc->Load().allSplit)
        doc->SplitRecordsSlice(platform::TickCount() + 100000);
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(doc->Record(0).m_parsed, 0);
    EXPECT_EQ(Field(0, field::Id), "=M31=n224=");
    EXPECT_EQ(doc->NameIndex(), "=M31=N224=|0001|=IC10=|0002|");
    EXPECT_EQ(views.shownCounts.back(), 2);
    doc->EnsureParsed(1);
    EXPECT_EQ(Field(1, field::Id), "=ic10=");
    EXPECT_EQ(Field(1, field::Type), "eg");
}

TEST_F(DatabaseFileTest, SlicesStopAtTheirDeadline) {
    for (int i = 0; i < 5; ++i)
        Add({{{field::Id, "=x" + std::to_string(i) + "="}}});
    std::istringstream in(Save());
    doc->ReadDatabase(in);
    // A deadline that has already passed still lets one record through per slice.
    for (int i = 1; i <= 5; ++i) {
        doc->SplitRecordsSlice(platform::TickCount());
        EXPECT_EQ(doc->Load().recordsSplit, i);
        EXPECT_FALSE(doc->Load().allSplit);
    }
    doc->SplitRecordsSlice(platform::TickCount());
    EXPECT_TRUE(doc->Load().allSplit);
    for (int i = 1; i <= 5; ++i) {
        doc->ParseRecordsSlice(platform::TickCount());
        EXPECT_EQ(doc->Load().recordsParsed, i);
    }
    EXPECT_TRUE(doc->Record(4).m_parsed);
    doc->ParseRecordsSlice(platform::TickCount());
    EXPECT_TRUE(doc->Load().allParsed);
}

TEST_F(DatabaseFileTest, LowMemoryReleasesTheBufferOnceParsed) {
    profile.WriteInt("Settings", "LowMemory", 1);
    Add({{{field::Info, "x"}}});
    Load(Save());
    EXPECT_EQ(doc->Load().buffer, nullptr);
    EXPECT_EQ(doc->Record(0).m_rawText, nullptr);
    EXPECT_EQ(Field(0, field::Info), "x");
    doc->SetCurrentRecord(0, false, false);
    doc->RevertRecord();
    EXPECT_TRUE(Shown(host, "The changes to this record cannot be undone."));
}

TEST_F(DatabaseFileTest, RevertReadsTheIdFromTheText) {
    Add({{{field::Id, "=orig="}, {field::Info, "old"}}});
    Load(Save());
    doc->SetCurrentRecord(0, false, false);
    doc->SetFieldText(field::Id, "=changed=");
    doc->SetFieldText(field::Info, "new");
    doc->RevertRecord();
    EXPECT_EQ(Field(0, field::Id), "=orig=");
    EXPECT_EQ(Field(0, field::Info), "old");
}

TEST_F(DatabaseFileTest, PipeStreamIsReadToo) {
    Add({{{field::Id, "=piped="}}});
    PipeBuf buf(Save());
    std::istream in(&buf);
    doc->ReadDatabase(in);
    doc->LoadCompletely();
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_EQ(Field(0, field::Id), "=piped=");
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DatabaseFileTest, ReadDatabaseFileReportsUnopenable) {
    EXPECT_FALSE(doc->ReadDatabaseFile(Path("missing.obs")));
    Add({{{field::Id, "=f="}}});
    WriteFile(Path("a.obs"), Save());
    EXPECT_TRUE(doc->ReadDatabaseFile(Path("a.obs")));
    doc->LoadCompletely();
    EXPECT_EQ(doc->GetRecordCount(), 1);
}

// --- old versions ------------------------------------------------------------------------

TEST_F(DatabaseFileTest, VersionZeroLoadsAndIsWrittenAsVersionTwo) {
    ASSERT_TRUE(doc->ReadDatabaseFile(std::string(VESPARIO_TEST_DATA_DIR) + "/version0.obs"));
    doc->LoadCompletely();
    EXPECT_TRUE(host.Messages().empty()) << host.Messages().front();
    EXPECT_EQ(doc->Load().version, 0);
    EXPECT_EQ(doc->Load().greekTextForm, 0);
    EXPECT_EQ(doc->Load().shortEnd, ',');
    EXPECT_EQ(doc->Load().longEnd, '%');
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Id), "=M31=n224=");
    EXPECT_EQ(Field(0, field::Magn), "3,4");
    EXPECT_EQ(Field(0, field::Size), "180x60");
    EXPECT_EQ(Field(0, field::Info), "big, bright 100% worth it");
    EXPECT_EQ(Field(0, field::Obs), "19950101H8 first\r\n19960101DB second\r\n");
    EXPECT_EQ(Field(1, field::Id), "=n891=");
    EXPECT_EQ(Field(1, field::Src), "b");
    const std::string saved = Save();
    EXPECT_EQ(saved.rfind(";Vespario=  2=         2=", 0), 0u);
    EXPECT_EQ(doc->Load().shortEnd, ';');
    Load(saved);
    EXPECT_EQ(doc->Load().version, 2);
    EXPECT_EQ(Field(0, field::Info), "big, bright 100% worth it");
    EXPECT_EQ(Field(0, field::Magn), "3,4");
}

TEST_F(DatabaseFileTest, VersionOneLoadsWithItsDelimiters) {
    ASSERT_TRUE(doc->ReadDatabaseFile(std::string(VESPARIO_TEST_DATA_DIR) + "/version1.obs"));
    doc->LoadCompletely();
    EXPECT_TRUE(host.Messages().empty()) << host.Messages().front();
    EXPECT_EQ(doc->Load().version, 1);
    EXPECT_EQ(doc->Load().greekTextForm, 2);
    EXPECT_EQ(doc->Load().recordStart, '#');
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Id), "=M1=n1952=Crab=");
    EXPECT_EQ(Field(0, field::Info), "under_score; semi");
    EXPECT_EQ(Field(1, field::Id), "=M42=");
    EXPECT_EQ(Field(1, field::Goal), "Trapezium stars E and F\r\n"); // no stray record mark
    const std::string saved = Save();
    Load(saved);
    EXPECT_EQ(doc->Load().version, 2);
    EXPECT_EQ(Field(0, field::Info), "under_score; semi");
}

TEST_F(DatabaseFileTest, EmptyFileIsAnEmptyDatabase) {
    Load("");
    EXPECT_EQ(doc->GetRecordCount(), 0);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(doc->Load().allParsed);
}

// --- every message of the failure table --------------------------------------------------

struct RefusedCase {
    std::string bytes;
};

class RefusedTest : public DatabaseFileTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedTest, IsNotAVesparioFile) {
    Load(GetParam().bytes);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{kNotVespario});
    EXPECT_EQ(doc->GetRecordCount(), 0);
    EXPECT_TRUE(doc->Load().allParsed);
}

INSTANTIATE_TEST_SUITE_P(Headers, RefusedTest,
                         ::testing::Values(RefusedCase{"hello"}, RefusedCase{"\r\n_n;x;"},
                                           RefusedCase{";"},
                                           RefusedCase{";Vespera=  2=0=0=0=_=;=;=\r\n_a;=x=;"},
                                           RefusedCase{";vespario=  2=0=0=0=_=;=;=\r\n"},
                                           RefusedCase{";Vespario=  0=_=;=;=\r\n"},
                                           RefusedCase{";Vespario=abc=_=;=;=\r\n"},
                                           RefusedCase{";Vespario= -1=_=;=;=\r\n"},
                                           RefusedCase{";Vespario=  2=         1=       100"},
                                           RefusedCase{";Vespario=  1=_=;="},
                                           RefusedCase{";Vespario"},
                                           RefusedCase{std::string("\0_a", 3)}));

TEST_F(DatabaseFileTest, CutShortReportsShortFileAndMissingObjects) {
    for (const char *id : {"=a=", "=b=", "=c="})
        Add({{{field::Id, id}, {field::Obs, "20200101H8 seen\r\n"}}});
    const std::string file = Save();
    const size_t third = file.find("_n;0000+00.0;eg;=c=");
    ASSERT_NE(third, std::string::npos);
    Load(file.substr(0, third));
    EXPECT_EQ(CountShown(host, kShortFile), 1);
    EXPECT_TRUE(
        Shown(host, "Warning: File contains 1 less object(s) than it had when last saved."));
    EXPECT_TRUE(
        Shown(host, "Warning: File contains 1 less observation(s) than it had when last saved."));
    EXPECT_EQ(doc->GetRecordCount(), 2);
}

TEST_F(DatabaseFileTest, LostObservationIsReported) {
    Add({{{field::Obs, "20200101H8 a\r\n20200102H8 b\r\n20200103H8 c\r\n"}}});
    std::string file = Save();
    const size_t at = file.find("20200102H8");
    file.replace(at, 4, "xxxx"); // same length: only the observation is gone
    Load(file);
    EXPECT_EQ(host.Messages(),
              std::vector<std::string>{"Warning: File contains 1 less observation(s) than it had "
                                       "when last saved."});
}

TEST_F(DatabaseFileTest, MissingIdKeepsTheRecordWithoutIndexEntry) {
    Load(";Vespario=  2=0=0=0=_=;=;=\r\n_n;x;eg;=ok=;\r\n_n;x;eg;no id;\r\n_n;;;=z=;\r\n");
    ASSERT_EQ(doc->GetRecordCount(), 3);
    EXPECT_EQ(CountShown(host, "Missing ID Field in record 2"), 1);
    EXPECT_EQ(Field(1, field::Id), "no id");
    EXPECT_EQ(doc->NameIndex(), "=OK=|0001|=Z=|0003|");
}

TEST_F(DatabaseFileTest, DuplicatedFieldLaterTextWins) {
    Load(";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=a=;;;;;;;;;\r\n info: first;\r\n"
         " info: second;\r\n");
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Duplicated field at  info: second"});
    EXPECT_EQ(Field(0, field::Info), "second");
}

TEST_F(DatabaseFileTest, UntaggedLongTextIsTheObsField) {
    Load(";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=a=;;;;;;;;;\r\n   20200101H8 x;\r\n");
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Field(0, field::Obs), "20200101H8 x\r\n");
}

struct UnterminatedCase {
    std::string records;
    std::string shown; // the record text that the message names
};

class UnterminatedTest : public DatabaseFileTest,
                         public ::testing::WithParamInterface<UnterminatedCase> {};

TEST_P(UnterminatedTest, IsReportedAndTheNextRecordSurvives) {
    Load(";Vespario=  2=0=0=0=_=;=;=\r\n" + GetParam().records + "_n;;;=next=;;;;;;;;;\r\n");
    EXPECT_EQ(CountShown(host, "Unterminated field or record. pSav=" + GetParam().shown), 1)
        << (host.Messages().empty() ? "" : host.Messages().front());
    EXPECT_EQ(CountShown(host, "Duplicated"), 0);
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(1, field::Id), "=next=");
    EXPECT_EQ(Field(1, field::Try), "n");
}

INSTANTIATE_TEST_SUITE_P(
    Records, UnterminatedTest,
    ::testing::Values(UnterminatedCase{"_t;;;=a=;;;;;;;;;\r\n info: no end\r\n", "t"},
                      UnterminatedCase{"_u;;;=a=;;;;;;;;;\r\n info: x;;\r\n", "u"},
                      UnterminatedCase{"_v;;;=a=;;\r\n", "v"},
                      UnterminatedCase{"_w;;;=a=;;;;;;;;; info: x;\r\n obs: y\r\n", "w"}));

TEST_F(DatabaseFileTest, NotAllReadIsReportedAndWhatArrivedIsUsed) {
    Add({{{field::Id, "=got="}}});
    const std::string file = Save();
    ShortReadBuf buf(file, static_cast<std::streamoff>(file.size() + 100));
    std::istream in(&buf);
    doc->ReadDatabase(in);
    doc->LoadCompletely();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{kNotAllRead});
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_EQ(Field(0, field::Id), "=got=");
    EXPECT_EQ(doc->LoadFailure(), kNotAllRead); // never saved over what was not all read
}

TEST_F(DatabaseFileTest, NoMemoryLeavesTheDocumentEmpty) {
    Add({{{field::Id, "=old="}}});
    ShortReadBuf buf("_n;;;=x=;", std::streamoff{1} << 40);
    std::istream in(&buf);
    doc->ReadDatabase(in);
    doc->LoadCompletely();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{kNoMemory});
    EXPECT_EQ(doc->GetRecordCount(), 0);
}

TEST_F(DatabaseFileTest, HostileHeaderCountsOnlyWarn) {
    Load(";Vespario=  2=4294967295=4294967295=4294967295=_=;=;=\r\n_n;;;=a=;;;;;;;;;\r\n");
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_TRUE(Shown(host, kShortFile));
    EXPECT_TRUE(Shown(host, "Warning: File contains 4294967294 less object(s)"));
    EXPECT_TRUE(Shown(host, "Warning: File contains 4294967295 less observation(s)"));
}

// --- saving ------------------------------------------------------------------------------

TEST_F(DatabaseFileTest, SaveKeepsOneBackup) {
    const std::string path = Path("db.obs");
    Add({{{field::Id, "=first="}}});
    ASSERT_TRUE(doc->SaveDatabase(path));
    const std::string first = ReadFile(path);
    EXPECT_FALSE(platform::FileExists(Path("db.bak")));
    doc->SetCurrentRecord(0, false, false);
    doc->SetFieldText(field::Id, "=second=");
    const size_t changed = doc->ChangedRecords().size();
    ASSERT_TRUE(doc->SaveDatabase(path));
    EXPECT_EQ(ReadFile(Path("db.bak")), first);
    EXPECT_NE(ReadFile(path), first);
    EXPECT_FALSE(platform::FileExists(Path("db.$$$")));
    EXPECT_EQ(doc->ChangedRecords().size(), changed + 1); // the record was committed first
}

TEST_F(DatabaseFileTest, SaveWithoutBackupLevelsReplacesTheFile) {
    profile.WriteInt("Settings", "NumBackupLevels", 0);
    const std::string path = Path("db.obs");
    WriteFile(Path("db.bak"), "older backup");
    WriteFile(path, "previous");
    Add({{{field::Id, "=n="}}});
    ASSERT_TRUE(doc->SaveDatabase(path));
    EXPECT_EQ(ReadFile(Path("db.bak")), "older backup");
    Load(ReadFile(path));
    EXPECT_EQ(doc->GetRecordCount(), 1);
}

TEST_F(DatabaseFileTest, UnwritableFolderLeavesFileAndBackup) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string path = Path("db.obs");
    WriteFile(path, "current");
    WriteFile(Path("db.bak"), "backup");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    Add({{{field::Id, "=n="}}});
    EXPECT_FALSE(doc->SaveDatabase(path));
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(path), "current");
    EXPECT_EQ(ReadFile(Path("db.bak")), "backup");
}

// Names planted where the save puts its own files are never written through or removed.
TEST_F(DatabaseFileTest, PlantedTemporaryNamesAreLeftAlone) {
    const std::string path = Path("db.obs");
    WriteFile(path, "current");
    WriteFile(Path("victim"), "victim");
    fs::create_directory(Path("db.$$$"));
    fs::create_symlink(Path("victim"), Path("db.$$$.1"));
    fs::create_symlink(Path("victim"), Path("db.bak.$$$"));
    Add({{{field::Id, "=n="}}});
    ASSERT_TRUE(doc->SaveDatabase(path)) << doc->SaveError();
    EXPECT_EQ(ReadFile(Path("victim")), "victim");
    EXPECT_TRUE(fs::is_directory(Path("db.$$$")));
    EXPECT_TRUE(fs::is_symlink(Path("db.$$$.1")));
    EXPECT_TRUE(fs::is_symlink(Path("db.bak.$$$")));
    EXPECT_EQ(ReadFile(Path("db.bak")), "current");
    EXPECT_EQ(fs::file_size(path), 111u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 6);
}

// A database named like a temporary or backup file is never its own temporary or backup.
TEST_F(DatabaseFileTest, NamesEndingInTheSaveExtensions) {
    Add({{{field::Id, "=n="}}});
    for (const char *name : {"x.$$$", "y.bak"}) {
        const std::string path = Path(name);
        WriteFile(path, "old");
        ASSERT_TRUE(doc->SaveDatabase(path)) << doc->SaveError();
        EXPECT_EQ(ReadFile(platform::BackupNameOf(path)), "old");
        ASSERT_TRUE(doc->SaveDatabase(path)) << doc->SaveError();
        EXPECT_EQ(fs::file_size(path), 111u);
        EXPECT_EQ(fs::file_size(platform::BackupNameOf(path)), 111u);
    }
    EXPECT_EQ(platform::BackupNameOf(Path("y.bak")), Path("y.bak.bak"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 4);
}

TEST_F(DatabaseFileTest, LinkedDatabaseUpdatesItsTargetAndKeepsTheMode) {
    fs::create_directory(Path("real"));
    const std::string target = Path("real/db.obs");
    WriteFile(target, "old");
    fs::permissions(target, fs::perms(0640));
    fs::create_symlink(target, Path("link.obs"));
    Add({{{field::Id, "=n="}}});
    ASSERT_TRUE(doc->SaveDatabase(Path("link.obs"))) << doc->SaveError();
    EXPECT_TRUE(fs::is_symlink(Path("link.obs")));
    EXPECT_EQ(fs::file_size(target), 111u);
    EXPECT_EQ(ReadFile(Path("real/db.bak")), "old");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0640));
}

// A load that found no database leaves nothing to save over the file it read.
TEST_F(DatabaseFileTest, FailedLoadIsNeverSavedOverItsFile) {
    const std::string path = Path("text.obs");
    WriteFile(path, "shopping list\r\n");
    EXPECT_TRUE(doc->ReadDatabaseFile(path));
    EXPECT_EQ(doc->LoadFailure(), kNotVespario);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(doc->SaveDatabase(path));
        EXPECT_NE(doc->SaveError().find(kNotVespario), std::string::npos) << doc->SaveError();
    }
    EXPECT_EQ(ReadFile(path), "shopping list\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
    // What is typed in afterwards can still go to another file.
    Add({{{field::Id, "=n="}}});
    EXPECT_TRUE(doc->SaveDatabase(Path("other.obs")));

    EXPECT_FALSE(doc->ReadDatabaseFile(dir.string()));
    EXPECT_NE(doc->LoadFailure().find("Is a directory"), std::string::npos) << doc->LoadFailure();
    EXPECT_FALSE(doc->SaveDatabase(dir.string()));
    EXPECT_TRUE(fs::is_directory(dir));
    doc->EmptyDocument();
    EXPECT_TRUE(doc->LoadFailure().empty());

    // A file that does not exist yet has nothing to lose.
    EXPECT_FALSE(doc->ReadDatabaseFile(Path("new.obs")));
    EXPECT_NE(doc->LoadFailure().find("No such file"), std::string::npos);
    Add({{{field::Id, "=n="}}});
    EXPECT_TRUE(doc->SaveDatabase(Path("new.obs"))) << doc->SaveError();
}

TEST_F(DatabaseFileTest, ByteOrderMarkIsSkipped) {
    Add({{{field::Id, "=bom="}}});
    const std::string file = Save();
    Load("\xEF\xBB\xBF" + file);
    EXPECT_TRUE(host.Messages().empty());
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_EQ(Field(0, field::Id), "=bom=");
    Load("\xEF\xBB\xBF_n,,,=v0=,,,,,,,,,\r\n");
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_EQ(Field(0, field::Id), "=v0=");
}

// Without counters in the header only the last record's end tells a cut file; the warning
// comes with the load, before any record is parsed or saved.
TEST_F(DatabaseFileTest, IncompleteLastRecordWarnsWithoutCounters) {
    const std::string head = ";Vespario=  2=0000000000=0000000000=0000000000=_=;=;=\r\n";
    const std::string record = "_n;;;=a=;;;;;;;;;\r\n info: some text\\;;\r\n";
    for (size_t cut = record.find(" info"); cut <= record.size(); ++cut) {
        host.Clear();
        std::istringstream in(head + record.substr(0, cut));
        doc->ReadDatabase(in);
        const bool complete = cut == record.find(" info") || cut >= record.size() - 2;
        EXPECT_EQ(Shown(host, "Warning: The file's last record is incomplete"), !complete) << cut;
    }
}

// An endless producer is cut off at the largest file a load takes, not read to its end.
TEST_F(DatabaseFileTest, EndlessPipeStopsAtTheSizeLimit) {
    class EndlessBuf : public std::streambuf {
    public:
        std::string chunk = std::string(4096, 'x');
        size_t delivered = 0;

    protected:
        int underflow() override {
            delivered += chunk.size();
            setg(chunk.data(), chunk.data(), chunk.data() + chunk.size());
            return 'x';
        }
    } buf;
    CVesparioDoc::SetReadLimitForTesting(1 << 20);
    std::istream in(&buf);
    doc->ReadDatabase(in);
    CVesparioDoc::SetReadLimitForTesting(0);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{kNoMemory});
    EXPECT_EQ(doc->LoadFailure(), kNoMemory);
    EXPECT_LE(buf.delivered, (1u << 20) + 8192);
    EXPECT_EQ(doc->GetRecordCount(), 0);
}

TEST_F(DatabaseFileTest, FailingStreamFailsTheWriteAtEveryLength) {
    Add({{{field::Id, "=a="}, {field::Info, "some text"}}});
    const std::string full = Save();
    for (size_t limit : {size_t{0}, size_t{1}, size_t{14}, size_t{54}, full.size() - 1}) {
        host.Clear();
        FailingBuf buf(limit);
        std::ostream out(&buf);
        EXPECT_FALSE(doc->WriteDatabase(out)) << limit;
        EXPECT_EQ(EndProgressCount(host), 1); // the progress text goes away all the same
    }
    FailingBuf roomy(full.size());
    std::ostream out(&roomy);
    EXPECT_TRUE(doc->WriteDatabase(out));
    EXPECT_EQ(roomy.data, full);
}

// --- damaged files -----------------------------------------------------------------------

// After any load, a save and a reload must be clean and keep every record.
void ExpectCleanRoundTrip(CVesparioDoc &doc, platform::HeadlessHost &host) {
    const int count = doc.GetRecordCount();
    std::ostringstream out;
    ASSERT_TRUE(doc.WriteDatabase(out));
    host.Clear();
    std::istringstream in(out.str());
    doc.ReadDatabase(in);
    doc.LoadCompletely();
    EXPECT_EQ(CountShown(host, "Unterminated"), 0);
    EXPECT_EQ(CountShown(host, "Duplicated"), 0);
    EXPECT_EQ(CountShown(host, "Warning"), 0);
    EXPECT_EQ(doc.GetRecordCount(), count);
}

TEST_F(DatabaseFileTest, CutShortAtEveryOffset) {
    Add({{{field::Id, "=M31="},
          {field::Info, "info _;\\ text"},
          {field::Refs, "^a\r\n^b\r\n"},
          {field::Obs, "20200101H8 x\r\n"}}});
    Add({{{field::Id, "=n2="}, {field::Goal, "g. (x)-y\r\n"}}});
    const std::string file = Save();
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        host.Clear();
        Load(file.substr(0, cut));
        EXPECT_LE(doc->GetRecordCount(), 2) << cut;
        ExpectCleanRoundTrip(*doc, host);
    }
}

TEST_F(DatabaseFileTest, RandomBytesNeverCrash) {
    std::mt19937 random(12345);
    const std::vector<std::string> starts = {
        "", "_", ";Vespario=  2=", ";Vespario=1=", ";Vespario=  2=1=1=1=_=;=;=\r\n"};
    for (int round = 0; round < 300; ++round) {
        std::string bytes = starts[static_cast<size_t>(round) % starts.size()];
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i) {
            const unsigned r = random() % 16;
            bytes += r < 6 ? "_;=\\ \0\x01\x02\r\n%,"[random() % 13] : static_cast<char>(random());
        }
        host.Clear();
        Load(bytes);
        ExpectCleanRoundTrip(*doc, host);
    }
}

TEST_F(DatabaseFileTest, TenMegabyteSingleLine) {
    std::string line = ";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=big=;;;;;;;;;";
    line += " info: ";
    for (int i = 0; i < 10 * 1024 * 1024 / 8; ++i)
        line += "abcdefg ";
    line += ";";
    Load(line);
    ASSERT_EQ(doc->GetRecordCount(), 1);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Field(0, field::Info).size(), 10u * 1024 * 1024); // the last blank stays
    ExpectCleanRoundTrip(*doc, host);

    host.Clear();
    Load("_" + std::string(10 * 1024 * 1024, 'x')); // no field or record end at all
    EXPECT_EQ(doc->GetRecordCount(), 1);
    EXPECT_TRUE(Shown(host, "Missing ID Field in record 1"));
    ASSERT_TRUE(Shown(host, "Unterminated field or record. pSav="));
    for (const std::string &m : host.Messages())
        EXPECT_LT(m.size(), 1200u); // the texts in messages are cut
}

// 200,000 line breaks and observations in one record read back whole. How the time grows
// with their number is measured by bench_linebreaks, not here.
TEST_F(DatabaseFileTest, ManyLineBreaksAndObservationsReadBackWhole) {
    std::string refs, url, obs;
    for (int i = 0; i < 200000; ++i) {
        refs += "^r";
        url += "{u}";
        obs += "20200101H8 ";
    }
    Add({{{field::Refs, refs}, {field::Url, url}, {field::Obs, obs}}});
    Load(Save());
    EXPECT_EQ(doc->Load().observationsCounted, 200000u);
    EXPECT_EQ(Field(0, field::Refs).size(), refs.size() + 2 * 200000);
}

TEST_F(DatabaseFileTest, NulBytesAreDroppedNotTheRest) {
    std::string file = ";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=a=;;;;;;;;;\r\n info: x";
    file += std::string("\0y", 2);
    file += ";\r\n_n;;;=b=;;;;;;;;;\r\n";
    Load(file);
    EXPECT_TRUE(host.Messages().empty());
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Info), "xy");
    EXPECT_EQ(Field(1, field::Id), "=b=");
}

TEST_F(DatabaseFileTest, EscapedStructureBytesCannotBreakTheBuffer) {
    std::string file = ";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=a=;;;;;;;;;\r\n info: x\\";
    file += std::string("\x02\\\x01\\", 4);
    file += std::string(1, '\0');
    file += ";\r\n_n;;;=b=;;;;;;;;;\r\n\\";
    Load(file);
    EXPECT_TRUE(host.Messages().empty());
    ASSERT_EQ(doc->GetRecordCount(), 2);
    EXPECT_EQ(Field(0, field::Info), "x");
    EXPECT_EQ(Field(1, field::Id), "=b=");
}

// The preparation pass takes plain text in blocks: what it does to a line end, an escape, a
// blank run or a delimiter must not depend on where that falls within a block.
TEST_F(DatabaseFileTest, PreparationIsTheSameAtEveryOffset) {
    for (size_t shift = 0; shift < 40; ++shift) {
        SCOPED_TRACE(shift);
        const std::string lead(shift, 'a');
        std::string file = ";Vespario=  2=0=0=0=_=;=;=\r\n_n;;;=" + lead +
                           "=;;;;;;;;;\r\n info: " + lead + " b  c\r\n  d\\;e\\\\f   \tg\\_h;\r\n" +
                           "_n;;;=z" + lead + "=;;;;;;;;;\r\n";
        // The same at the very end of the buffer, where the blocks give out.
        file += " url: " + lead + "  x\\;y;";
        Load(file);
        EXPECT_TRUE(host.Messages().empty());
        ASSERT_EQ(doc->GetRecordCount(), 2);
        EXPECT_EQ(Field(0, field::Id), "=" + lead + "=");
        const std::string before = shift == 0 ? "" : lead + " "; // a leading blank is trimmed
        EXPECT_EQ(Field(0, field::Info), before + "b c d;e\\f g_h");
        EXPECT_EQ(Field(1, field::Id), "=z" + lead + "=");
        EXPECT_EQ(Field(1, field::Url), before + "x;y\r\n");
    }
}

// --- the observation header pattern ------------------------------------------------------

// The codes come from the vocabularies the document is given, not from its profile.
TEST_F(DatabaseFileTest, ObservationCodesComeFromTheVocabulariesGiven) {
    platform::IniProfile other;
    other.SetText("[ObsPlace]\r\nNumberOf=1\r\nPlace0=Q=Quarry\r\n"
                  "[ObsEquip]\r\nNumberOf=1\r\nEquip0=9=9 inch\r\n");
    SettingsVocabularies vocabularies;
    vocabularies.LoadVocabularies(other);
    CVesparioDoc given(host, profile, nullptr, &vocabularies);
    EXPECT_EQ(given.CountObservations("20200101Q9 a 20200101H8 b"), 1);
    given.UseVocabularies(SettingsVocabularies());
    EXPECT_EQ(given.CountObservations("20200101Q9 a 20200101H8 b"), 0);
    EXPECT_EQ(doc->CountObservations("20200101Q9 a 20200101H8 b"), 1); // the profile's H, 8
}

TEST_F(DatabaseFileTest, WithoutPlaceCodesNoObservationIsRecognised) {
    profile.WriteInt("ObsPlace", "NumberOf", 0);
    MakeDoc();
    EXPECT_EQ(doc->CountObservations("20200101H8 x"), 0);
    Add({{{field::Obs, "20200101H8 a 20200102H8 b"}}});
    Load(Save());
    EXPECT_EQ(Field(0, field::Obs), "20200101H8 a 20200102H8 b\r\n");
    EXPECT_EQ(doc->Load().observationsCounted, 0u);
}

TEST_F(DatabaseFileTest, PunctuationCodesAreTakenLiterally) {
    profile.WriteInt("ObsPlace", "NumberOf", 3);
    profile.WriteString("ObsPlace", "Place0", "] bracket");
    profile.WriteString("ObsPlace", "Place1", "- dash");
    profile.WriteString("ObsPlace", "Place2", "");
    profile.WriteInt("ObsEquip", "NumberOf", 2);
    profile.WriteString("ObsEquip", "Equip0", "\\ slash");
    profile.WriteString("ObsEquip", "Equip1", "% percent");
    MakeDoc();
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(doc->CountObservations("20200101]\\ a 20200101-% b"), 2);
    EXPECT_EQ(doc->CountObservations("20200101H8 20200101.\\"), 0);
}

TEST_F(DatabaseFileTest, ObservationHeaderDates) {
    struct Row {
        const char *text;
        int count;
    };
    const Row rows[] = {{"19000101H8", 1}, {"20991231DB", 1}, {"21000101H8", 0},
                        {"20200001H8", 0}, {"20201200H8", 1}, {"20201232H8", 0},
                        {"20200130H8", 1}, {"20200131H8", 1}, {"20200101h8", 0}};
    for (const Row &row : rows)
        EXPECT_EQ(doc->CountObservations(row.text), row.count) << row.text;
}

} // namespace
} // namespace vespario
