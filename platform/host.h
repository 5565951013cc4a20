#pragma once
// What the core may ask of the user interface: message boxes, the beep, the status bar and
// the progress text. The window implements it with Qt; tests and vespario-cli use
// HeadlessHost, which records everything and answers from a script.

#include <string>
#include <string_view>

namespace vespario::platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Host {
public:
    virtual ~Host() = default;

    // A modal message box with the given buttons; returns the button pressed.
    virtual Answer MessageBox(std::string_view text, std::string_view title, Buttons buttons) = 0;

    // The common confirmation dialog: title "Are You Sure?", the text, a "Don't ask again"
    // box and Yes/No. Returns Yes or No and sets dontAskAgain to the state of the box.
    virtual Answer Confirm(std::string_view text, bool &dontAskAgain) = 0;

    virtual void Beep() = 0;

    // Plays one of the program's short sounds ("FROG_WAV", "CRICKET_WAV") without waiting;
    // where no sound can be played nothing happens and nothing is reported.
    virtual void PlaySound(std::string_view resource) { (void)resource; }

    // Status bar: pane 0 is the message text; panes 1 and up hold counters.
    virtual void SetStatusText(int pane, std::string_view text) = 0;
    // A counter pane drawn raised while the count is still rising (a selection pass runs).
    virtual void SetStatusRaised(int pane, bool raised) { (void)pane, (void)raised; }

    // Progress text with a percentage in the status bar; EndProgress removes it.
    virtual void Progress(std::string_view text, int percent) = 0;
    virtual void EndProgress() = 0;

    // Lets pending paint messages through during a long operation.
    virtual void PumpEvents() {}
};

} // namespace vespario::platform
