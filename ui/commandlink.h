#pragma once
// The program's end of the conversation layer, bound to the Qt event loop: the hand-over
// of a start's command to the instance that runs already, then the server with the command
// topic, handled whenever its sockets need attention and at each connection's deadline, so
// that the window never waits for a peer.

#include "app/cvesparioapp.h"
#include "link/ddeserver.h"
#include "link/ddesocket.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace vespario::ui {

class CommandLink : public QObject, public InstanceLink {
    Q_OBJECT
public:
    explicit CommandLink(platform::Host &host, QObject *parent = nullptr);
    ~CommandLink() override;

    // --- InstanceLink ----------------------------------------------------------------------
    bool HandOver(const std::string &command) override;
    void StartCommandTopic(AppWindow &window) override;
    void StopCommandTopic() override;

    bool Serving() const { return m_server.IsRunning(); }

private:
    void Process();

    platform::Host &m_host;
    link::CDDEServer m_server;
    link::ServiceListener m_listener; // taken at the hand-over, served once the window is up
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_deadline; // cuts connections that idle
};

} // namespace vespario::ui
