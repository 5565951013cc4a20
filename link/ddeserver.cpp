#include "link/ddeserver.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vespario::link {
namespace {

constexpr uint64_t kListenerKey = 0;
constexpr uint64_t kWakeKey = UINT64_MAX;

std::function<void(const std::string &)> &LogSink() {
    static std::function<void(const std::string &)> sink;
    return sink;
}

CDDEServer *g_server = nullptr; // the one server of this process

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

bool HoldsNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

} // namespace

void SetLogSink(std::function<void(const std::string &)> sink) {
    LogSink() = std::move(sink);
}

void WriteLog(const std::string &line) {
    if (LogSink()) {
        LogSink()(line);
        return;
    }
    static const bool toStderr = std::getenv("VESPARIO_LINK_LOG") != nullptr;
    if (toStderr)
        std::cerr << "vespario link: " << line << "\n";
}

struct CDDEServer::Connection {
    uint64_t id = 0;
    UniqueFd fd;
    FrameReader reader;
    std::string output; // answers not yet taken by the peer
    bool closeAfterFlush = false;
    bool closed = false;
    std::unique_ptr<CDDEConv> conv; // once the peer has connected to a topic
    bool hasDeadline = true;
    Clock::time_point deadline;
};

CDDEServer::CDDEServer() = default;

CDDEServer::~CDDEServer() {
    Shutdown();
}

CDDEServer *CDDEServer::Instance() {
    return g_server;
}

bool CDDEServer::Create(std::string_view service, ServiceListener listener) {
    if (g_server || m_running)
        return false;
    if (!listener.Valid()) {
        ServiceClaim claim = ClaimService(service);
        if (!claim.listener.Valid()) {
            WriteLog("Cannot serve " + LogText(service) + ": " +
                     (claim.live ? "another process serves it" : claim.error));
            return false;
        }
        listener = std::move(claim.listener);
    }
    m_epoll.Reset(::epoll_create1(EPOLL_CLOEXEC));
    m_wake.Reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!m_epoll.Valid() || !m_wake.Valid())
        return false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kListenerKey;
    ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, listener.Fd(), &event);
    event.data.u64 = kWakeKey;
    ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, m_wake.Get(), &event);
    m_listener = std::move(listener);
    m_service = std::string(service);
    m_topics.clear();
    m_systemTopic = std::make_shared<CDDEServerSystemTopic>();
    AddTopic(m_systemTopic);
    m_systemTopic->AddItem(std::make_shared<CDDESystemItem_TopicList>("Topics"));
    m_systemTopic->AddItem(std::make_shared<CDDESystemItem_ItemList>("SysItems"));
    m_systemTopic->AddItem(std::make_shared<CDDESystemItem_ItemList>("TopicItemList"));
    m_systemTopic->AddItem(std::make_shared<CDDESystemItem_FormatList>("Formats"));
    g_server = this;
    m_running = true;
    m_stop = false;
    return true;
}

void CDDEServer::Shutdown() {
    if (!m_running)
        return;
    if (m_processing) {
        // Called from inside a transaction: the connection being handled must outlive it.
        m_shutdownRequested = true;
        return;
    }
    m_shutdownRequested = false;
    const CDDEConvList conversations = m_conversations;
    for (CDDEConv *conv : conversations)
        conv->Disconnect();
    for (auto &[id, connection] : m_connections)
        connection->fd.Reset();
    m_connections.clear();
    m_listener.Close();
    m_epoll.Reset();
    m_wake.Reset();
    m_deferred.clear();
    if (g_server == this)
        g_server = nullptr;
    m_running = false;
}

void CDDEServer::Status(const char *format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    WriteLog(line);
}

bool CDDEServer::CustomCallback(const Frame &, Frame &) {
    return false;
}

bool CDDEServer::Exec(std::string_view topic, std::string_view data) {
    CDDETopic *found = FindTopic(topic);
    return found && found->Exec(TextOfData(data));
}

bool CDDEServer::Request(uint32_t format, std::string_view topic, std::string_view item,
                         std::string &data) {
    CDDETopic *found = FindTopic(topic);
    return found && found->Request(item, format, data);
}

bool CDDEServer::Poke(uint32_t format, std::string_view topic, std::string_view item,
                      std::string_view data) {
    CDDETopic *found = FindTopic(topic);
    return found && found->Poke(item, format, data);
}

bool CDDEServer::AdviseData(uint32_t, CDDEConv &, std::string_view, std::string_view,
                            std::string_view) {
    return false;
}

bool CDDEServer::CanAdvise(uint32_t format, std::string_view topic, std::string_view item) {
    CDDETopic *found = FindTopic(topic);
    return found && found->CanAdvise(item, format);
}

void CDDEServer::AddTopic(std::shared_ptr<CDDETopic> topic) {
    topic->SetServer(this);
    m_topics.push_back(std::move(topic));
}

CDDETopic *CDDEServer::FindTopic(std::string_view name) const {
    for (const auto &topic : m_topics) {
        if (EqualNoCaseAscii(topic->Name(), name))
            return topic.get();
    }
    return nullptr;
}

void CDDEServer::Defer(std::function<void()> action) {
    m_deferred.push_back(std::move(action));
}

// ---- the event loop ----

void CDDEServer::Process() {
    if (!m_running || m_processing)
        return; // a message box's own loop may call again while a transaction is handled
    m_processing = true;
    epoll_event events[64];
    const int count = ::epoll_wait(m_epoll.Get(), events, 64, 0);
    for (int i = 0; i < count && m_running; ++i) {
        const uint64_t key = events[i].data.u64;
        if (key == kListenerKey) {
            Accept();
            continue;
        }
        if (key == kWakeKey) {
            uint64_t value = 0;
            (void)!::read(m_wake.Get(), &value, sizeof value);
            continue;
        }
        const auto found = m_connections.find(key);
        if (found == m_connections.end() || found->second->closed)
            continue;
        Connection &connection = *found->second;
        if (events[i].events & EPOLLOUT)
            Flush(connection);
        if (!connection.closed && (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
            Receive(connection);
    }
    if (m_running)
        CutIdle();
    RemoveClosed();
    m_processing = false;
    if (m_shutdownRequested)
        Shutdown();
    RunDeferred();
}

int CDDEServer::MillisecondsToNextDeadline() const {
    if (!m_running)
        return -1;
    const Clock::time_point now = Clock::now();
    long long best = -1;
    for (const auto &[id, connection] : m_connections) {
        if (!connection->hasDeadline || connection->closed)
            continue;
        const long long left = std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(connection->deadline - now)
                       .count() +
                   1);
        best = best < 0 ? left : std::min(best, left);
    }
    return static_cast<int>(best);
}

bool CDDEServer::Poll(int timeoutMs) {
    if (!m_running)
        return false;
    const int deadline = MillisecondsToNextDeadline();
    const int wait =
        deadline >= 0 && (timeoutMs < 0 || deadline < timeoutMs) ? deadline : timeoutMs;
    pollfd waiting{m_epoll.Get(), POLLIN, 0};
    if (::poll(&waiting, 1, wait) < 0 && errno != EINTR)
        return false;
    Process();
    return m_running;
}

void CDDEServer::Run() {
    while (!m_stop && Poll(1000)) {
    }
    Process(); // what was sent before Stop() is still handled
}

void CDDEServer::Stop() {
    m_stop = true;
    const uint64_t one = 1;
    if (m_wake.Valid())
        (void)!::write(m_wake.Get(), &one, sizeof one);
}

void CDDEServer::Accept() {
    // A bounded number per call, so that a flood does not hold up the window.
    for (int i = 0; i < 64; ++i) {
        UniqueFd fd(::accept4(m_listener.Fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.Valid()) {
            if (errno != EAGAIN && errno != EINTR)
                Status("Cannot accept a connection: %s", std::strerror(errno));
            return;
        }
        uid_t peer = 0;
        if (!PeerIsOurUser(fd.Get(), peer)) {
            Status("Connection from user %u refused", static_cast<unsigned>(peer));
            continue;
        }
        if (m_connections.size() >= kMaxConnections) {
            Status("Connection refused: %zu connections are open", m_connections.size());
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->id = m_nextConnection++;
        connection->fd = std::move(fd);
        connection->deadline = Clock::now() + std::chrono::milliseconds(kIdleCutMs);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = connection->id;
        ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_ADD, connection->fd.Get(), &event);
        m_connections.emplace(connection->id, std::move(connection));
    }
}

void CDDEServer::Receive(Connection &connection) {
    char buffer[64 * 1024];
    const ssize_t got = ::recv(connection.fd.Get(), buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        PeerDisconnected(connection);
        return;
    }
    connection.reader.Feed(buffer, static_cast<size_t>(got));
    Frame frame;
    while (!connection.closed && m_running) {
        const FrameReader::Status status = connection.reader.Next(frame);
        if (status == FrameReader::Status::NeedMore)
            break;
        if (status == FrameReader::Status::Broken) {
            Cut(connection, connection.reader.Error());
            return;
        }
        Dispatch(connection, frame);
    }
    if (!connection.closed)
        UpdateDeadline(connection);
}

void CDDEServer::UpdateDeadline(Connection &connection) {
    // A conversation may rest between transactions, but a frame must arrive whole in time,
    // and a connection must open a conversation in time.
    const bool waiting = !connection.conv || connection.reader.Pending() > 0;
    if (!waiting) {
        connection.hasDeadline = false;
        return;
    }
    if (!connection.hasDeadline) {
        connection.hasDeadline = true;
        connection.deadline = Clock::now() + std::chrono::milliseconds(kIdleCutMs);
    }
}

void CDDEServer::CutIdle() {
    const Clock::time_point now = Clock::now();
    for (auto &[id, connection] : m_connections) {
        if (!connection->closed && connection->hasDeadline && now >= connection->deadline)
            Cut(*connection, "nothing complete received for " + std::to_string(kIdleCutMs) + " ms");
    }
}

void CDDEServer::SendTo(Connection &connection, const std::string &bytes) {
    if (connection.closed)
        return;
    if (connection.output.size() + bytes.size() > kMaxPendingOutputBytes) {
        Cut(connection, "the peer does not read its answers");
        return;
    }
    connection.output += bytes;
    Flush(connection);
}

void CDDEServer::Flush(Connection &connection) {
    while (!connection.output.empty()) {
        const ssize_t sent = ::send(connection.fd.Get(), connection.output.data(),
                                    connection.output.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            connection.output.erase(0, static_cast<size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno == EAGAIN)
            break;
        PeerDisconnected(connection);
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN | (connection.output.empty() ? 0u : static_cast<uint32_t>(EPOLLOUT));
    event.data.u64 = connection.id;
    ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_MOD, connection.fd.Get(), &event);
    if (connection.output.empty() && connection.closeAfterFlush)
        CloseConnection(connection.id, false);
}

void CDDEServer::Answer(Connection &connection, DdeAnswer kind, std::string_view data,
                        uint32_t format) {
    const std::string topic = connection.conv ? connection.conv->Topic() : std::string();
    SendTo(connection, EncodeFrame(static_cast<uint16_t>(kind), topic, {}, format, data));
}

void CDDEServer::Cut(Connection &connection, const std::string &why) {
    Status("Connection %llu cut: %s", static_cast<unsigned long long>(connection.id), why.c_str());
    CloseConnection(connection.id, false);
}

void CDDEServer::PeerDisconnected(Connection &connection) {
    if (connection.conv) {
        Status("Callback %4.4XH", static_cast<unsigned>(DdeTransaction::Disconnect));
        connection.conv->OnDisconnected();
        Status("Disconnect");
    }
    CloseConnection(connection.id, false);
}

void CDDEServer::CloseConnection(uint64_t id, bool tellPeer) {
    const auto found = m_connections.find(id);
    if (found == m_connections.end() || found->second->closed)
        return;
    Connection &connection = *found->second;
    if (tellPeer && connection.fd.Valid()) {
        const std::string bye = EncodeFrame(
            static_cast<uint16_t>(DdeTransaction::Disconnect),
            connection.conv ? connection.conv->Topic() : std::string(), {}, kCfText, {});
        (void)!::send(connection.fd.Get(), bye.data(), bye.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    if (connection.conv) {
        Forget(connection.conv.get());
        connection.conv->m_connected = false;
    }
    if (m_epoll.Valid() && connection.fd.Valid())
        ::epoll_ctl(m_epoll.Get(), EPOLL_CTL_DEL, connection.fd.Get(), nullptr);
    connection.fd.Reset();
    connection.closed = true; // removed at the end of Process, never under a caller's feet
}

void CDDEServer::Forget(CDDEConv *conv) {
    m_conversations.erase(std::remove(m_conversations.begin(), m_conversations.end(), conv),
                          m_conversations.end());
}

void CDDEServer::RemoveClosed() {
    for (auto it = m_connections.begin(); it != m_connections.end();)
        it = it->second->closed ? m_connections.erase(it) : std::next(it);
}

void CDDEServer::RunDeferred() {
    while (!m_deferred.empty() && m_running) {
        std::function<void()> action = std::move(m_deferred.front());
        m_deferred.erase(m_deferred.begin());
        action();
    }
}

// ---- transactions ----

void CDDEServer::Dispatch(Connection &connection, const Frame &frame) {
    Status("Callback %4.4XH", static_cast<unsigned>(frame.kind));
    if (HoldsNul(frame.topic) || HoldsNul(frame.item)) {
        // A string handle's text ends at its NUL; a name that holds one names nothing here.
        Status("Transaction %4.4XH refused: a name holds a NUL byte",
               static_cast<unsigned>(frame.kind));
        Answer(connection, DdeAnswer::Nack);
        return;
    }
    if (connection.conv)
        DispatchConversation(connection, frame);
    else
        DispatchOpening(connection, frame);
}

void CDDEServer::DispatchOpening(Connection &connection, const Frame &frame) {
    const auto kind = static_cast<DdeTransaction>(frame.kind);
    if (kind == DdeTransaction::WildConnect) {
        WildConnectAnswer(connection, frame);
        return;
    }
    if (kind != DdeTransaction::Connect) {
        Status("Transaction %4.4XH refused: no conversation", static_cast<unsigned>(frame.kind));
        Answer(connection, DdeAnswer::Nack);
        return;
    }
    CDDETopic *topic = FindTopic(frame.topic);
    if (!topic || !EqualNoCaseAscii(frame.item, m_service)) {
        Status("Connect to %s|%s refused", LogText(frame.item).c_str(),
               LogText(frame.topic).c_str());
        Answer(connection, DdeAnswer::Nack);
        connection.closeAfterFlush = true;
        Flush(connection);
        return;
    }
    connection.conv.reset(new CDDEConv(this, connection.id, m_service, topic->Name()));
    Answer(connection, DdeAnswer::Ack);
    Status("Callback %4.4XH", static_cast<unsigned>(DdeTransaction::ConnectConfirm));
    Status("Connect to %s", LogText(topic->Name()).c_str());
    connection.conv->m_connected = true;
    m_conversations.push_back(connection.conv.get());
}

void CDDEServer::WildConnectAnswer(Connection &connection, const Frame &frame) {
    // The item names the service asked for; another service's wild connect gets nothing.
    connection.closeAfterFlush = true; // a wild connect opens no conversation
    if (!frame.item.empty() && !EqualNoCaseAscii(frame.item, m_service)) {
        Answer(connection, DdeAnswer::Nack);
        Flush(connection);
        return;
    }
    std::string pairs;
    auto addPair = [&pairs, this](const std::string &topic) {
        pairs += m_service + '\0' + topic + '\0';
    };
    if (frame.topic.empty()) {
        Status("Wild connect to %s", LogText(frame.topic).c_str());
        for (const auto &topic : m_topics)
            addPair(topic->Name());
    } else if (CDDETopic *topic = FindTopic(frame.topic)) {
        Status("Wild connect to %s", LogText(frame.topic).c_str());
        addPair(topic->Name());
    } else {
        Status("Wild connect to %s refused", LogText(frame.topic).c_str());
        Answer(connection, DdeAnswer::Nack);
        Flush(connection);
        return;
    }
    pairs.append(2, '\0');
    Answer(connection, DdeAnswer::Data, pairs);
    Flush(connection);
}

void CDDEServer::DispatchConversation(Connection &connection, const Frame &frame) {
    CDDEConv &conv = *connection.conv;
    switch (static_cast<DdeTransaction>(frame.kind)) {
    case DdeTransaction::Execute:
        HandleExecute(connection, frame);
        return;
    case DdeTransaction::Request:
        HandleRequest(connection, frame, false);
        return;
    case DdeTransaction::Poke:
        HandlePoke(connection, frame);
        return;
    case DdeTransaction::AdviseStart:
        if (!CanAdvise(frame.format, conv.Topic(), frame.item)) {
            Status("Can't advise on %s|%s", LogText(conv.Topic()).c_str(),
                   LogText(frame.item).c_str());
            Answer(connection, DdeAnswer::Nack);
            return;
        }
        conv.m_advised.insert(Lower(frame.item));
        Answer(connection, DdeAnswer::Ack);
        return;
    case DdeTransaction::AdviseStop:
        Answer(connection,
               conv.m_advised.erase(Lower(frame.item)) ? DdeAnswer::Ack : DdeAnswer::Nack);
        return;
    case DdeTransaction::Disconnect:
        PeerDisconnected(connection);
        return;
    default:
        break;
    }
    Frame answer;
    if (CustomCallback(frame, answer)) {
        SendTo(connection, EncodeFrame(answer));
        return;
    }
    Status("Transaction %4.4XH not handled", static_cast<unsigned>(frame.kind));
    Answer(connection, DdeAnswer::Nack);
}

void CDDEServer::HandleExecute(Connection &connection, const Frame &frame) {
    Status("Exec");
    const std::string_view command = TextOfData(frame.data);
    if (command.size() + 1 < frame.data.size())
        Status("Exec data cut at its first NUL byte (%zu of %zu bytes)", command.size(),
               frame.data.size());
    if (!Exec(connection.conv->Topic(), frame.data)) {
        Status("Exec failed");
        Answer(connection, DdeAnswer::Nack);
        return;
    }
    Answer(connection, DdeAnswer::Ack);
}

void CDDEServer::HandleRequest(Connection &connection, const Frame &frame, bool advise) {
    const std::string &topic = connection.conv->Topic();
    Status("Request %s|%s", LogText(topic).c_str(), LogText(frame.item).c_str());
    std::string data;
    if (!Request(frame.format, topic, frame.item, data)) {
        Status(advise ? "AdviseData %s|%s failed" : "Request %s|%s failed", LogText(topic).c_str(),
               LogText(frame.item).c_str());
        if (!advise)
            Answer(connection, DdeAnswer::Nack);
        return;
    }
    if (data.size() > kMaxDataBytes) {
        Status("Request %s|%s failed: %zu bytes of data", LogText(topic).c_str(),
               LogText(frame.item).c_str(), data.size());
        if (!advise)
            Answer(connection, DdeAnswer::Nack);
        return;
    }
    if (advise) {
        SendTo(connection, EncodeFrame(static_cast<uint16_t>(DdeTransaction::AdviseData), topic,
                                       frame.item, frame.format, data));
        return;
    }
    Answer(connection, DdeAnswer::Data, data, frame.format);
}

void CDDEServer::HandlePoke(Connection &connection, const Frame &frame) {
    const std::string &topic = connection.conv->Topic();
    if (!Poke(frame.format, topic, frame.item, frame.data)) {
        Status("Poke %s|%s failed", LogText(topic).c_str(), LogText(frame.item).c_str());
        Answer(connection, DdeAnswer::Nack);
        return;
    }
    Answer(connection, DdeAnswer::Ack);
    PostAdvise(topic, frame.item, connection.conv.get());
}

void CDDEServer::PostAdvise(std::string_view topic, std::string_view item, const CDDEConv *except) {
    const std::string lowerItem = Lower(item);
    for (auto &[id, connection] : m_connections) {
        CDDEConv *conv = connection->conv.get();
        if (connection->closed || !conv || conv == except ||
            !EqualNoCaseAscii(conv->Topic(), topic) || !conv->m_advised.count(lowerItem))
            continue;
        Status("Callback %4.4XH", static_cast<unsigned>(DdeTransaction::AdviseRequest));
        Frame request;
        request.kind = static_cast<uint16_t>(DdeTransaction::AdviseRequest);
        request.item = std::string(item);
        request.format = kCfText;
        HandleRequest(*connection, request, true);
    }
}

} // namespace vespario::link
