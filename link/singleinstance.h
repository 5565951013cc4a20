#pragma once
// The single running instance. The program's main calls StartSingleInstance first, with
// its command line (the arguments after the program name, once the toolkit has taken its
// own options out): when another instance serves the program's service and the line
// names an ID or a position and no file, the command goes to that instance and this one
// ends at once, silently, with exit status 0. Otherwise this instance starts, holding the
// service's socket for its server.

#include "link/commandtopic.h"
#include "link/ddesocket.h"

#include <string>
#include <string_view>
#include <vector>

namespace vespario::link {

// The flags "ID=" and "RaDec=" (after "/" or "-", or bare; compared without regard to
// case) and the other arguments.
struct CommandLineFlags {
    std::string id;       // quotes removed
    std::string position; // quotes removed; may end with ",distance"
    bool idGiven = false;
    bool positionGiven = false;
    std::vector<std::string> files;    // arguments that are neither flags nor switches
    std::vector<std::string> switches; // other arguments that begin with "/" or "-"
};

CommandLineFlags ParseCommandLineFlags(const std::vector<std::string> &args);

// The command a second instance sends: "ID=..." when an ID was given, else "RaDec=...".
std::string HandOverCommand(const CommandLineFlags &flags);

enum class StartOutcome {
    HandedOver, // the running instance took the command: exit 0 without a window
    Serve,      // start the window
};

struct InstanceStart {
    StartOutcome outcome = StartOutcome::Serve;
    CommandLineFlags flags;
    // The service's socket, taken for this instance: hand it to CDDEServer::Create. Not
    // valid when another instance keeps the service (then this one runs without its
    // command topic) or when the socket folder is unsafe; note says why.
    ServiceListener listener;
    std::string note;
};

// A socket whose instance has crashed (nobody listens) is removed and taken over. A running
// instance that does not take the command within the time-out leaves this one to start
// and show the object itself.
InstanceStart StartSingleInstance(const std::vector<std::string> &args,
                                  std::string_view service = kAppName);

} // namespace vespario::link
