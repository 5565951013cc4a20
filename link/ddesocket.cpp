#include "link/ddesocket.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vespario::link {
namespace {

int MillisecondsUntil(Clock::time_point deadline) {
    // Rounded up, so that a wait never ends before its deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60'000));
}

// False when path does not fit a socket address (the kernel's limit is 107 bytes).
bool FillAddress(const std::string &path, sockaddr_un &address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

UniqueFd NewSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

// A lock on the service's lock file, held while its socket is checked and taken.
UniqueFd LockService(const std::string &socketPath) {
    UniqueFd fd(::open((socketPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.Valid())
        return fd;
    const auto deadline = Clock::now() + std::chrono::milliseconds(5000);
    while (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || Clock::now() >= deadline)
            return UniqueFd();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return fd;
}

} // namespace

std::string LogText(std::string_view text) {
    if (text.empty())
        return "<null>";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out.push_back(c);
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    }
    return out;
}

UniqueFd &UniqueFd::operator=(UniqueFd &&other) noexcept {
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

std::string SocketFolder() {
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime && runtime[0] == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode))
        return std::string(runtime) + "/vespario";
    const char *tmp = std::getenv("TMPDIR");
    const std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
    return base + "/vespario-" + std::to_string(::geteuid());
}

bool PrepareSocketFolder(const std::string &folder, std::string &error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    // lstat: a symbolic link planted in the temporary folder must not lead us elsewhere.
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = folder + " is not a folder";
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        error = folder + " belongs to user " + std::to_string(info.st_uid);
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        error = folder + " is open to other users (mode " + mode + ")";
        return false;
    }
    return true;
}

std::string SocketPath(const std::string &folder, std::string_view service) {
    std::string name;
    for (const char c : service) {
        const char lower = LowerAscii(c);
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9') || lower == '-' ||
            lower == '_' || (lower == '.' && !name.empty())) {
            name.push_back(lower);
            continue;
        }
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        name += escaped;
    }
    return folder + "/" + name + ".sock";
}

bool PeerIsOurUser(int fd, uid_t &peerUid) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return false;
    peerUid = credentials.uid;
    return credentials.uid == ::geteuid();
}

ConnectOutcome ConnectToService(std::string_view service, UniqueFd &fd, std::string &error) {
    const std::string folder = SocketFolder();
    if (!PrepareSocketFolder(folder, error))
        return ConnectOutcome::Failed;
    return ConnectToPath(SocketPath(folder, service), fd, error);
}

ConnectOutcome ConnectToPath(const std::string &path, UniqueFd &fd, std::string &error) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        error = "socket path too long: " + path;
        return ConnectOutcome::Failed;
    }
    fd = NewSocket();
    if (!fd.Valid()) {
        error = std::string("socket: ") + std::strerror(errno);
        return ConnectOutcome::Failed;
    }
    // A Unix socket connects at once or not at all; EAGAIN means the server's queue is full,
    // which is an instance that does not answer.
    if (::connect(fd.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        const int code = errno;
        error = path + ": " + std::strerror(code);
        fd.Reset();
        if (code == EAGAIN)
            return ConnectOutcome::Busy;
        return code == ENOENT || code == ECONNREFUSED ? ConnectOutcome::NoService
                                                      : ConnectOutcome::Failed;
    }
    uid_t peer = 0;
    if (!PeerIsOurUser(fd.Get(), peer)) {
        error = path + " is served by user " + std::to_string(peer);
        fd.Reset();
        return ConnectOutcome::Failed;
    }
    return ConnectOutcome::Connected;
}

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno != EAGAIN)
            return false;
        pollfd waiting{fd, POLLOUT, 0};
        const int timeout = MillisecondsUntil(deadline);
        if (timeout == 0 || ::poll(&waiting, 1, timeout) <= 0)
            return false;
    }
    return true;
}

ReadOutcome ReadFrame(int fd, FrameReader &reader, Frame &frame, Clock::time_point deadline) {
    for (;;) {
        switch (reader.Next(frame)) {
        case FrameReader::Status::Ready:
            return ReadOutcome::Frame;
        case FrameReader::Status::Broken:
            return ReadOutcome::Broken;
        case FrameReader::Status::NeedMore:
            break;
        }
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, MillisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return ReadOutcome::TimedOut;
        char buffer[16 * 1024];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return ReadOutcome::Closed;
        reader.Feed(buffer, static_cast<size_t>(got));
    }
}

ServiceListener::ServiceListener(ServiceListener &&other) noexcept
    : m_fd(std::move(other.m_fd)), m_path(std::move(other.m_path)), m_inode(other.m_inode) {
    other.m_path.clear();
}

ServiceListener &ServiceListener::operator=(ServiceListener &&other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::move(other.m_fd);
        m_path = std::move(other.m_path);
        m_inode = other.m_inode;
        other.m_path.clear();
    }
    return *this;
}

void ServiceListener::Close() {
    if (!m_fd.Valid())
        return;
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0 && info.st_ino == m_inode)
        ::unlink(m_path.c_str());
    m_fd.Reset();
    m_path.clear();
}

ServiceClaim ClaimService(std::string_view service) {
    ServiceClaim claim;
    const std::string folder = SocketFolder();
    if (!PrepareSocketFolder(folder, claim.error))
        return claim;
    const std::string path = SocketPath(folder, service);
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        claim.error = "socket path too long: " + path;
        return claim;
    }
    const UniqueFd lock = LockService(path);
    if (!lock.Valid()) {
        claim.error = "cannot lock " + path + ".lock";
        return claim;
    }
    UniqueFd probe;
    std::string error;
    switch (ConnectToPath(path, probe, error)) {
    case ConnectOutcome::Connected:
    case ConnectOutcome::Busy: // alive, only swamped: never take its socket away
        claim.live = true;
        return claim;
    case ConnectOutcome::Failed:
        claim.error = error;
        return claim;
    case ConnectOutcome::NoService:
        break;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            claim.error = path + " is not a socket";
            return claim;
        }
        ::unlink(path.c_str()); // nobody listens on it: left by an instance that crashed
    }
    UniqueFd fd = NewSocket();
    if (!fd.Valid() ||
        ::bind(fd.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fd.Get(), 128) != 0 || ::lstat(path.c_str(), &info) != 0) {
        claim.error = path + ": " + std::strerror(errno);
        return claim;
    }
    ::chmod(path.c_str(), 0600);
    claim.listener.m_fd = std::move(fd);
    claim.listener.m_path = path;
    claim.listener.m_inode = info.st_ino;
    return claim;
}

} // namespace vespario::link
