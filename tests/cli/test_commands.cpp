// vespario-cli's commands, run on the shipped example database and profile.

#include "cli/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vespario {
namespace {

namespace fs = std::filesystem;

const std::string kData = VESPARIO_DATA_DIR_FOR_TESTS;
const std::string kProfile = kData + "/Vespario.ini";

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
public:
    TempDir() : m_path(fs::temp_directory_path() / ("vespario-cli-" + std::to_string(::getpid()))) {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

TEST(CliInfo, CountsTheExampleDatabase) {
    const Result r = RunCli({"info", kData + "/example.obs", "--profile", kProfile});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "records: 12\nobservations: 11\nparsed: 12\ngreek text form: 2\n"
                     "index size: 394\n");
}

TEST(CliInfo, PrintsTheLoadMessages) {
    TempDir dir;
    std::string text = ReadFile(kData + "/example.obs");
    text.resize(text.size() - 200);  // cut short: the header promises more
    std::ofstream(dir / "cut.obs", std::ios::binary) << text;
    const Result r = RunCli({"--profile", kProfile, "info", (dir / "cut.obs").string()});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Warning: File is shorter than it was when last saved.\n"),
              std::string::npos)
        << r.out;
}

TEST(CliInfo, MissingFileAndBadArguments) {
    EXPECT_EQ(RunCli({"info", "/nonexistent/x.obs", "--profile", kProfile}).code, 2);
    EXPECT_EQ(RunCli({"info"}).code, 2);
    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({"frobnicate"}).code, 2);
    EXPECT_EQ(RunCli({"info", "x", "--profile"}).code, 2);
}

TEST(CliMatch, PrintsMatchAndGroups) {
    Result r = RunCli({"match", "a*b", "xaxbxb"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "1 4\n");
    r = RunCli({"match", "{NGC}|{IC} 1", "see IC 1"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "4 8\n2 4 6\n");
    r = RunCli({"match", "b", "abcb", "2"});
    EXPECT_EQ(r.out, "3 4\n");
}

TEST(CliMatch, NoMatchAndCompileErrors) {
    Result r = RunCli({"match", "_ngc", "NGC 224"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "no match\n");
    r = RunCli({"match", "{a", "a"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "Unmatched {\n");
    r = RunCli({"match", "[abc", "a"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "Premature end of regular expression\n");
    EXPECT_EQ(RunCli({"match", "a", "abc", "9"}).code, 2);
    EXPECT_EQ(RunCli({"match", "a", "abc", "-1"}).code, 2);
    EXPECT_EQ(RunCli({"match", "a"}).code, 2);
}

TEST(CliFind, LooksUpAsTheIdBoxDoes) {
    const std::string db = kData + "/example.obs";
    struct Row {
        std::vector<std::string> extra;
        const char* out;
        int code;
    };
    const Row rows[] = {
        {{"m31"}, "3\t0\t=M31=n224=Andromeda Galaxy=\n", 0},
        {{"n22"}, "3\t0\t=M31=n224=Andromeda Galaxy=\n", 0},  // partial after exact fails
        {{"n22", "--exact"}, "not found\n", 1},
        {{"M3[~1]", "--pattern"}, "4\t0\t=M33=n598=Triangulum Galaxy=\n", 0},
        {{"m10"}, "10\t1\t=M101=n5457=Pinwheel Galaxy=\n", 0},  // M101 and M104
        {{"nowhere"}, "not found\n", 1},
        {{"m31", "--bogus"}, nullptr, 2},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"--profile", kProfile, "find", db};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, row.code) << row.extra[0];
        if (row.out) {
            EXPECT_EQ(r.out, row.out) << row.extra[0];
        }
    }
    const Result bad = RunCli({"--profile", kProfile, "find", db, "{a~", "--pattern"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, "Unmatched {\n");
    EXPECT_EQ(RunCli({"find", db}).code, 2);
}

TEST(CliSave, SavesACopyAndInPlaceWithBackup) {
    TempDir dir;
    const std::string original = ReadFile(kData + "/example.obs");
    std::ofstream(dir / "db.obs", std::ios::binary) << original;
    const std::string copy = (dir / "copy.obs").string();
    Result r = RunCli({"--profile", kProfile, "save", (dir / "db.obs").string(), copy});
    ASSERT_EQ(r.code, 0) << r.err;
    r = RunCli({"--profile", kProfile, "info", copy});
    EXPECT_EQ(r.out.rfind("records: 12\nobservations: 11\nparsed: 12\n", 0), 0u) << r.out;

    r = RunCli({"--profile", kProfile, "save", (dir / "db.obs").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "db.bak"), original);
    EXPECT_EQ(ReadFile(dir / "db.obs"), ReadFile(copy));
    EXPECT_FALSE(fs::exists(dir / "db.$$$"));
}

TEST(CliSave, UnwritableTargetFails) {
    const Result r = RunCli({"--profile", kProfile, "save", kData + "/example.obs",
                             "/nonexistent-folder/out.obs"});
    EXPECT_EQ(r.code, 1);
}

} // namespace
} // namespace vespario
