#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vespario::platform {

namespace fs = std::filesystem;

namespace {

WriteFault g_writeFault = WriteFault::None;

void SetError(std::string *error, const std::string &what, int code) {
    if (error)
        *error = what + ": " + std::strerror(code);
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
    // Closes now and reports whether the close succeeded (a delayed write error shows here).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A fresh file beside target, opened for writing; the name is returned in tempPath.
int CreateTempBeside(const std::string &target, std::string &tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The file to replace: the target of a symbolic link, so that the link itself survives.
std::string ResolveTarget(const std::string &path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec)))
        return path;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

bool WriteTemp(int fd, const std::string &target, std::string_view data, std::string *error) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    if (g_writeFault == WriteFault::Write || !WriteAll(fd, data)) {
        SetError(error, "cannot write " + target, g_writeFault == WriteFault::Write ? EIO : errno);
        return false;
    }
    if (::fsync(fd) != 0) {
        SetError(error, "cannot write " + target, errno);
        return false;
    }
    return true;
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

bool WriteWholeFileAtomic(const std::string &path, std::string_view data, std::string *error) {
    const std::string target = ResolveTarget(path);
    std::string tempPath;
    FileHandle file(g_writeFault == WriteFault::Create ? -1 : CreateTempBeside(target, tempPath));
    if (file.Get() < 0) {
        SetError(error, "cannot create a file beside " + target,
                 g_writeFault == WriteFault::Create ? EACCES : errno);
        return false;
    }
    bool ok = WriteTemp(file.Get(), target, data, error);
    if (ok && !file.Close()) {
        SetError(error, "cannot write " + target, errno);
        ok = false;
    }
    if (ok && (g_writeFault == WriteFault::Rename || !RenameFile(tempPath, target))) {
        SetError(error, "cannot replace " + target,
                 g_writeFault == WriteFault::Rename ? EACCES : errno);
        ok = false;
    }
    if (!ok)
        ::unlink(tempPath.c_str());
    return ok;
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

} // namespace vespario::platform
