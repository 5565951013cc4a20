#pragma once
// A Host without a window, for the tests and vespario-cli: it records every call in order,
// answers message boxes and confirmations from a script, and can echo each message text to a
// stream as it is shown.

#include "platform/host.h"

#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::platform {

enum class HostEventKind { MessageBox, Confirm, Beep, StatusText, Progress, EndProgress, Sound };

// One recorded call. Only the members that belong to the kind are set: text and title for
// message boxes (a confirmation's title is "Are You Sure?"), buttons and answer for both
// boxes, dontAskAgain for confirmations, pane and text for status texts, text and percent for
// progress, text for sounds (the resource name).
struct HostEvent {
    HostEventKind kind = HostEventKind::Beep;
    std::string text;
    std::string title;
    Buttons buttons = Buttons::Ok;
    Answer answer = Answer::Ok;
    bool dontAskAgain = false;
    int pane = 0;
    int percent = 0;
};

class HeadlessHost : public Host {
public:
    static constexpr std::string_view kConfirmTitle = "Are You Sure?";

    Answer MessageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    Answer Confirm(std::string_view text, bool &dontAskAgain) override;
    void Beep() override;
    void PlaySound(std::string_view resource) override;
    // The sounds played, in order.
    std::vector<std::string> Sounds() const;
    void SetStatusText(int pane, std::string_view text) override;
    void Progress(std::string_view text, int percent) override;
    void EndProgress() override;
    void PumpEvents() override { ++m_pumpCount; }

    // The script: each message box and each confirmation takes the next entry. An answer
    // that is not one of the box's buttons, and an empty script, give the first button
    // (Ok or Yes) and a cleared "Don't ask again" box.
    void QueueAnswer(Answer answer);
    void QueueConfirm(Answer answer, bool dontAskAgain);
    size_t PendingAnswers() const { return m_script.size(); }

    // Every message box and confirmation text is written to echo, one per line, as it is
    // shown; nullptr stops the echo.
    void SetEcho(std::ostream *echo) { m_echo = echo; }

    const std::vector<HostEvent> &Events() const { return m_events; }
    // The texts of the message boxes and confirmations, in the order shown.
    const std::vector<std::string> &Messages() const { return m_messages; }
    // The last text set for a status bar pane; empty when none was set.
    std::string StatusText(int pane) const;
    void SetStatusRaised(int pane, bool raised) override { m_raised[pane] = raised; }
    bool StatusRaised(int pane) const {
        const auto it = m_raised.find(pane);
        return it != m_raised.end() && it->second;
    }
    int BeepCount() const { return m_beepCount; }
    // The progress text shown now; empty after EndProgress.
    const std::string &ProgressText() const { return m_progressText; }
    int ProgressPercent() const { return m_progressPercent; }
    // PumpEvents is counted, not recorded: long operations call it very often.
    long PumpCount() const { return m_pumpCount; }

    // Forgets everything recorded and the script; the echo stays.
    void Clear();

private:
    struct ScriptEntry {
        Answer answer;
        bool dontAskAgain;
    };

    std::map<int, bool> m_raised;
    ScriptEntry NextScripted(Answer firstButton);
    void ShowText(std::string_view text);

    std::deque<ScriptEntry> m_script;
    std::vector<HostEvent> m_events;
    std::vector<std::string> m_messages;
    std::map<int, std::string> m_status;
    std::string m_progressText;
    int m_progressPercent = 0;
    int m_beepCount = 0;
    long m_pumpCount = 0;
    std::ostream *m_echo = nullptr;
};

} // namespace vespario::platform
