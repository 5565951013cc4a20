#include "link/commandtopic.h"

#include "link/ddeserver.h"
#include "link/ddesocket.h"
#include "platform/host.h"

#include <functional>

namespace vespario::link {

void SendCommandToWindow(CommandWindow &window, const std::string &id,
                         const std::string &position) {
    if (!id.empty())
        window.SendCommandToWindow(kCommandFindId, id);
    else
        window.SendCommandToWindow(kCommandPareNear, position);
}

std::optional<WindowCommand> ParseWindowCommand(std::string_view command) {
    // Only the five letters are compared: "RaDec=" and "radec:" are both positions.
    if (command.size() >= 5 && EqualNoCaseAscii(command.substr(0, 5), "RaDec"))
        return WindowCommand{kCommandPareNear, std::string(WithoutQuotes(
                                                   command.size() > 6 ? command.substr(6) : ""))};
    if (command.size() >= 3 && EqualNoCaseAscii(command.substr(0, 3), "ID="))
        return WindowCommand{kCommandFindId, std::string(WithoutQuotes(command.substr(3)))};
    return std::nullopt;
}

void CVesparioTopic::AfterAnswer(std::function<void()> action) {
    if (Server() && Server()->IsRunning())
        Server()->Defer(std::move(action));
    else
        action();
}

bool CVesparioTopic::Exec(std::string_view command) {
    std::optional<WindowCommand> parsed = ParseWindowCommand(command);
    if (!parsed) {
        const std::string text = "Unknown DDE string (" + std::string(command) + ") received";
        AfterAnswer([this, text] { m_host.MessageBox(text, kAppName, platform::Buttons::Ok); });
        return false;
    }
    // An empty ID stays a find: choosing by emptiness would turn "ID=" into a pare.
    AfterAnswer([this, command = std::move(*parsed)] {
        m_window.SendCommandToWindow(command.identifier, command.text);
    });
    return true;
}

} // namespace vespario::link
