#pragma once
// The single running instance. The program's start calls StartSingleInstance with the
// command its command line asks for ("ID=..." or "RaDec=...", when the line names an ID or
// a position and no file; empty otherwise): when another instance serves the program's
// service, the command goes to that instance and this one ends at once, silently, with exit
// status 0. Otherwise this instance starts, holding the service's socket for its server.

#include "link/commandtopic.h"
#include "link/ddesocket.h"

#include <string>
#include <string_view>

namespace vespario::link {

enum class StartOutcome {
    HandedOver, // the running instance took the command: exit 0 without a window
    Serve,      // start the window
};

struct InstanceStart {
    StartOutcome outcome = StartOutcome::Serve;
    // The service's socket, taken for this instance: hand it to CDDEServer::Create. Not
    // valid when another instance keeps the service (then this one runs without its
    // command topic) or when the socket folder is unsafe; note says why.
    ServiceListener listener;
    std::string note;
};

// A socket whose instance has crashed (nobody listens) is removed and taken over. A running
// instance that does not take the command within the time-out leaves this one to start
// and show the object itself.
InstanceStart StartSingleInstance(std::string_view command, std::string_view service = kAppName);

} // namespace vespario::link
