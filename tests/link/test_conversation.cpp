// The conversation layer between real processes' sockets: the server, its "System" topic,
// client conversations and the command topic.

#include "linktest.h"

#include "cli/commands.h"
#include "link/ddeconv.h"
#include "link/ddesocket.h"

#include <gtest/gtest.h>

#include <sstream>

#include <sys/socket.h>
#include <sys/un.h>

namespace vespario {
namespace {

using link::CDDEConv;
using link::CDDEServer;
using test::CommandServer;
using test::LogCapture;
using test::RuntimeDir;
using test::ServerThread;

int RunCli(const std::vector<std::string> &args, std::string *out = nullptr) {
    std::ostringstream output;
    std::ostringstream errors;
    const int code = cli::Run(args, output, errors);
    if (out)
        *out = output.str();
    return code;
}

TEST(Conversation, SystemTopicAndWildConnect) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());

    // No service and no topic: every topic of every service, "System" included.
    const auto all = link::WildConnect("", "");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].service, "Vespario");
    EXPECT_EQ(all[0].topic, "System");
    EXPECT_EQ(all[1].topic, "Vespario");
    const auto named = link::WildConnect("vespario", "VESPARIO");
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].topic, "Vespario");
    EXPECT_TRUE(link::WildConnect("", "Nowhere").empty());
    EXPECT_TRUE(link::WildConnect("Other", "").empty());

    CDDEConv conv;
    ASSERT_TRUE(conv.ConnectTo("Vespario", "System"));
    std::string data;
    ASSERT_TRUE(conv.Request("Topics", data));
    EXPECT_EQ(data, std::string("System\tVespario\0", 16));
    ASSERT_TRUE(conv.Request("sysitems", data));
    EXPECT_EQ(link::TextOfData(data), "Topics\tSysItems\tTopicItemList\tFormats");
    ASSERT_TRUE(conv.Request("TopicItemList", data));
    EXPECT_EQ(link::TextOfData(data), "Topics\tSysItems\tTopicItemList\tFormats");
    ASSERT_TRUE(conv.Request("Formats", data));
    EXPECT_EQ(link::TextOfData(data), "TEXT");
    EXPECT_FALSE(conv.Request("Nothing", data));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(conv.LastError(), link::kDmlErrNotProcessed);
    // A command on "System" is refused, and the conversation stays.
    EXPECT_FALSE(conv.Exec("ID=M31"));
    EXPECT_TRUE(conv.IsConnected());
    EXPECT_FALSE(conv.Advise("Topics"));
    EXPECT_TRUE(conv.Disconnect());
    EXPECT_FALSE(conv.Disconnect());
    program.thread.Stop();

    EXPECT_TRUE(program.window.Commands().empty());
    EXPECT_TRUE(log.Has("Wild connect to <null>"));
    EXPECT_TRUE(log.Has("Wild connect to Nowhere refused"));
    EXPECT_TRUE(log.Has("Callback 20E2H"));
    EXPECT_TRUE(log.Has("Connect to System"));
    EXPECT_TRUE(log.Has("System topic request: Topics"));
    EXPECT_TRUE(log.Has("Request System|Nothing failed"));
    EXPECT_TRUE(log.Has("Exec failed"));
    EXPECT_TRUE(log.Has("Can't advise on System|Topics"));
    EXPECT_TRUE(log.Has("Disconnect"));
}

TEST(Conversation, UnknownTopicAndSecondServerAreRefused) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    CDDEConv conv;
    EXPECT_FALSE(conv.ConnectTo("Vespario", "Nowhere"));
    EXPECT_EQ(conv.LastError(), link::kDmlErrNotProcessed);
    EXPECT_FALSE(conv.IsConnected());
    // Another server for the same service, here a second process's: the socket is taken.
    CDDEServer second;
    EXPECT_FALSE(second.Create("Vespario"));
    program.thread.Stop();
    EXPECT_TRUE(log.Has("Connect to Vespario|Nowhere refused"));
    EXPECT_TRUE(log.Has("Failed to connect to Vespario|Nowhere. Error 16393"));
    // With nobody serving it, the service cannot be reached at all.
    EXPECT_FALSE(conv.ConnectTo("Vespario", "Vespario"));
    EXPECT_EQ(conv.LastError(), link::kDmlErrNoConvEstablished);
    EXPECT_TRUE(log.Has("Failed to connect to Vespario|Vespario. Error 16394"));
}

TEST(Conversation, OneServerPerProcess) {
    RuntimeDir runtime;
    CDDEServer first;
    ASSERT_TRUE(first.Create("First"));
    EXPECT_EQ(CDDEServer::Instance(), &first);
    CDDEServer second;
    EXPECT_FALSE(second.Create("Second"));
    first.Shutdown();
    EXPECT_EQ(CDDEServer::Instance(), nullptr);
    EXPECT_TRUE(second.Create("Second"));
}

TEST(Conversation, CommandTopicDecidesCommands) {
    RuntimeDir runtime;
    LogCapture log;
    CommandServer program;
    ASSERT_TRUE(program.thread.Created());
    CDDEConv conv;
    ASSERT_TRUE(conv.ConnectTo("Vespario", "vespario"));
    EXPECT_TRUE(conv.Exec("ID=M31"));
    EXPECT_TRUE(conv.Exec("radec:\"004244.3+411609,2\""));
    EXPECT_TRUE(conv.Exec("id=\"NGC 224\""));
    EXPECT_FALSE(conv.Exec("ID M31"));
    EXPECT_EQ(conv.LastError(), link::kDmlErrNotProcessed);
    EXPECT_TRUE(conv.IsConnected()); // an unknown command leaves the conversation open
    EXPECT_TRUE(conv.Exec("ID="));
    program.thread.Stop();

    const std::vector<std::pair<int, std::string>> expected = {
        {0, "M31"}, {1, "004244.3+411609,2"}, {0, "NGC 224"}, {0, ""}};
    EXPECT_EQ(program.window.Commands(), expected);
    ASSERT_EQ(program.host.Messages().size(), 1u);
    EXPECT_EQ(program.host.Messages()[0], "Unknown DDE string (ID M31) received");
    EXPECT_EQ(log.Count("Exec failed"), 1u);
}

TEST(Conversation, CommandTexts) {
    struct Row {
        const char *command;
        bool known;
        int identifier;
        const char *text;
    };
    const Row rows[] = {
        {"RaDec=004244.3+411609", true, 1, "004244.3+411609"},
        {"RADEC 004244.3+411609,2", true, 1, "004244.3+411609,2"},
        {"radec=\"004244.3+411609\"", true, 1, "004244.3+411609"},
        {"RaDec", true, 1, ""}, // nothing after the five letters: an empty position
        {"RaDe=1", false, 0, ""},
        {"ID=M31", true, 0, "M31"},
        {"iD=\"M 31", true, 0, "M 31"},
        {"ID=\"\"", true, 0, ""},
        {"ID", false, 0, ""},
        {"IDM31", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.command);
        const auto parsed = link::ParseWindowCommand(row.command);
        ASSERT_EQ(parsed.has_value(), row.known);
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->identifier, row.identifier);
        EXPECT_EQ(parsed->text, row.text);
    }
}

// An item whose pokes and advise loops two conversations share.
struct SkyServer {
    ServerThread thread{[](CDDEServer &server) {
        auto topic = std::make_shared<link::CDDETopic>("Sky");
        topic->AddItem(std::make_shared<link::CDDEStringItem>("Current", "M31"));
        server.AddTopic(topic);
    }};
};

class AdvisedConv : public CDDEConv {
public:
    bool AdviseData(uint32_t format, std::string_view item, std::string_view data) override {
        received.push_back(std::string(item) + "=" + std::string(link::TextOfData(data)));
        return format == link::kCfText;
    }
    void OnDisconnected() override { ended = true; }
    std::vector<std::string> received;
    bool ended = false;
};

TEST(Conversation, RequestsPokesAndAdviseLoops) {
    RuntimeDir runtime;
    LogCapture log;
    SkyServer sky;
    ASSERT_TRUE(sky.thread.Created());
    AdvisedConv watcher;
    CDDEConv writer;
    ASSERT_TRUE(watcher.ConnectTo("Vespario", "Sky"));
    ASSERT_TRUE(writer.ConnectTo("Vespario", "Sky"));
    ASSERT_TRUE(watcher.Advise("current")); // advise data names the item as the poke did
    EXPECT_TRUE(watcher.IsAdvised("CURRENT"));

    std::string data;
    ASSERT_TRUE(writer.Request("Current", data));
    EXPECT_EQ(link::TextOfData(data), "M31");
    ASSERT_TRUE(writer.Poke(link::kCfText, "Current", link::TextData("M42")));
    ASSERT_TRUE(watcher.ProcessIncoming(2000));
    // The next poke's advise data reaches the watcher while it waits for its own answer.
    ASSERT_TRUE(writer.Poke(link::kCfText, "Current", link::TextData("M1")));
    ASSERT_TRUE(watcher.Request("Current", data));
    EXPECT_EQ(link::TextOfData(data), "M1");
    EXPECT_EQ(watcher.received, (std::vector<std::string>{"Current=M42", "Current=M1"}));

    // The watcher's own poke is not sent back to it.
    ASSERT_TRUE(watcher.Poke(link::kCfText, "Current", link::TextData("M33")));
    ASSERT_TRUE(writer.Request("Current", data));
    EXPECT_EQ(link::TextOfData(data), "M33");
    EXPECT_EQ(watcher.received.size(), 2u);

    EXPECT_FALSE(writer.Poke(link::kCfText, "Nothing", link::TextData("x")));
    EXPECT_FALSE(writer.Poke(7, "Current", "x"));
    EXPECT_FALSE(writer.Advise("Nothing"));
    sky.thread.Stop();
    EXPECT_TRUE(log.Has("Poke Sky|Nothing failed"));
    EXPECT_TRUE(log.Has("Can't advise on Sky|Nothing"));
    EXPECT_TRUE(log.Has("Callback 2022H"));
    EXPECT_TRUE(log.Has("Request Sky|Current"));
}

TEST(Conversation, ShutdownDisconnectsEveryConversationFirst) {
    RuntimeDir runtime;
    LogCapture log;
    SkyServer sky;
    ASSERT_TRUE(sky.thread.Created());
    AdvisedConv first;
    AdvisedConv second;
    ASSERT_TRUE(first.ConnectTo("Vespario", "Sky"));
    ASSERT_TRUE(second.ConnectTo("Vespario", "System"));
    const std::string socket = link::SocketPath(runtime.Sockets(), "Vespario");
    ASSERT_TRUE(std::filesystem::exists(socket));
    sky.thread.Stop();
    // Each conversation was told that it ended, before the socket went away.
    EXPECT_FALSE(first.ProcessIncoming(2000));
    EXPECT_FALSE(second.ProcessIncoming(2000));
    EXPECT_TRUE(first.ended);
    EXPECT_TRUE(second.ended);
    EXPECT_FALSE(first.IsConnected());
    EXPECT_FALSE(std::filesystem::exists(socket));
    EXPECT_FALSE(first.Exec("ID=M31"));
    EXPECT_EQ(first.LastError(), link::kDmlErrNoConvEstablished);
}

// A server whose socket takes connections that nobody ever answers.
class MuteService {
public:
    explicit MuteService(const std::string &folder) {
        std::string error;
        EXPECT_TRUE(link::PrepareSocketFolder(folder, error)) << error;
        m_fd.Reset(::socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = link::SocketPath(folder, "Mute");
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(m_fd.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(m_fd.Get(), 8), 0);
    }

private:
    link::UniqueFd m_fd;
};

TEST(Conversation, ClientGivesUpOnAServerThatDoesNotAnswer) {
    RuntimeDir runtime;
    LogCapture log;
    MuteService mute(runtime.Sockets());
    CDDEConv conv;
    EXPECT_FALSE(conv.ConnectTo("Mute", "Vespario"));
    EXPECT_EQ(conv.LastError(), link::kDmlErrNoConvEstablished);
    EXPECT_TRUE(log.Has("Failed to connect to Mute|Vespario. Error 16394"));
    EXPECT_EQ(RunCli({"request", "--service", "Mute", "Topics"}), 2);
}

TEST(Conversation, CliSendAndRequest) {
    RuntimeDir runtime;
    EXPECT_EQ(RunCli({"send", "ID=M31"}), 2); // nobody serves "Vespario"
    {
        CommandServer program;
        ASSERT_TRUE(program.thread.Created());
        EXPECT_EQ(RunCli({"send", "ID=M31"}), 0);
        EXPECT_EQ(RunCli({"send", "--service", "vespario", "--topic", "Vespario", "RaDec=1"}), 0);
        EXPECT_EQ(RunCli({"send", "Show M31"}), 1);
        EXPECT_EQ(RunCli({"send", "--topic", "System", "ID=M31"}), 1);
        EXPECT_EQ(RunCli({"send", "--topic", "Nowhere", "ID=M31"}), 1);
        std::string out;
        EXPECT_EQ(RunCli({"request", "Topics"}, &out), 0);
        EXPECT_EQ(out, "System\tVespario\n");
        EXPECT_EQ(RunCli({"request", "--topic", "Vespario", "Topics"}), 1);
        EXPECT_EQ(RunCli({"request"}), 2);
        EXPECT_EQ(RunCli({"send", "a", "b"}), 2);
        EXPECT_EQ(RunCli({"send", "--service"}), 2);
        program.thread.Stop();
        const std::vector<std::pair<int, std::string>> expected = {{0, "M31"}, {1, "1"}};
        EXPECT_EQ(program.window.Commands(), expected);
    }
    EXPECT_EQ(RunCli({"send", "ID=M31"}), 2);
}

} // namespace
} // namespace vespario
