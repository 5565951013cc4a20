#include "link/singleinstance.h"

#include "link/ddeconv.h"

namespace vespario::link {
namespace {

// The value after "name" at the start of arg, without regard to case.
bool TakeFlag(std::string_view arg, std::string_view name, std::string &value) {
    if (arg.size() < name.size() || !EqualNoCaseAscii(arg.substr(0, name.size()), name))
        return false;
    value = WithoutQuotes(arg.substr(name.size()));
    return true;
}

} // namespace

CommandLineFlags ParseCommandLineFlags(const std::vector<std::string> &args) {
    CommandLineFlags flags;
    for (const std::string &arg : args) {
        const bool isSwitch = !arg.empty() && (arg[0] == '/' || arg[0] == '-');
        const std::string_view flag = isSwitch ? std::string_view(arg).substr(1) : arg;
        if (TakeFlag(flag, "ID=", flags.id)) {
            flags.idGiven = true;
            continue;
        }
        if (TakeFlag(flag, "RaDec=", flags.position)) {
            flags.positionGiven = true;
            continue;
        }
        (isSwitch ? flags.switches : flags.files).push_back(arg);
    }
    return flags;
}

std::string HandOverCommand(const CommandLineFlags &flags) {
    if (!flags.id.empty())
        return "ID=" + flags.id;
    return "RaDec=" + flags.position;
}

InstanceStart StartSingleInstance(const std::vector<std::string> &args, std::string_view service) {
    InstanceStart start;
    start.flags = ParseCommandLineFlags(args);
    ServiceClaim claim = ClaimService(service);
    if (claim.listener.Valid()) {
        start.listener = std::move(claim.listener);
        return start;
    }
    if (!claim.live) {
        start.note = claim.error;
        return start;
    }
    const bool handOver =
        (start.flags.idGiven || start.flags.positionGiven) && start.flags.files.empty();
    if (!handOver) {
        start.note = "another instance serves " + std::string(service);
        return start;
    }
    CDDEConv conv;
    if (conv.ConnectTo(service, service) && conv.Exec(HandOverCommand(start.flags))) {
        conv.Disconnect();
        start.outcome = StartOutcome::HandedOver;
        return start;
    }
    start.note = "the running instance did not take the command (error " +
                 std::to_string(conv.LastError()) + ")";
    return start;
}

} // namespace vespario::link
