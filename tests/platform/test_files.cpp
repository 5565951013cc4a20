#include "platform/files.h"

#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace vespario::platform {
namespace {

using test::TempFolder;

struct ExtensionCase {
    const char *path;
    const char *ext;
    const char *expected;
};

class ReplaceExtensionTable : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ReplaceExtensionTable, CutsAtTheLastDotOfTheName) {
    const ExtensionCase &c = GetParam();
    EXPECT_EQ(ReplaceExtension(c.path, c.ext), c.expected) << c.path << " + " << c.ext;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReplaceExtensionTable,
    ::testing::Values(ExtensionCase{"/data/full.obs", ".bak", "/data/full.bak"},
                      ExtensionCase{"/data/full.obs", "$$$", "/data/full.$$$"},
                      ExtensionCase{"full", ".bak", "full.bak"},
                      ExtensionCase{"/my.dir/full", ".bak", "/my.dir/full.bak"},
                      ExtensionCase{"/my.dir/full.tar.gz", ".x", "/my.dir/full.tar.x"},
                      ExtensionCase{"a.obs", "", "a"}, ExtensionCase{"a.", ".sel", "a.sel"},
                      ExtensionCase{"", ".srt", ".srt"},
                      ExtensionCase{"dir/", ".srt", "dir/.srt"}));

TEST(Files, FolderOf) {
    EXPECT_EQ(FolderOf("/a/b/c.ini"), "/a/b");
    EXPECT_EQ(FolderOf("/c.ini"), "/");
    EXPECT_EQ(FolderOf("c.ini"), "");
}

class FilesOnDisk : public ::testing::Test {
protected:
    ~FilesOnDisk() override { SetWriteFaultForTesting(WriteFault::None); }
    TempFolder folder;
};

TEST_F(FilesOnDisk, ExistsSizeAndReadOfAFile) {
    const std::string path = folder.File("a.bin");
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileSize(path).has_value());
    EXPECT_FALSE(ReadWholeFile(path).has_value());

    const std::string bytes("x\0y\r\n\xFF", 6);
    TempFolder::Write(path, bytes);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(FileSize(path), std::optional<uint64_t>(6));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(bytes));
}

TEST_F(FilesOnDisk, AFolderIsNoFile) {
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileSize(folder.Path()).has_value());
    std::string error;
    EXPECT_FALSE(ReadWholeFile(folder.Path(), &error).has_value());
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(DeleteFile(folder.Path()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

TEST_F(FilesOnDisk, EmptyFileReadsAsEmptyText) {
    const std::string path = folder.File("empty");
    TempFolder::Write(path, "");
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(""));
    EXPECT_EQ(FileSize(path), std::optional<uint64_t>(0));
}

TEST_F(FilesOnDisk, RenameReplacesTheTarget) {
    const std::string from = folder.File("new.obs");
    const std::string to = folder.File("old.obs");
    TempFolder::Write(from, "new");
    TempFolder::Write(to, "old");
    EXPECT_TRUE(RenameFile(from, to));
    EXPECT_FALSE(FileExists(from));
    EXPECT_EQ(TempFolder::Read(to), "new");
    EXPECT_FALSE(RenameFile(from, to)); // the source is gone now
    EXPECT_EQ(TempFolder::Read(to), "new");
}

TEST_F(FilesOnDisk, DeleteRemovesOnlyWhatExists) {
    const std::string path = folder.File("x.tmp");
    TempFolder::Write(path, "x");
    EXPECT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeleteFile(path));
}

TEST_F(FilesOnDisk, AtomicWriteCreatesAndReplaces) {
    const std::string path = folder.File("p.ini");
    EXPECT_TRUE(WriteWholeFileAtomic(path, "one"));
    EXPECT_EQ(TempFolder::Read(path), "one");
    EXPECT_TRUE(WriteWholeFileAtomic(path, std::string(100000, 'z')));
    EXPECT_EQ(FileSize(path), std::optional<uint64_t>(100000));
    EXPECT_EQ(folder.EntryCount(), 1u); // no temporary file left
}

TEST_F(FilesOnDisk, AtomicWriteKeepsPermissionsAndLinks) {
    const std::string target = folder.File("real.ini");
    const std::string link = folder.File("link.ini");
    TempFolder::Write(target, "old");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(WriteWholeFileAtomic(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::Read(target), "new");
    const auto perms = std::filesystem::status(target).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms(0640));
}

class WriteFaults : public FilesOnDisk, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(WriteFaults, FailedWriteLeavesTheOldFile) {
    const std::string path = folder.File("keep.ini");
    TempFolder::Write(path, "old\r\n");
    SetWriteFaultForTesting(GetParam());
    std::string error;
    EXPECT_FALSE(WriteWholeFileAtomic(path, "new", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TempFolder::Read(path), "old\r\n");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, WriteFaults,
                         ::testing::Values(WriteFault::Create, WriteFault::Write,
                                           WriteFault::Rename));

TEST_F(FilesOnDisk, AtomicWriteIntoMissingFolderFails) {
    std::string error;
    EXPECT_FALSE(WriteWholeFileAtomic(folder.File("missing/p.ini"), "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(CreateFolders(folder.File("missing/deeper")));
    EXPECT_TRUE(CreateFolders(folder.File("missing/deeper"))); // already there
    EXPECT_TRUE(WriteWholeFileAtomic(folder.File("missing/deeper/p.ini"), "x"));
}

TEST_F(FilesOnDisk, CreateFoldersFailsUnderAFile) {
    TempFolder::Write(folder.File("plain"), "x");
    EXPECT_FALSE(CreateFolders(folder.File("plain/sub")));
}

// Sets or removes an environment variable for one test and puts it back afterwards.
class EnvOverride {
public:
    EnvOverride(const char *name, const char *value) : m_name(name) {
        const char *old = std::getenv(name);
        if (old)
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvOverride() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    EnvOverride(const EnvOverride &) = delete;
    EnvOverride &operator=(const EnvOverride &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

TEST(Folders, DataDirFromEnvironmentElseSourceTree) {
    {
        EnvOverride env("VESPARIO_DATA_DIR", "/opt/vespario-data");
        EXPECT_EQ(DataDir(), "/opt/vespario-data");
    }
    EnvOverride env("VESPARIO_DATA_DIR", nullptr);
    // The test runs from the build tree, which has no installed share/vespario.
    EXPECT_EQ(DataDir(), VESPARIO_SOURCE_DATA_DIR);
}

TEST(Folders, ProfileDirFollowsXdgConfigHome) {
    EnvOverride home("HOME", "/home/observer");
    {
        EnvOverride config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(ProfileDir(), "/cfg/Vespario");
    }
    {
        EnvOverride config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(ProfileDir(), "/home/observer/.config/Vespario");
    }
    EnvOverride config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(ProfileDir(), "/home/observer/.config/Vespario");
}

} // namespace
} // namespace vespario::platform
