#pragma once
// The program's command topic: other programs, scripts and a second start of the program
// send "ID=..." to show an object and "RaDec=..." to pare the list to a position.

#include "link/ddetopic.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vespario::platform {
class Host;
}

namespace vespario::link {

// The service and command topic of the program: both the application name.
inline constexpr const char *kAppName = "Vespario";

// What the command topic tells the main window.
inline constexpr int kCommandFindId = 0;   // the data is an object ID
inline constexpr int kCommandPareNear = 1; // the data is a position, optionally ",distance"

// The main frame, as the command topic sees it: it brings itself to the front and finds
// the object (identifier 0) or pares the list to the objects near the position (1).
class CommandWindow {
public:
    virtual ~CommandWindow() = default;
    virtual void SendCommandToWindow(int identifier, const std::string &text) = 0;
};

// The ID when it is not empty (identifier 0), else the position (identifier 1).
void SendCommandToWindow(CommandWindow &window, const std::string &id, const std::string &position);

struct WindowCommand {
    int identifier = kCommandFindId;
    std::string text;
};

// "RaDec" in any case as the first five characters: a position from the seventh character
// on; else "ID=" in any case: an ID from the fourth character on; else nothing.
std::optional<WindowCommand> ParseWindowCommand(std::string_view command);

// The topic "Vespario". A command it understands is acknowledged and then handed to the
// window; anything else is shown as "Unknown DDE string (%s) received" and answered as not
// processed. Both happen after the answer has been sent, so the sender does not wait for
// the window.
class CVesparioTopic : public CDDETopic {
public:
    CVesparioTopic(CommandWindow &window, platform::Host &host)
        : CDDETopic(kAppName), m_window(window), m_host(host) {}

    bool Exec(std::string_view command) override;

private:
    void AfterAnswer(std::function<void()> action);

    CommandWindow &m_window;
    platform::Host &m_host;
};

} // namespace vespario::link
