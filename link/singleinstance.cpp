#include "link/singleinstance.h"

#include "link/ddeconv.h"

namespace vespario::link {

InstanceStart StartSingleInstance(std::string_view command, std::string_view service) {
    InstanceStart start;
    ServiceClaim claim = ClaimService(service);
    if (claim.listener.Valid()) {
        start.listener = std::move(claim.listener);
        return start;
    }
    if (!claim.live) {
        start.note = claim.error;
        return start;
    }
    if (command.empty()) {
        start.note = "another instance serves " + std::string(service);
        return start;
    }
    CDDEConv conv;
    if (conv.ConnectTo(service, service) && conv.Exec(std::string(command))) {
        conv.Disconnect();
        start.outcome = StartOutcome::HandedOver;
        return start;
    }
    start.note = "the running instance did not take the command (error " +
                 std::to_string(conv.LastError()) + ")";
    return start;
}

} // namespace vespario::link
