#pragma once
// Plain file helpers and the program's folders. Paths are byte strings with "/" as the
// separator; where the Windows program cut a path at its last backslash, these cut at the
// last slash.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vespario::platform {

// True when path names an existing file that is not a folder (links are followed).
bool FileExists(const std::string &path);

// Renames from to to, replacing an existing file at to. False when it did not happen.
bool RenameFile(const std::string &from, const std::string &to);

// Removes a file (never a folder). False when nothing was removed, also when it was missing.
bool DeleteFile(const std::string &path);

// The whole file as bytes, or nullopt when it cannot be read (error, when given, then says
// why).
std::optional<std::string> ReadWholeFile(const std::string &path, std::string *error = nullptr);

std::optional<uint64_t> FileSize(const std::string &path);

// The one way the program replaces a file: the new text goes into a temporary file beside
// the file (created exclusively, never through a link planted there), in blocks as it is
// produced, and is flushed and synced; only then is it renamed over the file in one atomic
// step, and the folder is synced. So the old file stays whole until the new one is complete
// and on disk, and a failure at any step leaves it as it was. A symbolic link at the path
// stays a link and its target is replaced; the new file keeps the old one's mode. With a
// backup, the old file becomes the backup (BackupNameOf) by a link made before the rename,
// so that there is no moment without the file. Every failure leaves a message that names
// the file and gives the system's reason.
class FileReplacement {
public:
    FileReplacement() = default;
    // An unfinished replacement is abandoned: its temporary file is removed.
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // Creates the temporary file; false when it cannot be.
    bool Begin(const std::string &path);
    // Appends to the new file; written out a block at a time. False once anything failed.
    bool Append(std::string_view data);
    // Overwrites bytes already appended (a header whose counters are known only at the end).
    bool WriteAt(uint64_t offset, std::string_view data);
    uint64_t Size() const { return m_written + m_block.size(); }
    // Puts the new file in place (keeping the old one as the backup when asked). True only
    // when every step succeeded; afterwards the replacement is over either way.
    bool Commit(bool keepBackup);
    // Why the last step failed, with the file it concerned.
    const std::string &Error() const { return m_error; }
    // The file that is replaced: the path, or a symbolic link's target.
    const std::string &Target() const { return m_target; }

private:
    bool Fail(const std::string &what, int code);
    bool WriteBlock();
    bool WriteOut(std::string_view data);
    bool KeepBackup();
    void Abandon();

    std::string m_target;
    std::string m_temp;
    std::string m_block;
    std::string m_error;
    uint64_t m_written = 0; // bytes already in the temporary file
    int m_fd = -1;
    bool m_failed = false;
};

// Writes data to path through a FileReplacement without a backup. False, with error (when
// given) set, on any failure.
bool WriteWholeFileAtomic(const std::string &path, std::string_view data,
                          std::string *error = nullptr);

// The backup of path: the extension replaced by ".bak", or ".bak" appended where the name
// already ends in ".bak", so that the backup can never be the file itself.
std::string BackupNameOf(const std::string &path);

// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::string &path);

// The text of path up to its last "/" (without it); empty for a bare file name.
std::string FolderOf(const std::string &path);

// Cuts path at the last "." after its last "/" and appends ext; a path without an extension
// gets ext appended. ext is given with its dot (".bak"); one without a dot gets one, and an
// empty ext removes the extension.
std::string ReplaceExtension(const std::string &path, std::string_view ext);

// The read-only files that ship with the program: $VESPARIO_DATA_DIR when set, else the
// installed share/vespario beside the executable's bin folder, else the source tree's data/
// (when run from the build tree).
std::string DataDir();

// Where the profile and the files the program writes "beside the program" live:
// $XDG_CONFIG_HOME/Vespario, by default ~/.config/Vespario.
std::string ProfileDir();

// Test seam for FileReplacement, in the manner of a failing disk: the system calls it makes
// (open, write, flush, chmod, fsync, close, link, rename, unlink) are counted from 1 since the
// last SetFailingStepForTesting, and the call numbered step fails with code (0: none fails).
enum class FileStep { Open, Write, Flush, Chmod, Sync, Close, Link, Rename, Unlink };
void SetFailingStepForTesting(int step, int code = 5 /* EIO */);
int StepsTakenForTesting();

// Test hook: makes every replacement fail at the first step of the given kind until reset to
// None (Create: the temporary file's open; Write: its writes; Rename: the rename).
enum class WriteFault { None, Create, Write, Rename };
void SetWriteFaultForTesting(WriteFault fault);

} // namespace vespario::platform
