// vespario-cli import on a copy of the example database.

#include "clirun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vespario {
namespace {

namespace fs = std::filesystem;
using test::kData;
using test::kProfile;
using test::RunCli;

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliImport : public ::testing::Test {
protected:
    CliImport()
        : dir(fs::temp_directory_path() / ("vespario-cli-import-" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
        fs::copy_file(kData + "/example.obs", dir / "db.obs");
    }
    ~CliImport() override { fs::remove_all(dir); }
    std::string P(const std::string &name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(CliImport, DescribedCsvIntoACopyAndUpdateInPlace) {
    std::ofstream(dir / "new.csv", std::ios::binary)
        << "ID,Type,Magn,Info\r\nM1,gn,9.0,\"Crab, the famous one.\"\r\nNGC 7000,bn,4,\"Big\"\r\n";
    auto r = RunCli({"--profile", kProfile, "import", P("db.obs"), P("new.csv"), "--fields",
                     "ID,Type,Magn,info", "--skip", "1", "--add", "--log", P("new.log"), "--out",
                     P("out.obs")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Database Import Summary\n   2 import records read\n"
                     "   1 objects added to database\n"
                     "   1 import records matched an object in the database\n"
                     "   6 fields were imported into\nsaved 13 records to " +
                         P("out.obs") + "\n");
    EXPECT_NE(ReadFile(P("new.log")).find("REJECT Magn OLD=8.4 IMPORT=9.0 ID=gn=M1=n1952="),
              std::string::npos);
    EXPECT_EQ(ReadFile(P("db.obs")), ReadFile(kData + "/example.obs")); // --out: untouched
    r = RunCli({"--profile", kProfile, "find", P("out.obs"), "n7000"});
    EXPECT_EQ(r.code, 0) << r.err;

    // A self-describing update file needs no options; in place, the old file is the backup.
    std::ofstream(dir / "upd.txt", std::ios::binary)
        << ";VesparioUpd=1=;=2=3=14=\r\nM13;Hercules group;\r\n";
    r = RunCli({"--profile", kProfile, "import", P("db.obs"), P("upd.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("  Create=1\n"), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile(P("db.bak")), ReadFile(kData + "/example.obs"));
    r = RunCli({"--profile", kProfile, "fields", P("db.obs"), "M13", "in"});
    EXPECT_NE(r.out.find("Hercules group"), std::string::npos) << r.out;
}

TEST_F(CliImport, WhatCannotBeImportedSaysSoAndSavesNothing) {
    std::ofstream(dir / "a.txt", std::ios::binary) << "x;y;\r\n";
    std::ofstream(dir / "bad.txt", std::ios::binary) << ";VesparioUpd=1=;=5=3=\r\n";
    const std::string before = ReadFile(P("db.obs"));
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{P("a.txt"), "--fields", "Magn,info"},
         "The ID field MUST be defined in the import records in order for import records to be "
         "matched to database objects\n"},
        {{P("a.txt"), "--fields", "ID,Con"}, "--fields: \"Con\" is not a stored field\n"},
        {{P("a.txt"), "--delimiter", "ab"},
         "--delimiter must be one character, tab or eol, not \"ab\"\n"},
        {{P("bad.txt")},
         P("bad.txt") + ": The header of this update file is damaged: it announces 5 "
                        "import fields but does not list them all.\n"},
        {{P("bad.txt"), "--fields", "ID"},
         P("bad.txt") + ": The header of this update file is damaged: "
                        "it announces 5 import fields but does not list them all.\n"},
        {{P("missing.txt"), "--fields", "ID"},
         "Cannot read the import file: cannot open " + P("missing.txt") +
             ": No such file or directory\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = {"--profile", kProfile, "import", P("db.obs")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.code, 2) << c.args[0];
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(P("db.obs")), before);
    EXPECT_FALSE(fs::exists(dir / "db.bak"));
}

} // namespace
} // namespace vespario
