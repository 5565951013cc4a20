// Peers that break the rules: malformed frames, huge lengths, silence, floods, every byte
// in every text, and other users. Each is refused or cut with a log line, and the program's
// server goes on serving as before.

#include "linktest.h"

#include "link/ddeconv.h"
#include "link/ddesocket.h"

#include <gtest/gtest.h>

#include <cstring>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vespario {
namespace {

using link::DdeTransaction;
using link::EncodeFrame;
using link::UniqueFd;
using test::CommandServer;
using test::LogCapture;
using test::RuntimeDir;

uint16_t Kind(DdeTransaction transaction) {
    return static_cast<uint16_t>(transaction);
}

// A raw connection to the program's socket, for writing whatever bytes a test likes.
UniqueFd RawConnect(const std::string &path, bool blocking = true) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | (blocking ? 0 : SOCK_NONBLOCK), 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (::connect(fd.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        fd.Reset();
    return fd;
}

void Send(const UniqueFd &fd, std::string_view bytes) {
    (void)!::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

// True when the server closed the connection within the time (after any answers).
bool ClosedByServer(const UniqueFd &fd, int timeoutMs = 7000) {
    const auto deadline = link::Clock::now() + std::chrono::milliseconds(timeoutMs);
    link::FrameReader reader;
    link::Frame frame;
    for (;;) {
        const auto outcome = link::ReadFrame(fd.Get(), reader, frame, deadline);
        if (outcome == link::ReadOutcome::Closed)
            return true;
        if (outcome != link::ReadOutcome::Frame)
            return false;
    }
}

// The next answer's kind, 0 when none came.
uint16_t NextAnswer(const UniqueFd &fd) {
    link::FrameReader reader;
    link::Frame frame;
    const auto deadline = link::Clock::now() + std::chrono::milliseconds(3000);
    return link::ReadFrame(fd.Get(), reader, frame, deadline) == link::ReadOutcome::Frame
               ? frame.kind
               : 0;
}

std::string Header(uint16_t topic, uint16_t item, uint32_t data, const char *magic = "VDDE") {
    std::string header = EncodeFrame(Kind(DdeTransaction::Execute), "", "", 1, "");
    header.replace(0, 4, magic, 4);
    std::memcpy(header.data() + 6, &topic, 2);
    std::memcpy(header.data() + 8, &item, 2);
    std::memcpy(header.data() + 16, &data, 4);
    return header;
}

std::string AllBytes(int from, int to) {
    std::string bytes;
    for (int b = from; b <= to; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

// The server still takes the program's commands. A flood's last connections may still be
// on their way out, so the first attempts may meet a full server.
void ExpectStillServing() {
    link::CDDEConv conv;
    for (int attempt = 0; attempt < 100 && !conv.ConnectTo("Vespario", "Vespario"); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(conv.IsConnected());
    EXPECT_TRUE(conv.Exec("ID=M31"));
}

TEST(Hostile, MalformedFramesAreCut) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    const std::string path = link::SocketPath(runtime.Sockets(), "Vespario");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HTTP/1.0 GET /\r\n\r\n", "frame does not begin with VDDE"},
        {Header(300, 0, 0), "topic or item of 300 bytes is longer than 255"},
        {Header(0, 65535, 0), "topic or item of 65535 bytes is longer than 255"},
        {Header(0, 0, 0xFFFFFFFFu), "data of 4294967295 bytes is longer than 1048576"},
        {Header(0, 0, 10u << 20), "data of 10485760 bytes is longer than 1048576"},
        {Header(0, 0, (1u << 20) + 1), "data of 1048577 bytes is longer than 1048576"},
    };
    for (const auto &[bytes, why] : cases) {
        SCOPED_TRACE(why);
        const UniqueFd fd = RawConnect(path);
        ASSERT_TRUE(fd.Valid());
        Send(fd, bytes);
        EXPECT_TRUE(ClosedByServer(fd));
    }
    // 10 MB actually sent after a header that claims them: cut at the header, nothing kept.
    {
        const UniqueFd fd = RawConnect(path);
        Send(fd, Header(0, 0, 10u << 20));
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 10; ++i)
            Send(fd, block);
        EXPECT_TRUE(ClosedByServer(fd));
    }
    // A reserved field that is not 0, inside a conversation: cut, and the conversation ends.
    {
        const UniqueFd fd = RawConnect(path);
        Send(fd, EncodeFrame(Kind(DdeTransaction::Connect), "Vespario", "Vespario", 1, ""));
        EXPECT_EQ(NextAnswer(fd), static_cast<uint16_t>(link::DdeAnswer::Ack));
        std::string frame = EncodeFrame(Kind(DdeTransaction::Execute), "", "", 1, "ID=M1");
        frame[10] = 1;
        Send(fd, frame);
        EXPECT_TRUE(ClosedByServer(fd));
    }
    ExpectStillServing();
    program.thread.Stop();
    for (const auto &[bytes, why] : cases) {
        const auto lines = log.Lines();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&why = why](const std::string &l) {
            return l.find(" cut: " + why) != std::string::npos;
        })) << why;
    }
    EXPECT_EQ(program.window.Commands(), (std::vector<std::pair<int, std::string>>{{0, "M31"}}));
    EXPECT_TRUE(program.host.Messages().empty());
}

TEST(Hostile, SilentAndSlowPeersAreCut) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    const std::string path = link::SocketPath(runtime.Sockets(), "Vespario");
    const UniqueFd silent = RawConnect(path);
    const UniqueFd partial = RawConnect(path);
    const UniqueFd resting = RawConnect(path);
    Send(partial,
         EncodeFrame(Kind(DdeTransaction::Connect), "Vespario", "Vespario", 1, "").substr(0, 25));
    Send(resting, EncodeFrame(Kind(DdeTransaction::Connect), "Vespario", "Vespario", 1, ""));
    EXPECT_EQ(NextAnswer(resting), static_cast<uint16_t>(link::DdeAnswer::Ack));
    ExpectStillServing(); // while they hang, others are served
    EXPECT_TRUE(ClosedByServer(silent));
    EXPECT_TRUE(ClosedByServer(partial));
    // A connected conversation may rest between transactions as long as it likes.
    Send(resting, EncodeFrame(Kind(DdeTransaction::Execute), "", "", 1, "ID=M2"));
    EXPECT_EQ(NextAnswer(resting), static_cast<uint16_t>(link::DdeAnswer::Ack));
    program.thread.Stop();
    EXPECT_EQ(log.Count("Connection "), 2u);
    EXPECT_EQ(program.window.Commands(),
              (std::vector<std::pair<int, std::string>>{{0, "M31"}, {0, "M2"}}));
}

TEST(Hostile, AThousandConnections) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    const std::string path = link::SocketPath(runtime.Sockets(), "Vespario");
    std::vector<UniqueFd> flood;
    for (int i = 0; i < 1000; ++i) {
        UniqueFd fd = RawConnect(path, false); // a full queue refuses at once
        if (fd.Valid())
            flood.push_back(std::move(fd));
    }
    ASSERT_GT(flood.size(), link::kMaxConnections);
    // The server keeps at most its limit and closes the rest as it takes them from the queue.
    const size_t refused = flood.size() - link::kMaxConnections;
    for (int i = 0; i < 500 && log.Count("Connection refused: ") < refused; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    size_t closed = 0;
    for (const UniqueFd &fd : flood) {
        char byte;
        closed += ::recv(fd.Get(), &byte, 1, MSG_DONTWAIT) == 0 ? 1 : 0;
    }
    EXPECT_EQ(closed, refused);
    EXPECT_EQ(log.Count("Connection refused: 100 connections are open"), refused);
    flood.clear();
    ExpectStillServing();
    program.thread.Stop();
    EXPECT_EQ(program.window.Commands(), (std::vector<std::pair<int, std::string>>{{0, "M31"}}));
}

TEST(Hostile, EveryByteInEveryText) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    const std::string high = AllBytes(1, 255); // 255 bytes: as long as a name may be

    // Names with any byte but NUL are names like others: here, of nothing.
    link::CDDEConv stranger;
    EXPECT_FALSE(stranger.ConnectTo("Vespario", high));
    EXPECT_FALSE(stranger.ConnectTo(high, "Vespario"));
    EXPECT_TRUE(link::WildConnect("", high).empty());

    link::CDDEConv conv;
    ASSERT_TRUE(conv.ConnectTo("Vespario", "Vespario"));
    std::string data;
    EXPECT_FALSE(conv.Request(high, data));
    EXPECT_FALSE(conv.Poke(link::kCfText, high, high));
    EXPECT_FALSE(conv.Advise(high));
    // A NUL inside a name: refused without looking further.
    EXPECT_FALSE(conv.Request(std::string("Top\0ics", 7), data));
    // A command is the text before its first NUL; every other byte reaches the window.
    EXPECT_TRUE(conv.Exec("ID=" + high));
    EXPECT_FALSE(conv.Exec(high));
    EXPECT_FALSE(conv.Exec(AllBytes(0, 255)));
    EXPECT_TRUE(conv.Exec(std::string("ID=M31\0RaDec=0", 14)));
    EXPECT_TRUE(conv.IsConnected());
    ExpectStillServing();
    program.thread.Stop();

    const std::vector<std::pair<int, std::string>> expected = {{0, high}, {0, "M31"}, {0, "M31"}};
    EXPECT_EQ(program.window.Commands(), expected);
    ASSERT_EQ(program.host.Messages().size(), 2u);
    EXPECT_EQ(program.host.Messages()[0], "Unknown DDE string (" + high + ") received");
    EXPECT_EQ(program.host.Messages()[1], "Unknown DDE string () received");
    EXPECT_TRUE(log.Has("Transaction 20B0H refused: a name holds a NUL byte"));
    EXPECT_TRUE(log.Has("Exec data cut at its first NUL byte (0 of 257 bytes)"));
    EXPECT_TRUE(log.Has("Exec data cut at its first NUL byte (6 of 15 bytes)"));
    // Log lines stay printable, one line each.
    for (const std::string &line : log.Lines())
        for (const char c : line)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line;
}

// A child process that runs as "nobody" and tries the program's socket; its exit status
// says what happened: 0 refused before connecting, 1 connected but cut, 2 served, 3 failed.
int ConnectAsNobody(const std::string &path) {
    const passwd *nobody = ::getpwnam("nobody");
    if (!nobody)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(3);
        const UniqueFd fd = RawConnect(path);
        if (!fd.Valid())
            ::_exit(0);
        Send(fd, EncodeFrame(Kind(DdeTransaction::Connect), "Vespario", "Vespario", 1, ""));
        ::_exit(NextAnswer(fd) == 0 ? 1 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 3;
}

TEST(Hostile, OtherUsersAreRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a child as another user";
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    const std::string folder = runtime.Sockets();
    const std::string path = link::SocketPath(folder, "Vespario");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(ConnectAsNobody(path), 0); // the folder keeps the other user out
    // Opened by mistake, the folder no longer protects the socket; the peer check still does.
    ASSERT_EQ(::chmod(std::filesystem::path(folder).parent_path().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0711), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    EXPECT_EQ(ConnectAsNobody(path), 1);
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    ExpectStillServing();
    program.thread.Stop();
    const passwd *nobody = ::getpwnam("nobody");
    EXPECT_TRUE(log.Has("Connection from user " + std::to_string(nobody->pw_uid) + " refused"));
    EXPECT_EQ(program.window.Commands(), (std::vector<std::pair<int, std::string>>{{0, "M31"}}));
}

TEST(Hostile, UnsafeSocketFoldersAreRefused) {
    RuntimeDir runtime;
    LogCapture log;
    const std::string folder = runtime.Sockets();
    std::string error;
    ASSERT_TRUE(link::PrepareSocketFolder(folder, error)) << error;
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    link::CDDEServer server;
    EXPECT_FALSE(server.Create("Vespario"));
    EXPECT_TRUE(
        log.Has("Cannot serve Vespario: " + folder + " is open to other users (mode 0755)"));
    link::CDDEConv conv;
    EXPECT_FALSE(conv.ConnectTo("Vespario", "Vespario"));
    EXPECT_EQ(conv.LastError(), link::kDmlErrSysError);
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    if (::geteuid() == 0) {
        const passwd *nobody = ::getpwnam("nobody");
        ASSERT_EQ(::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        EXPECT_FALSE(server.Create("Vespario"));
        EXPECT_TRUE(log.Has("Cannot serve Vespario: " + folder + " belongs to user " +
                            std::to_string(nobody->pw_uid)));
        ASSERT_EQ(::chown(folder.c_str(), 0, 0), 0);
    }
    // A symbolic link in the folder's place is not followed.
    ASSERT_EQ(::rmdir(folder.c_str()), 0);
    ASSERT_EQ(::symlink("/tmp", folder.c_str()), 0);
    EXPECT_FALSE(server.Create("Vespario"));
    EXPECT_TRUE(log.Has("Cannot serve Vespario: " + folder + " is not a folder"));
    ::unlink(folder.c_str());
    EXPECT_TRUE(server.Create("Vespario"));
}

} // namespace
} // namespace vespario
