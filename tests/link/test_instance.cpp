// The single running instance with real processes: a stand-in for the program's window
// serves; a second start with an ID or a position hands it over and ends at once; so does
// vespario-cli send; a socket left by a killed instance is taken over.

#include "childprocess.h"
#include "tempfolder.h"

#include "link/ddesocket.h"
#include "link/singleinstance.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace vespario {
namespace {

using test::ExitStatus;
using test::StartProcess;
using test::TempFolder;
using test::WaitForText;

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", m_folder.Path().c_str(), 1); }
    void TearDown() override {
        for (const pid_t pid : m_running) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    pid_t StartDriver(const std::vector<std::string> &args, const std::string &output) {
        const pid_t pid = StartProcess(VESPARIO_INSTANCE_DRIVER, args, m_folder.File(output));
        m_running.push_back(pid);
        return pid;
    }
    int Run(const std::string &program, const std::vector<std::string> &args,
            const std::string &output) {
        return ExitStatus(StartProcess(program, args, m_folder.File(output)));
    }
    int Terminate(pid_t pid) {
        ::kill(pid, SIGTERM);
        m_running.erase(std::find(m_running.begin(), m_running.end(), pid));
        return ExitStatus(pid);
    }
    std::string Output(const std::string &name) const { return m_folder.Read(m_folder.File(name)); }
    std::string File(const std::string &name) const { return m_folder.File(name); }

    TempFolder m_folder;
    std::vector<pid_t> m_running;
};

TEST_F(SingleInstance, SecondStartHandsOverAndEnds) {
    // The first instance shows its own command-line ID itself.
    const pid_t first = StartDriver({"-ID=M1"}, "first.txt");
    ASSERT_TRUE(WaitForText(File("first.txt"), "serving\nwindow 0 M1\n"));

    EXPECT_EQ(Run(VESPARIO_INSTANCE_DRIVER, {"ID=M31"}, "second.txt"), 0);
    EXPECT_EQ(Output("second.txt"), ""); // silently
    EXPECT_TRUE(WaitForText(File("first.txt"), "window 0 M31\n"));
    EXPECT_EQ(Run(VESPARIO_INSTANCE_DRIVER, {"/RaDec=\"004244.3+411609,2\""}, "third.txt"), 0);
    EXPECT_TRUE(WaitForText(File("first.txt"), "window 1 004244.3+411609,2\n"));

    EXPECT_EQ(Run(VESPARIO_CLI, {"send", "ID=NGC 224"}, "cli.txt"), 0);
    EXPECT_TRUE(WaitForText(File("first.txt"), "window 0 NGC 224\n"));
    EXPECT_EQ(Run(VESPARIO_CLI, {"send", "Show NGC 224"}, "cli.txt"), 1);
    EXPECT_TRUE(WaitForText(File("first.txt"), "Unknown DDE string (Show NGC 224) received\n"));

    // A start that names a file runs on its own, without the service.
    const pid_t withFile = StartDriver({"ID=M31", "sky.obs"}, "file.txt");
    EXPECT_TRUE(WaitForText(File("file.txt"), "not serving: another instance serves Vespario\n"
                                              "window 0 M31\n"));
    EXPECT_EQ(Terminate(withFile), 0);

    EXPECT_EQ(Terminate(first), 0);
    EXPECT_FALSE(std::filesystem::exists(link::SocketPath(link::SocketFolder(), "Vespario")));
    EXPECT_EQ(Run(VESPARIO_CLI, {"send", "ID=M31"}, "cli.txt"), 2);
}

TEST_F(SingleInstance, SocketOfACrashedInstanceIsTakenOver) {
    const pid_t crashed = StartDriver({}, "crashed.txt");
    ASSERT_TRUE(WaitForText(File("crashed.txt"), "serving\n"));
    ::kill(crashed, SIGKILL);
    ::waitpid(crashed, nullptr, 0);
    m_running.clear();
    const std::string socket = link::SocketPath(link::SocketFolder(), "Vespario");
    ASSERT_TRUE(std::filesystem::exists(socket)); // left behind

    const pid_t next = StartDriver({"ID=M31"}, "next.txt");
    EXPECT_TRUE(WaitForText(File("next.txt"), "serving\nwindow 0 M31\n"));
    EXPECT_EQ(Run(VESPARIO_CLI, {"send", "ID=M42"}, "cli.txt"), 0);
    EXPECT_TRUE(WaitForText(File("next.txt"), "window 0 M42\n"));
    EXPECT_EQ(Terminate(next), 0);
}

} // namespace
} // namespace vespario
