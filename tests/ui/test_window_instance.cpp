// The program itself as the single running instance, on the offscreen platform: a second
// "vespario ID=..." hands its command to the first and ends at once, silently; the first
// shows that object, and so it does for "vespario-cli send"; after a flood of bad frames it
// still answers, and a silent peer is cut at its deadline. What the window shows is read
// from its log lines (VESPARIO_LINK_LOG).

#include "childprocess.h"
#include "tempfolder.h"

#include "link/ddesocket.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>

namespace vespario {
namespace {

using test::ExitStatus;
using test::StartProcess;
using test::TempFolder;
using test::WaitForText;

constexpr int kStartTimeoutMs = 60000; // the sample database is read before the topic serves

class WindowInstance : public ::testing::Test {
protected:
    void SetUp() override {
        // Sockets, profile and settings of a user of our own.
        ::mkdir(m_folder.File("run").c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", m_folder.File("run").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", m_folder.File("config").c_str(), 1);
        ::setenv("HOME", m_folder.Path().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override {
        if (m_first > 0) {
            ::kill(m_first, SIGKILL);
            ::waitpid(m_first, nullptr, 0);
        }
    }
    int Run(const std::string &program, const std::vector<std::string> &args,
            const std::string &name) {
        return ExitStatus(StartProcess(program, args, File(name + ".out"), File(name + ".err")));
    }
    // True once the running instance answers a request.
    bool Answers() {
        return Run(VESPARIO_CLI, {"request", "Topics"}, "request") == 0 &&
               Read("request.out") == "System\tVespario\n";
    }
    std::string File(const std::string &name) const { return m_folder.File(name); }
    std::string Read(const std::string &name) const { return TempFolder::Read(File(name)); }

    TempFolder m_folder;
    pid_t m_first = -1;
};

link::UniqueFd Connect(const std::string &socket) {
    link::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    if (::connect(fd.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        fd.Reset();
    return fd;
}

// Frames that break the rules in every way a header can, each on a connection of its own.
void Flood(const std::string &socket) {
    const std::string garbage[] = {
        std::string("HTTP/1.0 GET /\r\n\r\n"),
        std::string("VDDE\x50\x40\x00\x01\x00\x00\x00\x00\x01\x00\x00\x00\xff\xff\xff\xff", 20),
        std::string("VDDE\x62\x10\xff\xff\xff\xff\xff\xff\x01\x00\x00\x00\x00\x00\x00\x00", 20),
        std::string(300, '\0'),
        std::string("VDDE"), // and then silence
    };
    std::vector<link::UniqueFd> open;
    for (int round = 0; round < 40; ++round) {
        for (const std::string &bytes : garbage) {
            link::UniqueFd fd = Connect(socket);
            if (!fd.Valid())
                continue;
            (void)!::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
            open.push_back(std::move(fd));
        }
    }
}

TEST_F(WindowInstance, ASecondStartHandsOverAndTheWindowShowsTheObject) {
    ::setenv("VESPARIO_LINK_LOG", "1", 1);
    m_first = StartProcess(VESPARIO_EXE, {VESPARIO_SAMPLE, "-ID=M33"}, File("first.out"),
                           File("first.err"));
    ::unsetenv("VESPARIO_LINK_LOG");
    ASSERT_GT(m_first, 0);
    // Its own command, sent once the topic serves.
    ASSERT_TRUE(WaitForText(File("first.err"), "Current object =M33=", kStartTimeoutMs));
    ASSERT_TRUE(Answers());

    EXPECT_EQ(Run(VESPARIO_EXE, {"ID=M31"}, "second"), 0);
    EXPECT_EQ(Read("second.out") + Read("second.err"), ""); // silently
    EXPECT_TRUE(WaitForText(File("first.err"), "Current object =M31=n224="));

    EXPECT_EQ(Run(VESPARIO_CLI, {"send", "ID=\"M42\""}, "send"), 0);
    EXPECT_TRUE(WaitForText(File("first.err"), "Current object =M42="));

    Flood(link::SocketPath(link::SocketFolder(), "Vespario"));
    EXPECT_TRUE(WaitForText(File("first.err"), " cut: "));
    EXPECT_TRUE(Answers());
    EXPECT_EQ(Run(VESPARIO_EXE, {"/ID=M1"}, "third"), 0);
    EXPECT_TRUE(WaitForText(File("first.err"), "Current object =M1="));

    // A peer that starts a frame and falls silent is cut at its deadline, with nothing else
    // happening on the sockets meanwhile.
    const link::UniqueFd silent = Connect(link::SocketPath(link::SocketFolder(), "Vespario"));
    ASSERT_TRUE(silent.Valid());
    (void)!::send(silent.Get(), "VDDE", 4, MSG_NOSIGNAL);
    EXPECT_TRUE(WaitForText(File("first.err"), "cut: nothing complete received", 8000));
    const timeval wait{3, 0};
    ::setsockopt(silent.Get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char byte = 0;
    EXPECT_EQ(::recv(silent.Get(), &byte, 1, 0), 0);    // closed by the window
    EXPECT_EQ(::waitpid(m_first, nullptr, WNOHANG), 0); // still running
}

} // namespace
} // namespace vespario
