// Stands in for the program's window in the single-instance tests: starts as the program
// does (hand over, or serve the command topic) and prints each command its "window" gets,
// one line "window IDENTIFIER TEXT", until it is ended with SIGTERM.

#include "app/commandline.h"
#include "link/commandtopic.h"
#include "link/ddeserver.h"
#include "link/singleinstance.h"
#include "platform/headlesshost.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

class PrintingWindow : public vespario::link::CommandWindow {
public:
    void SendCommandToWindow(int identifier, const std::string &text) override {
        std::printf("window %d %s\n", identifier, text.c_str());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char **argv) {
    using namespace vespario;
    const CommandLine line = ParseCommandLine({argv + 1, argv + argc});
    const bool handOver = line.HasCommand() && line.fileName.empty();
    link::InstanceStart start = link::StartSingleInstance(handOver ? line.HandOverCommand() : "");
    if (start.outcome == link::StartOutcome::HandedOver)
        return 0;
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    PrintingWindow window;
    platform::HeadlessHost host;
    std::cout << std::unitbuf;
    host.SetEcho(&std::cout); // the message boxes, as lines
    link::CDDEServer server;
    if (server.Create(link::kAppName, std::move(start.listener))) {
        server.AddTopic(std::make_shared<link::CVesparioTopic>(window, host));
        std::printf("serving\n");
    } else {
        std::printf("not serving: %s\n", start.note.c_str());
    }
    std::fflush(stdout);
    if (line.HasCommand())
        link::SendCommandToWindow(window, line.id, line.raDec);
    while (!g_stop) {
        if (!server.Poll(100))
            ::usleep(100'000); // not serving: only wait for the end
    }
    server.Shutdown();
    return 0;
}
