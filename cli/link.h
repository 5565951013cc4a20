#pragma once
// vespario-cli send and request: drive a running Vespario (or any service of the
// conversation layer) from a shell.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "send" [--service NAME] [--topic NAME] COMMAND, or "request" [--service NAME]
// [--topic NAME] ITEM. The service defaults to "Vespario", the topic to "Vespario" for send
// and to "System" for request. send executes COMMAND; request prints the item's text on one
// line. Returns 0 when the service acknowledged, 1 when it refused, 2 when nobody answered
// within the time-out or the command line is wrong.
int RunLink(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
