#pragma once
// One conversation: either opened by this program as a client of another service
// (ConnectTo ... Disconnect), or opened by another program with this program's server.

#include "link/ddeframe.h"
#include "link/ddesocket.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::link {

class CDDEServer;

// Every client transaction gives up after this long.
inline constexpr int kTransactionTimeoutMs = 5000;

// The error numbers of the other platform's DDE library, kept for the log lines.
inline constexpr uint32_t kDmlErrAdviseAckTimeout = 0x4000;
inline constexpr uint32_t kDmlErrDataAckTimeout = 0x4002;
inline constexpr uint32_t kDmlErrExecAckTimeout = 0x4005;
inline constexpr uint32_t kDmlErrInvalidParameter = 0x4006;
inline constexpr uint32_t kDmlErrNotProcessed = 0x4009;
inline constexpr uint32_t kDmlErrNoConvEstablished = 0x400A;
inline constexpr uint32_t kDmlErrPokeAckTimeout = 0x400B;
inline constexpr uint32_t kDmlErrServerDied = 0x400E;
inline constexpr uint32_t kDmlErrSysError = 0x400F;

// True when the error means that nobody answered (no service, or no answer in time),
// false when a service answered and refused.
bool NobodyAnswered(uint32_t error);

class CDDEConv {
public:
    // A client conversation. With a server it logs through it and joins its conversation
    // list while connected; without one (vespario-cli, the second instance) it logs to the
    // layer's log.
    explicit CDDEConv(CDDEServer *server = nullptr) : m_server(server) {}
    virtual ~CDDEConv();
    CDDEConv(const CDDEConv &) = delete;
    CDDEConv &operator=(const CDDEConv &) = delete;

    virtual bool ConnectTo(std::string_view service, std::string_view topic);
    // False when not connected.
    virtual bool Disconnect();
    // Called when the other side ends the conversation; does nothing by default.
    virtual void OnDisconnected() {}
    // The item's value as text data (with its NUL); data is empty on failure.
    virtual bool Request(std::string_view item, std::string &data);
    virtual bool Advise(std::string_view item);
    // Sends command with its terminating NUL byte.
    virtual bool Exec(std::string_view command);
    virtual bool Poke(uint32_t format, std::string_view item, std::string_view data);
    // New data of an item this conversation advises on; by default handed to the server's
    // AdviseData. True when it was taken.
    virtual bool AdviseData(uint32_t format, std::string_view item, std::string_view data);

    // Waits up to timeoutMs for what the other side sends on its own (advise data, the end
    // of the conversation) and handles everything that has arrived. False when the
    // conversation has ended.
    bool ProcessIncoming(int timeoutMs);

    bool IsConnected() const { return m_connected; }
    uint32_t LastError() const { return m_lastError; }
    const std::string &Service() const { return m_service; }
    const std::string &Topic() const { return m_topic; }
    CDDEServer *Server() const { return m_server; }
    // The client socket, for an event loop that wants to call ProcessIncoming when it is
    // readable; -1 when not connected or for a conversation opened by another program.
    int Fd() const { return m_fd.Get(); }

    // The items another program's conversation advises on (names in lower case).
    bool IsAdvised(std::string_view item) const;

private:
    friend class CDDEServer;
    // A conversation that another program opened on the server's connection id.
    CDDEConv(CDDEServer *server, uint64_t connection, std::string service, std::string topic);

    void Log(const char *format, const char *a, const char *b, uint32_t error = 0) const;
    bool Fail(uint32_t error);
    // Sends a transaction and waits for its answer; handles advise data that comes first.
    bool Transact(const Frame &request, uint32_t timeoutError, Frame &answer);
    void HandleUnasked(const Frame &frame);
    void Drop();

    CDDEServer *m_server = nullptr;
    uint64_t m_connection = 0; // the server's connection, for a conversation opened by another
    std::string m_service;
    std::string m_topic;
    UniqueFd m_fd;
    FrameReader m_reader;
    bool m_connected = false;
    uint32_t m_lastError = 0;
    std::set<std::string> m_advised;
};

// A pair of a wild connect's answer.
struct ServiceTopic {
    std::string service;
    std::string topic;
};

// Asks the service (every service in the socket folder when empty) for its topics: all of
// them when topic is empty, else the named one when it has it. Services that do not answer
// within the time-out are left out.
std::vector<ServiceTopic> WildConnect(std::string_view service, std::string_view topic);

} // namespace vespario::link
