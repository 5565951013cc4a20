#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vespario::platform {

namespace fs = std::filesystem;

namespace {

constexpr size_t kBlockSize = 1 << 20; // what a replacement holds before it writes

WriteFault g_writeFault = WriteFault::None;
int g_failingStep = 0;
int g_failingCode = EIO;
int g_stepsTaken = 0;

void SetError(std::string *error, const std::string &what, int code) {
    if (error)
        *error = what + ": " + std::strerror(code);
}

bool WriteFaultMatches(FileStep step) {
    switch (g_writeFault) {
    case WriteFault::Create:
        return step == FileStep::Open;
    case WriteFault::Write:
        return step == FileStep::Write || step == FileStep::Flush;
    case WriteFault::Rename:
        return step == FileStep::Rename;
    case WriteFault::None:
        break;
    }
    return false;
}

// Every system call of a replacement passes here, so that a test can make any one fail.
template <typename Call> auto Step(FileStep step, Call call) -> decltype(call()) {
    ++g_stepsTaken;
    if (g_stepsTaken == g_failingStep || WriteFaultMatches(step)) {
        errno = g_stepsTaken == g_failingStep ? g_failingCode : EIO;
        return -1;
    }
    return call();
}

bool WriteAllAt(int fd, std::string_view data, off_t offset, FileStep step) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = Step(step, [&] {
            return ::pwrite(fd, data.data() + done, data.size() - done,
                            offset + static_cast<off_t>(done));
        });
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A descriptor that is closed when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The file to replace: the target of a symbolic link, so that the link itself survives.
std::string ResolveTarget(const std::string &path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec)))
        return path;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

// target with its extension replaced by ext, or ext appended where that would give target
// itself ("a.bak" and ".bak").
std::string NameBeside(const std::string &target, std::string_view ext) {
    std::string name = ReplaceExtension(target, ext);
    return name == target ? target + std::string(ext) : name;
}

// A name for a file of our own: base, then base.1, base.2, ... while those are taken.
std::string Candidate(const std::string &base, int attempt) {
    return attempt == 0 ? base : base + "." + std::to_string(attempt);
}

constexpr int kNameAttempts = 100;

bool SyncFolder(const std::string &target) {
    std::string folder = FolderOf(target);
    if (folder.empty())
        folder = ".";
    const int fd = Step(FileStep::Open,
                        [&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return false;
    const bool synced = Step(FileStep::Sync, [&] { return ::fsync(fd); }) == 0;
    const int code = errno;
    const bool closed = Step(FileStep::Close, [&] { return ::close(fd); }) == 0;
    if (!synced)
        errno = code;
    return synced && closed;
}

std::string ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

} // namespace

bool FileExists(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool RenameFile(const std::string &from, const std::string &to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool DeleteFile(const std::string &path) {
    return ::unlink(path.c_str()) == 0;
}

std::optional<uint64_t> FileSize(const std::string &path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

std::optional<std::string> ReadWholeFile(const std::string &path, std::string *error) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0) {
        SetError(error, "cannot open " + path, errno);
        return std::nullopt;
    }
    if (S_ISDIR(st.st_mode)) {
        SetError(error, "cannot read " + path, EISDIR);
        return std::nullopt;
    }
    std::string data;
    if (st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            SetError(error, "cannot read " + path, errno);
            return std::nullopt;
        }
        if (n == 0)
            return data;
        data.append(buffer, static_cast<size_t>(n));
    }
}

FileReplacement::~FileReplacement() {
    Abandon();
}

bool FileReplacement::Fail(const std::string &what, int code) {
    m_error = what + ": " + std::strerror(code);
    m_failed = true;
    return false;
}

void FileReplacement::Abandon() {
    if (m_fd >= 0)
        Step(FileStep::Close, [&] { return ::close(m_fd); });
    m_fd = -1;
    // Only a name this replacement created itself is ever removed.
    if (!m_temp.empty())
        Step(FileStep::Unlink, [&] { return ::unlink(m_temp.c_str()); });
    m_temp.clear();
}

bool FileReplacement::Begin(const std::string &path) {
    Abandon();
    m_error.clear();
    m_failed = false;
    m_block.clear();
    m_written = 0;
    m_target = ResolveTarget(path);
    struct stat old {};
    const bool replacing = ::stat(m_target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return Fail("cannot save over " + m_target, EISDIR);
    // A file that replaces another is private until it has the old one's mode.
    const mode_t mode = replacing ? 0600 : 0666;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = Candidate(NameBeside(m_target, ".$$$"), attempt);
        m_fd = Step(FileStep::Open, [&] {
            return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        });
        if (m_fd >= 0) {
            m_temp = name;
            break;
        }
        if (errno != EEXIST)
            return Fail("cannot create " + name + " to save " + m_target, errno);
    }
    if (m_fd < 0)
        return Fail("cannot create a temporary file beside " + m_target, EEXIST);
    if (replacing) {
        // The owner is kept where the system lets us (a save by root); the mode always.
        (void)::fchown(m_fd, old.st_uid, old.st_gid);
        if (Step(FileStep::Chmod, [&] { return ::fchmod(m_fd, old.st_mode & 07777); }) != 0)
            return Fail("cannot give " + m_temp + " the mode of " + m_target, errno);
    }
    m_block.reserve(kBlockSize);
    return true;
}

bool FileReplacement::WriteBlock() {
    return WriteOut(m_block) && (m_block.clear(), true);
}

// Writes data at the end of the temporary file and asks the system to start putting it on
// disk already, so that the sync at the end has less left to wait for. (That request is a
// hint: its failure changes nothing, the sync still reports every error.)
bool FileReplacement::WriteOut(std::string_view data) {
    if (!WriteAllAt(m_fd, data, static_cast<off_t>(m_written), FileStep::Write))
        return Fail("cannot write " + m_temp, errno);
#if defined(SYNC_FILE_RANGE_WRITE)
    (void)::sync_file_range(m_fd, static_cast<off_t>(m_written), static_cast<off_t>(data.size()),
                            SYNC_FILE_RANGE_WRITE);
#endif
    m_written += data.size();
    return true;
}

bool FileReplacement::Append(std::string_view data) {
    if (m_failed || m_fd < 0)
        return false;
    if (m_block.empty() && data.size() >= kBlockSize) // a whole block needs no copy
        return WriteOut(data);
    while (!data.empty()) {
        const size_t room = kBlockSize - std::min(kBlockSize, m_block.size());
        const size_t take = std::min(room, data.size());
        m_block.append(data.substr(0, take));
        data.remove_prefix(take);
        if (m_block.size() >= kBlockSize && !WriteBlock())
            return false;
    }
    return true;
}

bool FileReplacement::WriteAt(uint64_t offset, std::string_view data) {
    if (m_failed || m_fd < 0)
        return false;
    if (offset + data.size() > Size())
        return Fail("cannot write " + m_temp + " past its end", EINVAL);
    // What is still in the block is patched there; what is in the file is written over.
    const size_t inFile =
        offset < m_written
            ? static_cast<size_t>(std::min<uint64_t>(m_written - offset, data.size()))
            : 0;
    if (inFile > 0 &&
        !WriteAllAt(m_fd, data.substr(0, inFile), static_cast<off_t>(offset), FileStep::Write))
        return Fail("cannot write " + m_temp, errno);
    if (inFile < data.size())
        std::memcpy(m_block.data() + (offset + inFile - m_written), data.data() + inFile,
                    data.size() - inFile);
    return true;
}

// The old file becomes the backup by a second link made under a fresh name, which then
// replaces the old backup in one rename: the file itself never goes away. (Should the
// rename of the new file fail after that, the file and its backup are two names of the one
// old file, both complete.) Where the file system has no links, the old file is renamed to
// the backup instead, and put back if the new file then cannot take its place.
bool FileReplacement::KeepBackup() {
    const std::string backup = BackupNameOf(m_target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = Candidate(backup + ".$$$", attempt);
        if (Step(FileStep::Link, [&] { return ::link(m_target.c_str(), name.c_str()); }) == 0) {
            if (Step(FileStep::Rename, [&] { return ::rename(name.c_str(), backup.c_str()); }) == 0)
                return true;
            const int code = errno;
            Step(FileStep::Unlink, [&] { return ::unlink(name.c_str()); });
            return Fail("cannot make " + backup + " the backup of " + m_target, code);
        }
        if (errno == EEXIST)
            continue;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
            return Fail("cannot make " + backup + " the backup of " + m_target, errno);
        if (Step(FileStep::Rename, [&] { return ::rename(m_target.c_str(), backup.c_str()); }) != 0)
            return Fail("cannot make " + backup + " the backup of " + m_target, errno);
        if (Step(FileStep::Rename, [&] { return ::rename(m_temp.c_str(), m_target.c_str()); }) ==
            0) {
            m_temp.clear();
            return true;
        }
        const int code = errno;
        Step(FileStep::Rename, [&] { return ::rename(backup.c_str(), m_target.c_str()); });
        return Fail("cannot replace " + m_target, code);
    }
    return Fail("cannot make a backup of " + m_target, EEXIST);
}

bool FileReplacement::Commit(bool keepBackup) {
    const auto finish = [this](bool ok) {
        Abandon();
        return ok;
    };
    if (m_failed || m_fd < 0)
        return finish(false);
    if (!m_block.empty() &&
        !WriteAllAt(m_fd, m_block, static_cast<off_t>(m_written), FileStep::Flush))
        return finish(Fail("cannot write " + m_temp, errno));
    m_written += m_block.size();
    m_block.clear();
    m_block.shrink_to_fit();
    if (Step(FileStep::Sync, [&] { return ::fsync(m_fd); }) != 0)
        return finish(Fail("cannot write " + m_temp + " to the disk", errno));
    const int fd = std::exchange(m_fd, -1);
    if (Step(FileStep::Close, [&] { return ::close(fd); }) != 0)
        return finish(Fail("cannot write " + m_temp, errno));
    struct stat old {};
    if (keepBackup && ::lstat(m_target.c_str(), &old) == 0 && !KeepBackup())
        return finish(false);
    if (!m_temp.empty()) { // not yet renamed by the backup's fallback
        if (Step(FileStep::Rename, [&] { return ::rename(m_temp.c_str(), m_target.c_str()); }) != 0)
            return finish(Fail("cannot replace " + m_target + " with " + m_temp, errno));
        m_temp.clear();
    }
    if (!SyncFolder(m_target))
        return finish(
            Fail("saved " + m_target + ", but cannot sync its folder to the disk", errno));
    return finish(true);
}

bool WriteWholeFileAtomic(const std::string &path, std::string_view data, std::string *error) {
    FileReplacement file;
    const bool ok = file.Begin(path) && file.Append(data) && file.Commit(false);
    if (!ok && error)
        *error = file.Error();
    return ok;
}

std::string BackupNameOf(const std::string &path) {
    return NameBeside(path, ".bak");
}

bool CreateFolders(const std::string &path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

std::string FolderOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ReplaceExtension(const std::string &path, std::string_view ext) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    std::string result = hasExtension ? path.substr(0, dot) : path;
    if (!ext.empty() && ext.front() != '.')
        result += '.';
    result += ext;
    return result;
}

std::string DataDir() {
    const char *env = std::getenv("VESPARIO_DATA_DIR");
    if (env && *env)
        return env;
    const std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) {
        const std::string installed = exeFolder + "/../share/vespario";
        std::error_code ec;
        if (fs::is_directory(installed, ec))
            return fs::weakly_canonical(installed, ec).string();
    }
#ifdef VESPARIO_SOURCE_DATA_DIR
    return VESPARIO_SOURCE_DATA_DIR;
#else
    return "data";
#endif
}

std::string ProfileDir() {
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Vespario";
    const char *home = std::getenv("HOME");
    const std::string base = home && *home ? home : ".";
    return base + "/.config/Vespario";
}

void SetWriteFaultForTesting(WriteFault fault) {
    g_writeFault = fault;
}

void SetFailingStepForTesting(int step, int code) {
    g_failingStep = step;
    g_failingCode = code;
    g_stepsTaken = 0;
}

int StepsTakenForTesting() {
    return g_stepsTaken;
}

} // namespace vespario::platform
