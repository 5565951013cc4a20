#include "platform/headlesshost.h"

namespace vespario::platform {

namespace {

bool IsButtonOf(Answer answer, Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return answer == Answer::Ok;
    case Buttons::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    }
    return false;
}

Answer FirstButton(Buttons buttons) {
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

} // namespace

HeadlessHost::ScriptEntry HeadlessHost::NextScripted(Answer firstButton) {
    if (m_script.empty())
        return {firstButton, false};
    const ScriptEntry entry = m_script.front();
    m_script.pop_front();
    return entry;
}

void HeadlessHost::ShowText(std::string_view text) {
    m_messages.emplace_back(text);
    if (m_echo)
        *m_echo << text << '\n';
}

Answer HeadlessHost::MessageBox(std::string_view text, std::string_view title, Buttons buttons) {
    const Answer first = FirstButton(buttons);
    Answer answer = NextScripted(first).answer;
    if (!IsButtonOf(answer, buttons))
        answer = first;
    HostEvent event;
    event.kind = HostEventKind::MessageBox;
    event.text = text;
    event.title = title;
    event.buttons = buttons;
    event.answer = answer;
    m_events.push_back(std::move(event));
    ShowText(text);
    return answer;
}

Answer HeadlessHost::Confirm(std::string_view text, bool &dontAskAgain) {
    ScriptEntry entry = NextScripted(Answer::Yes);
    if (!IsButtonOf(entry.answer, Buttons::YesNo))
        entry = {Answer::Yes, false};
    dontAskAgain = entry.dontAskAgain;
    HostEvent event;
    event.kind = HostEventKind::Confirm;
    event.text = text;
    event.title = kConfirmTitle;
    event.buttons = Buttons::YesNo;
    event.answer = entry.answer;
    event.dontAskAgain = entry.dontAskAgain;
    m_events.push_back(std::move(event));
    ShowText(text);
    return entry.answer;
}

void HeadlessHost::Beep() {
    ++m_beepCount;
    m_events.push_back(HostEvent{});
}

void HeadlessHost::PlaySound(std::string_view resource) {
    HostEvent event;
    event.kind = HostEventKind::Sound;
    event.text = std::string(resource);
    m_events.push_back(std::move(event));
}

std::vector<std::string> HeadlessHost::Sounds() const {
    std::vector<std::string> sounds;
    for (const HostEvent &e : m_events)
        if (e.kind == HostEventKind::Sound)
            sounds.push_back(e.text);
    return sounds;
}

void HeadlessHost::SetStatusText(int pane, std::string_view text) {
    m_status[pane] = std::string(text);
    HostEvent event;
    event.kind = HostEventKind::StatusText;
    event.text = text;
    event.pane = pane;
    m_events.push_back(std::move(event));
}

void HeadlessHost::Progress(std::string_view text, int percent) {
    m_progressText = text;
    m_progressPercent = percent;
    HostEvent event;
    event.kind = HostEventKind::Progress;
    event.text = text;
    event.percent = percent;
    m_events.push_back(std::move(event));
}

void HeadlessHost::EndProgress() {
    m_progressText.clear();
    m_progressPercent = 0;
    HostEvent event;
    event.kind = HostEventKind::EndProgress;
    m_events.push_back(std::move(event));
}

void HeadlessHost::QueueAnswer(Answer answer) {
    m_script.push_back({answer, false});
}

void HeadlessHost::QueueConfirm(Answer answer, bool dontAskAgain) {
    m_script.push_back({answer, dontAskAgain});
}

std::string HeadlessHost::StatusText(int pane) const {
    const auto found = m_status.find(pane);
    return found == m_status.end() ? std::string() : found->second;
}

void HeadlessHost::Clear() {
    m_script.clear();
    m_events.clear();
    m_messages.clear();
    m_status.clear();
    m_progressText.clear();
    m_progressPercent = 0;
    m_beepCount = 0;
    m_pumpCount = 0;
}

} // namespace vespario::platform
