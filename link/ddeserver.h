#pragma once
// The server of the conversation layer: one per process, under a service name, with its
// topics, the "System" topic and the list of live conversations. It never blocks: the
// window watches NotifyFd() and calls Process() when it is readable (and at the deadline
// MillisecondsToNextDeadline() names); tests and vespario-cli call Poll() in a loop.

#include "link/ddeconv.h"
#include "link/ddeframe.h"
#include "link/ddesocket.h"
#include "link/ddetopic.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::link {

// Limits that keep a misbehaving peer from hurting the program.
inline constexpr size_t kMaxConnections = 100;
inline constexpr int kIdleCutMs = 5000;                    // to finish a frame, or to connect
inline constexpr size_t kMaxPendingOutputBytes = 4u << 20; // answers a peer does not read

// Where the layer's log lines go. By default nowhere, unless VESPARIO_LINK_LOG is set in the
// environment (then to standard error). An empty function restores the default.
void SetLogSink(std::function<void(const std::string &)> sink);
void WriteLog(const std::string &line);

using CDDEConvList = std::vector<CDDEConv *>;

class CDDEServer {
public:
    CDDEServer();
    virtual ~CDDEServer();
    CDDEServer(const CDDEServer &) = delete;
    CDDEServer &operator=(const CDDEServer &) = delete;

    // The server of this process, or nullptr.
    static CDDEServer *Instance();

    // Starts serving the service: false when this process already has a server, or when
    // the service's socket cannot be taken (another process serves it, or the socket folder
    // is unsafe). A listener claimed earlier (ClaimService) is used instead of claiming.
    bool Create(std::string_view service, ServiceListener listener = {});
    // Disconnects every conversation, then stops serving. Called while a transaction is
    // handled, it happens as soon as that transaction is done.
    void Shutdown();
    bool IsRunning() const { return m_running; }
    const std::string &ServiceName() const { return m_service; }

    // One log line, printf style.
    void Status(const char *format, ...) __attribute__((format(printf, 2, 3)));
    // Transactions of kinds the layer does not know; true when handled (answer set).
    virtual bool CustomCallback(const Frame &frame, Frame &answer);

    virtual bool Exec(std::string_view topic, std::string_view data);
    virtual bool Request(uint32_t format, std::string_view topic, std::string_view item,
                         std::string &data);
    virtual bool Poke(uint32_t format, std::string_view topic, std::string_view item,
                      std::string_view data);
    // Data of an advise loop that one of this program's client conversations runs.
    virtual bool AdviseData(uint32_t format, CDDEConv &conv, std::string_view topic,
                            std::string_view item, std::string_view data);
    virtual bool CanAdvise(uint32_t format, std::string_view topic, std::string_view item);
    virtual void AddTopic(std::shared_ptr<CDDETopic> topic);

    CDDETopic *FindTopic(std::string_view name) const;
    const CDDETopicList &Topics() const { return m_topics; }
    CDDETopic &SystemTopic() { return *m_systemTopic; }
    const CDDEConvList &Conversations() const { return m_conversations; }

    // Sends the item's new value to every conversation that advises on it, except the one
    // that caused the change.
    void PostAdvise(std::string_view topic, std::string_view item, const CDDEConv *except);

    // Runs after the answer of the current transaction has been sent, so that a message box
    // or a long search does not keep the other program waiting.
    void Defer(std::function<void()> action);

    // Event loop: the descriptor that becomes readable when a socket needs attention.
    int NotifyFd() const { return m_epoll.Get(); }
    // Handles everything that is ready now and returns without waiting.
    void Process();
    // Milliseconds until the next connection must be cut for idling, -1 when none.
    int MillisecondsToNextDeadline() const;
    // Waits up to timeoutMs for something to do, then does it. False once not running.
    bool Poll(int timeoutMs);
    // Runs Poll until Stop() is called (from any thread) or the server shuts down.
    void Run();
    void Stop();

private:
    struct Connection;
    friend class CDDEConv;

    void Accept();
    void Receive(Connection &connection);
    void Flush(Connection &connection);
    void Dispatch(Connection &connection, const Frame &frame);
    void DispatchOpening(Connection &connection, const Frame &frame);
    void DispatchConversation(Connection &connection, const Frame &frame);
    void WildConnectAnswer(Connection &connection, const Frame &frame);
    void HandleRequest(Connection &connection, const Frame &frame, bool advise);
    void HandlePoke(Connection &connection, const Frame &frame);
    void HandleExecute(Connection &connection, const Frame &frame);
    void Answer(Connection &connection, DdeAnswer kind, std::string_view data = {},
                uint32_t format = kCfText);
    void SendTo(Connection &connection, const std::string &bytes);
    void PeerDisconnected(Connection &connection);
    void Cut(Connection &connection, const std::string &why);
    void CloseConnection(uint64_t id, bool tellPeer);
    void Forget(CDDEConv *conv);
    void CutIdle();
    void RemoveClosed();
    void RunDeferred();
    void UpdateDeadline(Connection &connection);

    std::string m_service;
    bool m_running = false;
    bool m_processing = false;
    bool m_shutdownRequested = false;
    ServiceListener m_listener;
    UniqueFd m_epoll;
    UniqueFd m_wake; // eventfd for Stop()
    std::atomic<bool> m_stop{false};
    std::shared_ptr<CDDETopic> m_systemTopic;
    CDDETopicList m_topics;
    CDDEConvList m_conversations;
    std::map<uint64_t, std::unique_ptr<Connection>> m_connections;
    uint64_t m_nextConnection = 1;
    std::vector<std::function<void()>> m_deferred;
};

} // namespace vespario::link
