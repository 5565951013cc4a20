// A round trip of the conversation layer on this machine: connect to the program's command
// topic, execute "ID=M31", disconnect, against a server on a thread of its own; then the
// execute alone on an open conversation. The baseline of the same run is a bare Unix socket
// round trip: connect, send 20 bytes, receive 20, close, against a thread that only echoes.

#include "link/commandtopic.h"
#include "link/ddeconv.h"
#include "link/ddeserver.h"
#include "platform/headlesshost.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vespario {
namespace {

class CountingWindow : public link::CommandWindow {
public:
    void SendCommandToWindow(int, const std::string &) override { ++commands; }
    std::atomic<long> commands{0};
};

// A private socket folder and the program's server on its own thread, for the whole run.
class Program {
public:
    Program() {
        char pattern[] = "/tmp/vespario-bench-XXXXXX";
        m_folder = ::mkdtemp(pattern);
        ::setenv("XDG_RUNTIME_DIR", m_folder.c_str(), 1);
        std::atomic<bool> ready{false};
        m_thread = std::thread([this, &ready] {
            m_server.Create(link::kAppName);
            m_server.AddTopic(std::make_shared<link::CVesparioTopic>(window, m_host));
            ready = true;
            m_server.Run();
            m_server.Shutdown();
        });
        while (!ready)
            std::this_thread::yield();
    }
    ~Program() {
        m_server.Stop();
        m_thread.join();
        std::filesystem::remove_all(m_folder);
    }
    CountingWindow window;

private:
    std::string m_folder;
    platform::HeadlessHost m_host;
    link::CDDEServer m_server;
    std::thread m_thread;
};

Program &TheProgram() {
    static Program program;
    return program;
}

void BM_RoundTrip(benchmark::State &state) {
    Program &program = TheProgram();
    const long before = program.window.commands;
    for (auto _ : state) {
        link::CDDEConv conv;
        if (!conv.ConnectTo(link::kAppName, link::kAppName) || !conv.Exec("ID=M31")) {
            state.SkipWithError("the server did not acknowledge");
            return;
        }
        conv.Disconnect();
    }
    state.counters["acknowledged"] = static_cast<double>(program.window.commands - before);
}
BENCHMARK(BM_RoundTrip)->UseRealTime();

void BM_ExecuteOnOpenConversation(benchmark::State &state) {
    TheProgram();
    link::CDDEConv conv;
    if (!conv.ConnectTo(link::kAppName, link::kAppName)) {
        state.SkipWithError("cannot connect");
        return;
    }
    for (auto _ : state) {
        if (!conv.Exec("ID=M31")) {
            state.SkipWithError("the server did not acknowledge");
            return;
        }
    }
}
BENCHMARK(BM_ExecuteOnOpenConversation)->UseRealTime();

// The baseline: a bare socket that echoes 20 bytes, with nothing of the layer.
void BM_Baseline_BareSocketRoundTrip(benchmark::State &state) {
    char pattern[] = "/tmp/vespario-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    (folder + "/echo.sock").copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener, 128);
    std::thread echo([listener] {
        char buffer[20];
        for (;;) {
            const int fd = ::accept(listener, nullptr, nullptr);
            if (fd < 0)
                return;
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_WAITALL);
            if (got > 0)
                (void)!::send(fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL);
            ::close(fd);
        }
    });
    char buffer[20] = "VDDE frame of 20 by";
    for (auto _ : state) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        (void)!::send(fd, buffer, sizeof buffer, MSG_NOSIGNAL);
        (void)!::recv(fd, buffer, sizeof buffer, MSG_WAITALL);
        ::close(fd);
    }
    ::shutdown(listener, SHUT_RDWR);
    ::close(listener);
    echo.join();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Baseline_BareSocketRoundTrip)->UseRealTime();

} // namespace
} // namespace vespario

BENCHMARK_MAIN();
