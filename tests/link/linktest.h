#pragma once
// What the conversation-layer tests share: a private socket folder per test, the layer's
// log lines, a server running on a thread of its own (client transactions block, so the
// server cannot share the test's thread) and a window that records its commands.

#include "link/commandtopic.h"
#include "link/ddeserver.h"
#include "platform/headlesshost.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vespario::test {

// Points $XDG_RUNTIME_DIR at a fresh folder, so that every test has its own sockets.
class RuntimeDir {
public:
    RuntimeDir() { ::setenv("XDG_RUNTIME_DIR", m_folder.Path().c_str(), 1); }
    ~RuntimeDir() { ::unsetenv("XDG_RUNTIME_DIR"); }
    std::string Sockets() const { return link::SocketFolder(); }

private:
    TempFolder m_folder;
};

// Collects the layer's log lines from every thread.
class LogCapture {
public:
    LogCapture() {
        link::SetLogSink([this](const std::string &line) {
            const std::lock_guard lock(m_mutex);
            m_lines.push_back(line);
        });
    }
    ~LogCapture() { link::SetLogSink({}); }
    std::vector<std::string> Lines() const {
        const std::lock_guard lock(m_mutex);
        return m_lines;
    }
    bool Has(const std::string &line) const {
        const auto lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Lines that begin with prefix.
    size_t Count(const std::string &prefix) const {
        const auto lines = Lines();
        return static_cast<size_t>(std::count_if(
            lines.begin(), lines.end(), [&](const auto &l) { return l.rfind(prefix, 0) == 0; }));
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// A main frame that records what the command topic sends it.
class RecordingWindow : public link::CommandWindow {
public:
    void SendCommandToWindow(int identifier, const std::string &text) override {
        const std::lock_guard lock(m_mutex);
        m_commands.emplace_back(identifier, text);
    }
    std::vector<std::pair<int, std::string>> Commands() const {
        const std::lock_guard lock(m_mutex);
        return m_commands;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<int, std::string>> m_commands;
};

// A server on its own thread: created, given its topics by setup, then run until Stop; it
// shuts down on its thread, as the program shuts its server down on the window's thread.
class ServerThread {
public:
    using Setup = std::function<void(link::CDDEServer &)>;

    explicit ServerThread(Setup setup, std::string service = link::kAppName,
                          std::unique_ptr<link::CDDEServer> server = nullptr)
        : m_server(server ? std::move(server) : std::make_unique<link::CDDEServer>()) {
        std::promise<bool> created;
        auto ready = created.get_future();
        m_thread = std::thread([this, setup, service, &created] {
            const bool ok = m_server->Create(service);
            if (ok && setup)
                setup(*m_server);
            created.set_value(ok);
            if (!ok)
                return;
            m_server->Run();
            m_server->Shutdown();
        });
        m_created = ready.get();
    }
    ~ServerThread() { Stop(); }

    bool Created() const { return m_created; }
    // Shuts the server down (on its thread) and waits for it.
    void Stop() {
        if (!m_thread.joinable())
            return;
        m_server->Stop();
        m_thread.join();
    }
    link::CDDEServer &Server() { return *m_server; }

private:
    std::unique_ptr<link::CDDEServer> m_server;
    std::thread m_thread;
    bool m_created = false;
};

// The program's own server: the command topic over a recording window and a headless host.
struct CommandServer {
    RecordingWindow window;
    platform::HeadlessHost host; // read only after Stop: the server thread shows on it
    ServerThread thread{[this](link::CDDEServer &server) {
        server.AddTopic(std::make_shared<link::CVesparioTopic>(window, host));
    }};
};

} // namespace vespario::test
