#include "link/ddeconv.h"

#include "link/ddeserver.h"

#include <cstdio>
#include <filesystem>

#include <sys/socket.h>

namespace vespario::link {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

Clock::time_point TransactionDeadline() {
    return Clock::now() + std::chrono::milliseconds(kTransactionTimeoutMs);
}

uint16_t Kind(DdeTransaction transaction) {
    return static_cast<uint16_t>(transaction);
}

bool IsAnswer(uint16_t kind) {
    return kind == static_cast<uint16_t>(DdeAnswer::Ack) ||
           kind == static_cast<uint16_t>(DdeAnswer::Nack) ||
           kind == static_cast<uint16_t>(DdeAnswer::Data);
}

} // namespace

bool NobodyAnswered(uint32_t error) {
    return error == kDmlErrNoConvEstablished || error == kDmlErrAdviseAckTimeout ||
           error == kDmlErrDataAckTimeout || error == kDmlErrExecAckTimeout ||
           error == kDmlErrPokeAckTimeout || error == kDmlErrServerDied;
}

CDDEConv::CDDEConv(CDDEServer *server, uint64_t connection, std::string service, std::string topic)
    : m_server(server), m_connection(connection), m_service(std::move(service)),
      m_topic(std::move(topic)) {}

CDDEConv::~CDDEConv() {
    if (m_connection == 0)
        Disconnect();
}

void CDDEConv::Log(const char *format, const char *a, const char *b, uint32_t error) const {
    char line[1024];
    std::snprintf(line, sizeof line, format, a, b, error);
    if (m_server)
        m_server->Status("%s", line);
    else
        WriteLog(line);
}

bool CDDEConv::Fail(uint32_t error) {
    m_lastError = error;
    return false;
}

bool CDDEConv::ConnectTo(std::string_view service, std::string_view topic) {
    if (m_connected || m_connection != 0)
        return Fail(kDmlErrInvalidParameter);
    m_service = std::string(service);
    m_topic = std::string(topic);
    m_reader = FrameReader();
    std::string error;
    const ConnectOutcome outcome = ConnectToService(service, m_fd, error);
    uint32_t code = kDmlErrNoConvEstablished;
    if (outcome == ConnectOutcome::Failed)
        code = kDmlErrSysError;
    if (outcome == ConnectOutcome::Connected) {
        Frame request;
        request.kind = Kind(DdeTransaction::Connect);
        request.topic = m_topic;
        request.item = m_service;
        Frame answer;
        // The socket is connected for the time of the transaction.
        m_connected = true;
        const bool answered = Transact(request, kDmlErrNoConvEstablished, answer);
        m_connected = false;
        if (answered && answer.kind == static_cast<uint16_t>(DdeAnswer::Ack)) {
            m_connected = true;
            m_lastError = 0;
            if (m_server)
                m_server->m_conversations.push_back(this);
            return true;
        }
        code = answered ? kDmlErrNotProcessed : m_lastError;
        error.clear();
    }
    m_fd.Reset();
    Log("Failed to connect to %s|%s. Error %u", LogText(service).c_str(), LogText(topic).c_str(),
        code);
    if (!error.empty())
        WriteLog(error);
    return Fail(code);
}

bool CDDEConv::Disconnect() {
    if (!m_connected)
        return false;
    if (m_connection != 0) {
        m_server->CloseConnection(m_connection, true);
        return true;
    }
    const std::string bye = EncodeFrame(Kind(DdeTransaction::Disconnect), m_topic, {}, kCfText, {});
    (void)SendAll(m_fd.Get(), bye, TransactionDeadline());
    Drop();
    return true;
}

void CDDEConv::Drop() {
    m_fd.Reset();
    m_connected = false;
    m_advised.clear();
    if (m_server)
        m_server->Forget(this);
}

bool CDDEConv::Transact(const Frame &request, uint32_t timeoutError, Frame &answer) {
    if (!m_connected || m_connection != 0)
        return Fail(kDmlErrNoConvEstablished);
    const Clock::time_point deadline = TransactionDeadline();
    if (!SendAll(m_fd.Get(), EncodeFrame(request), deadline))
        return Fail(timeoutError);
    for (;;) {
        switch (ReadFrame(m_fd.Get(), m_reader, answer, deadline)) {
        case ReadOutcome::TimedOut:
            return Fail(timeoutError);
        case ReadOutcome::Closed:
        case ReadOutcome::Broken:
            Drop();
            OnDisconnected();
            return Fail(kDmlErrServerDied);
        case ReadOutcome::Frame:
            break;
        }
        if (IsAnswer(answer.kind))
            return true;
        HandleUnasked(answer);
        if (!m_connected)
            return Fail(kDmlErrServerDied);
    }
}

void CDDEConv::HandleUnasked(const Frame &frame) {
    if (frame.kind == Kind(DdeTransaction::Disconnect)) {
        Drop();
        OnDisconnected();
        return;
    }
    if (frame.kind == Kind(DdeTransaction::AdviseData))
        (void)AdviseData(frame.format, frame.item, frame.data);
}

bool CDDEConv::ProcessIncoming(int timeoutMs) {
    if (!m_connected || m_connection != 0)
        return m_connected;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Frame frame;
    while (m_connected) {
        switch (ReadFrame(m_fd.Get(), m_reader, frame, deadline)) {
        case ReadOutcome::TimedOut:
            return true;
        case ReadOutcome::Closed:
        case ReadOutcome::Broken:
            Drop();
            OnDisconnected();
            return false;
        case ReadOutcome::Frame:
            HandleUnasked(frame);
            deadline = Clock::now(); // take what else has arrived, but wait no longer
            break;
        }
    }
    return false;
}

bool CDDEConv::AdviseData(uint32_t format, std::string_view item, std::string_view data) {
    return m_server && m_server->AdviseData(format, *this, m_topic, item, data);
}

bool CDDEConv::Request(std::string_view item, std::string &data) {
    data.clear();
    Frame request;
    request.kind = Kind(DdeTransaction::Request);
    request.topic = m_topic;
    request.item = std::string(item);
    Frame answer;
    if (!Transact(request, kDmlErrDataAckTimeout, answer))
        return false;
    if (answer.kind != static_cast<uint16_t>(DdeAnswer::Data))
        return Fail(kDmlErrNotProcessed);
    data = std::move(answer.data);
    return true;
}

bool CDDEConv::Advise(std::string_view item) {
    Frame request;
    request.kind = Kind(DdeTransaction::AdviseStart);
    request.topic = m_topic;
    request.item = std::string(item);
    Frame answer;
    if (!Transact(request, kDmlErrAdviseAckTimeout, answer))
        return false;
    if (answer.kind != static_cast<uint16_t>(DdeAnswer::Ack))
        return Fail(kDmlErrNotProcessed);
    m_advised.insert(Lower(item));
    return true;
}

bool CDDEConv::Exec(std::string_view command) {
    Frame request;
    request.kind = Kind(DdeTransaction::Execute);
    request.topic = m_topic;
    request.data = TextData(command);
    Frame answer;
    if (!Transact(request, kDmlErrExecAckTimeout, answer))
        return false;
    return answer.kind == static_cast<uint16_t>(DdeAnswer::Ack) || Fail(kDmlErrNotProcessed);
}

bool CDDEConv::Poke(uint32_t format, std::string_view item, std::string_view data) {
    Frame request;
    request.kind = Kind(DdeTransaction::Poke);
    request.topic = m_topic;
    request.item = std::string(item);
    request.format = format;
    request.data = std::string(data);
    Frame answer;
    if (!Transact(request, kDmlErrPokeAckTimeout, answer))
        return false;
    return answer.kind == static_cast<uint16_t>(DdeAnswer::Ack) || Fail(kDmlErrNotProcessed);
}

bool CDDEConv::IsAdvised(std::string_view item) const {
    return m_advised.count(Lower(item)) > 0;
}

std::vector<ServiceTopic> WildConnect(std::string_view service, std::string_view topic) {
    const std::string folder = SocketFolder();
    std::string error;
    if (!PrepareSocketFolder(folder, error)) {
        WriteLog(error);
        return {};
    }
    std::vector<std::string> sockets;
    if (!service.empty()) {
        sockets.push_back(SocketPath(folder, service));
    } else {
        // Every socket of the folder; the answers carry the services' own names.
        std::error_code failed;
        for (const auto &entry : std::filesystem::directory_iterator(folder, failed)) {
            if (entry.path().extension() == ".sock" && entry.is_socket(failed))
                sockets.push_back(entry.path().string());
        }
    }
    std::vector<ServiceTopic> pairs;
    for (const std::string &path : sockets) {
        UniqueFd fd;
        if (ConnectToPath(path, fd, error) != ConnectOutcome::Connected)
            continue;
        const Clock::time_point deadline = TransactionDeadline();
        if (!SendAll(fd.Get(),
                     EncodeFrame(Kind(DdeTransaction::WildConnect), topic, service, kCfText, {}),
                     deadline))
            continue;
        FrameReader reader;
        Frame answer;
        if (ReadFrame(fd.Get(), reader, answer, deadline) != ReadOutcome::Frame ||
            answer.kind != static_cast<uint16_t>(DdeAnswer::Data))
            continue;
        // Pairs of NUL-ended texts, closed by a pair of empty ones.
        std::string_view rest = answer.data;
        for (;;) {
            const size_t first = rest.find('\0');
            const size_t second =
                first == std::string_view::npos ? first : rest.find('\0', first + 1);
            if (second == std::string_view::npos || first == 0)
                break;
            pairs.push_back({std::string(rest.substr(0, first)),
                             std::string(rest.substr(first + 1, second - first - 1))});
            rest.remove_prefix(second + 1);
        }
    }
    return pairs;
}

} // namespace vespario::link
