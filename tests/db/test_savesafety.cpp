// Saving a database over a failing disk: a save of 20,000 records made to fail at each
// system call it makes, one per run, and the permission cases run as an ordinary user.

#include "db/cvespariodoc.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "tests/platform/tempfolder.h"
#include "tools/gendb_lib.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vespario {
namespace {

using test::TempFolder;

std::string Generated(int records) {
    gendb::GenOptions options;
    options.records = records;
    options.seed = 13;
    std::string file;
    gendb::GenerateDatabase(options, file);
    return file;
}

void ApplyGeneratedCodes(platform::IniProfile &profile) {
    for (const gendb::ProfileEntry &entry : gendb::GeneratedProfileEntries())
        profile.WriteString(entry.section, entry.key, entry.value);
}

class SaveFaults : public ::testing::TestWithParam<bool> {
protected:
    SaveFaults() {
        ApplyGeneratedCodes(profile);
        profile.WriteInt("Settings", "NumBackupLevels", GetParam() ? 1 : 0);
        old = Generated(20000);
        TempFolder::Write(path, old);
        doc = std::make_unique<CVesparioDoc>(host, profile);
        EXPECT_TRUE(doc->ReadDatabaseFile(path));
        doc->LoadCompletely();
        doc->SetCurrentRecord(0, false, false);
        doc->SetFieldText(field::Info, "changed before the save");
    }
    ~SaveFaults() override { platform::SetFailingStepForTesting(0); }

    TempFolder folder;
    const std::string path = folder.File("big.obs");
    const std::string backup = platform::BackupNameOf(path);
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;
    std::string old;
};

TEST_P(SaveFaults, EveryFailingStepKeepsTheOldDatabase) {
    const bool keepBackup = GetParam();
    TempFolder::Write(backup, "older backup");
    platform::SetFailingStepForTesting(0);
    ASSERT_TRUE(doc->SaveDatabase(path)) << doc->SaveError();
    const int steps = platform::StepsTakenForTesting();
    const std::string fresh = TempFolder::Read(path);
    ASSERT_TRUE(fresh != old);
    EXPECT_TRUE(TempFolder::Read(backup) == (keepBackup ? old : "older backup"));
    ASSERT_GE(steps, 12); // open, chmod, 4 block writes, flush, counters, sync, close, rename...

    for (int step = 1; step <= steps; ++step) {
        SCOPED_TRACE(step);
        // Fresh files: after a failed rename the file and its backup may be one file.
        std::filesystem::remove(path);
        std::filesystem::remove(backup);
        TempFolder::Write(path, old);
        TempFolder::Write(backup, "older backup");
        platform::SetFailingStepForTesting(step, ENOSPC);
        EXPECT_FALSE(doc->SaveDatabase(path));
        platform::SetFailingStepForTesting(0);
        const std::string &error = doc->SaveError();
        EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
        EXPECT_NE(error.find(folder.Path()), std::string::npos) << error;
        const std::string now = TempFolder::Read(path);
        const std::string kept = TempFolder::Read(backup);
        // The texts are megabytes long: compared, not printed.
        const bool keptOld = kept == old;
        if (now == old) {
            EXPECT_TRUE(kept == "older backup" || (keepBackup && keptOld));
        } else {
            // Only syncing the folder comes after the new file took its place: the old
            // database is then the backup, where one is kept.
            EXPECT_TRUE(now == fresh);
            EXPECT_GT(step, steps - 3);
            EXPECT_TRUE(keepBackup ? keptOld : kept == "older backup");
        }
        EXPECT_EQ(folder.EntryCount(), 2u); // nothing of the save is left behind
    }
}

INSTANTIATE_TEST_SUITE_P(Save, SaveFaults, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "Backup" : "NoBackup"; });

constexpr int kCannotDropPrivileges = 90;

// The checks of the ordinary user's process (user and group 65534, "nobody"); the number of
// the first that fails is its exit status.
int SaveAsOrdinaryUser() {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 ||
                             ::setuid(65534) != 0 || ::geteuid() == 0))
        return kCannotDropPrivileges;
    TempFolder folder;
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc(host, profile);
    const std::string path = folder.File("db.obs");
    const std::string bytes = Generated(50);
    TempFolder::Write(path, bytes);
    if (!doc.ReadDatabaseFile(path) || !doc.LoadFailure().empty())
        return 1;
    doc.LoadCompletely();
    const std::string denied = std::strerror(EACCES);

    // A folder that cannot be written: nothing can be saved, and the message says why.
    ::chmod(folder.Path().c_str(), 0555);
    if (doc.SaveDatabase(path))
        return 2;
    if (doc.SaveError().find(denied) == std::string::npos ||
        doc.SaveError().find(path) == std::string::npos)
        return 3;
    ::chmod(folder.Path().c_str(), 0755);
    if (TempFolder::Read(path) != bytes || folder.EntryCount() != 1)
        return 4;

    // A file that cannot be read is not loaded, so it is never saved over.
    ::chmod(path.c_str(), 0);
    if (doc.ReadDatabaseFile(path) || doc.LoadFailure().find(denied) == std::string::npos)
        return 5;
    if (doc.SaveDatabase(path))
        return 6;
    ::chmod(path.c_str(), 0644);
    if (TempFolder::Read(path) != bytes)
        return 7;
    return 0;
}

TEST(SaveAsOrdinaryUser, PermissionFailuresSayWhyAndKeepTheFile) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(SaveAsOrdinaryUser());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotDropPrivileges)
        GTEST_SKIP() << "this system does not let root become an ordinary user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the check that failed";
}

} // namespace
} // namespace vespario
