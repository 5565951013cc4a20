#include "cli/link.h"

#include "link/commandtopic.h"
#include "link/ddeconv.h"

#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char *kLinkUsage =
    "usage: vespario-cli send [--service NAME] [--topic NAME] COMMAND\n"
    "       vespario-cli request [--service NAME] [--topic NAME] ITEM\n";

struct LinkLine {
    std::string service = link::kAppName;
    std::string topic;
    std::string operand;
};

bool ParseLinkLine(const std::vector<std::string> &words, LinkLine &line) {
    line.topic = words[0] == "send" ? link::kAppName : "System";
    bool operandGiven = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (word == "--service" || word == "--topic") {
            if (i + 1 >= words.size())
                return false;
            (word == "--service" ? line.service : line.topic) = words[++i];
            continue;
        }
        if (operandGiven)
            return false;
        line.operand = word;
        operandGiven = true;
    }
    return operandGiven && !line.service.empty();
}

// 2 when nobody answered in time, 1 when the service refused.
int Failure(const link::CDDEConv &conv, const LinkLine &line, std::ostream &err) {
    if (link::NobodyAnswered(conv.LastError()) || conv.LastError() == link::kDmlErrSysError) {
        err << "no answer from " << line.service << "|" << line.topic
            << " (nobody serves it, or it did not answer within " << link::kTransactionTimeoutMs
            << " ms)\n";
        return 2;
    }
    err << line.service << "|" << line.topic << " refused\n";
    return 1;
}

} // namespace

int RunLink(const Options &options, std::ostream &out, std::ostream &err) {
    LinkLine line;
    if (!ParseLinkLine(options.words, line)) {
        err << kLinkUsage;
        return 2;
    }
    link::CDDEConv conv;
    if (!conv.ConnectTo(line.service, line.topic))
        return Failure(conv, line, err);
    if (options.words[0] == "send") {
        if (!conv.Exec(line.operand))
            return Failure(conv, line, err);
        conv.Disconnect();
        return 0;
    }
    std::string data;
    if (!conv.Request(line.operand, data))
        return Failure(conv, line, err);
    conv.Disconnect();
    out << link::TextOfData(data) << "\n";
    return 0;
}

} // namespace vespario::cli
