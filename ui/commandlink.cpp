#include "ui/commandlink.h"

#include "link/commandtopic.h"
#include "link/singleinstance.h"

#include <QSocketNotifier>

namespace vespario::ui {

CommandLink::CommandLink(platform::Host &host, QObject *parent) : QObject(parent), m_host(host) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &CommandLink::Process);
}

CommandLink::~CommandLink() {
    StopCommandTopic();
}

bool CommandLink::HandOver(const std::string &command) {
    link::InstanceStart start = link::StartSingleInstance(command);
    if (start.outcome == link::StartOutcome::HandedOver)
        return true;
    m_listener = std::move(start.listener);
    if (!start.note.empty())
        link::WriteLog("Single instance: " + start.note);
    return false;
}

void CommandLink::StartCommandTopic(AppWindow &window) {
    // Without a hand-over the socket is claimed here; a claim that fails (another instance
    // serves, or the socket folder is unsafe) leaves this instance without its topic.
    if (!m_server.Create(link::kAppName, std::move(m_listener))) {
        link::WriteLog(std::string("Not serving ") + link::kAppName);
        return;
    }
    // The topic before the event loop runs again, so that no command finds it missing.
    m_server.AddTopic(std::make_shared<link::CVesparioTopic>(window, m_host));
    m_notifier = std::make_unique<QSocketNotifier>(m_server.NotifyFd(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CommandLink::Process);
    Process(); // a peer may have connected between the claim and now
}

void CommandLink::StopCommandTopic() {
    m_deadline.stop();
    m_notifier.reset();
    m_server.Shutdown();
}

void CommandLink::Process() {
    m_server.Process();
    if (!m_server.IsRunning()) {
        // Shut down from inside a transaction; the notifier may be the caller, so it is
        // only switched off here.
        if (m_notifier)
            m_notifier->setEnabled(false);
        m_deadline.stop();
        return;
    }
    const int wait = m_server.MillisecondsToNextDeadline();
    if (wait >= 0)
        m_deadline.start(wait);
    else
        m_deadline.stop();
}

} // namespace vespario::ui
