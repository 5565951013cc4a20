#pragma once
// The local sockets under the conversation layer: one socket per service in a folder that
// only the user can reach, and the helpers that move frames over them with a deadline.

#include "link/ddeframe.h"
#include "platform/text.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace vespario::link {

using Clock = std::chrono::steady_clock;

// A name fit for a log line: "<null>" when empty, bytes outside printable ASCII as \xNN.
std::string LogText(std::string_view text);

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd &&other) noexcept : m_fd(other.Release()) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept;
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int m_fd = -1;
};

// $XDG_RUNTIME_DIR/vespario when that variable names a folder, else vespario-UID in the
// temporary folder ($TMPDIR, default /tmp).
std::string SocketFolder();

// Creates the folder with mode 0700 when it is missing. False, with error set, when it is not
// a folder, belongs to another user or can be reached by the group or by others: another
// user could then put a socket of their own in our place.
[[nodiscard]] bool PrepareSocketFolder(const std::string &folder, std::string &error);

// The socket of a service in the folder: the name in lower case (names ignore case), bytes
// other than letters, digits, "-", "_" and "." written as %XX, and ".sock".
std::string SocketPath(const std::string &folder, std::string_view service);

// True when the peer of a connected socket runs as our own user; peerUid gets its user.
bool PeerIsOurUser(int fd, uid_t &peerUid);

// Outcome of a connection attempt to a service's socket.
enum class ConnectOutcome {
    Connected,
    NoService, // no socket, or a socket that nobody listens on (left by a crashed instance)
    Busy,      // a server listens but its queue is full: it does not answer now
    Failed,    // the folder is unsafe, the peer is another user, or another system error
};

// Connects to the service's socket (non-blocking, close-on-exec) and checks that the peer
// is our own user. error gets a text for the log when it does not connect.
ConnectOutcome ConnectToService(std::string_view service, UniqueFd &fd, std::string &error);
// The same for a socket path in the socket folder.
ConnectOutcome ConnectToPath(const std::string &path, UniqueFd &fd, std::string &error);

// Writes every byte before the deadline. False on an error or when the time runs out.
[[nodiscard]] bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline);

enum class ReadOutcome { Frame, TimedOut, Closed, Broken };

// Waits for the next whole frame until the deadline; Broken when the stream breaks the
// frame rules (reader.Error() says how).
ReadOutcome ReadFrame(int fd, FrameReader &reader, Frame &frame, Clock::time_point deadline);

// A service's listening socket, owned by the one process that serves the service. Its
// socket file is removed when it closes, unless another process has replaced it since.
class ServiceListener {
public:
    ServiceListener() = default;
    ServiceListener(ServiceListener &&other) noexcept;
    ServiceListener &operator=(ServiceListener &&other) noexcept;
    ~ServiceListener() { Close(); }

    bool Valid() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }
    const std::string &Path() const { return m_path; }
    void Close();

private:
    friend struct ServiceClaim ClaimService(std::string_view service);
    UniqueFd m_fd;
    std::string m_path;
    ino_t m_inode = 0;
};

// The result of ClaimService: a listener when the service was free (or its socket was left
// by a process that no longer listens); live when another process serves it.
struct ServiceClaim {
    ServiceListener listener;
    bool live = false;
    std::string error; // why neither, for the log
};

// Takes the service's socket for this process. The check and the take happen under a lock
// file beside the socket, so that two instances starting together cannot both take it.
ServiceClaim ClaimService(std::string_view service);

} // namespace vespario::link
