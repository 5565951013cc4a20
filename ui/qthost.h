#pragma once
// The window's Host: message boxes with their buttons and answers, the confirmation with
// "Don't ask again", the beep, the status bar's message and counter panes, progress texts
// and the look-up sounds.

#include "platform/host.h"

#include <QPointer>
#include <QString>

#include <array>

class QLabel;
class QWidget;

namespace vespario::ui {

class SoundPlayer;

class QtHost : public platform::Host {
public:
    static constexpr int kCounterPanes = 4;

    QtHost();
    ~QtHost() override;

    // The window the boxes belong to, and the status bar panes (message, then the four
    // counters of panes 1 to 4).
    void SetWindow(QWidget *window) { m_window = window; }
    // The splash window, closed before any message box so that it cannot hide one. It shows
    // once the frame is being made: a start that hands its command over shows nothing.
    void SetSplash(QWidget *splash) { m_splash = splash; }
    void ShowSplash();
    void AttachStatusPanes(QLabel *message, const std::array<QLabel *, kCounterPanes> &counters);

    platform::Answer MessageBox(std::string_view text, std::string_view title,
                                platform::Buttons buttons) override;
    platform::Answer Confirm(std::string_view text, bool &dontAskAgain) override;
    void Beep() override;
    void PlaySound(std::string_view resource) override;
    void SetStatusText(int pane, std::string_view text) override;
    void SetStatusRaised(int pane, bool raised) override;
    void Progress(std::string_view text, int percent) override;
    void EndProgress() override;
    void PumpEvents() override;

    // The last sound asked for (whether or not a device played it).
    const QString &LastSound() const { return m_lastSound; }
    void ClearLastSound() { m_lastSound.clear(); }
    // The beeps sounded so far.
    int BeepCount() const { return m_beeps; }

private:
    QLabel *Pane(int pane) const;

    void CloseSplash();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_splash;
    QPointer<QLabel> m_message;
    std::array<QPointer<QLabel>, kCounterPanes> m_counters;
    SoundPlayer *m_sounds;
    QString m_lastSound;
    QString m_messageBeforeProgress;
    bool m_inProgress = false;
    int m_beeps = 0;
};

} // namespace vespario::ui
