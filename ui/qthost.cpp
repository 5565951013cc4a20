#include "ui/qthost.h"

#include "ui/soundplayer.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>

namespace vespario::ui {
namespace {

QString FromBytes(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::StandardButtons ButtonsOf(platform::Buttons buttons) {
    switch (buttons) {
    case platform::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case platform::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case platform::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case platform::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

platform::Answer AnswerOf(int button, platform::Buttons buttons) {
    switch (button) {
    case QMessageBox::Yes:
        return platform::Answer::Yes;
    case QMessageBox::No:
        return platform::Answer::No;
    case QMessageBox::Cancel:
        return platform::Answer::Cancel;
    case QMessageBox::Ok:
        return platform::Answer::Ok;
    default:
        // Closed with Escape or the window's close button: the box's way out.
        if (buttons == platform::Buttons::YesNo)
            return platform::Answer::No;
        return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::Cancel;
    }
}

} // namespace

QtHost::QtHost() : m_sounds(new SoundPlayer) {}

QtHost::~QtHost() {
    delete m_sounds;
}

void QtHost::AttachStatusPanes(QLabel *message,
                               const std::array<QLabel *, kCounterPanes> &counters) {
    m_message = message;
    for (size_t i = 0; i < counters.size(); ++i)
        m_counters[i] = counters[i];
}

void QtHost::ShowSplash() {
    if (m_splash)
        m_splash->show();
}

void QtHost::CloseSplash() {
    if (m_splash)
        m_splash->close();
}

platform::Answer QtHost::MessageBox(std::string_view text, std::string_view title,
                                    platform::Buttons buttons) {
    CloseSplash();
    QMessageBox box(buttons == platform::Buttons::Ok ? QMessageBox::Information
                                                     : QMessageBox::Question,
                    FromBytes(title), FromBytes(text), ButtonsOf(buttons), m_window);
    return AnswerOf(box.exec(), buttons);
}

platform::Answer QtHost::Confirm(std::string_view text, bool &dontAskAgain) {
    CloseSplash();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Are You Sure?"), FromBytes(text),
                    QMessageBox::Yes | QMessageBox::No, m_window);
    auto *check = new QCheckBox(QStringLiteral("Don't ask again"));
    check->setChecked(dontAskAgain);
    box.setCheckBox(check);
    const int button = box.exec();
    dontAskAgain = check->isChecked();
    return button == QMessageBox::Yes ? platform::Answer::Yes : platform::Answer::No;
}

void QtHost::Beep() {
    ++m_beeps;
    QApplication::beep();
}

void QtHost::PlaySound(std::string_view resource) {
    m_lastSound = FromBytes(resource);
    m_sounds->Play(resource);
}

QLabel *QtHost::Pane(int pane) const {
    if (pane == 0)
        return m_message;
    if (pane < 1 || pane > kCounterPanes)
        return nullptr;
    return m_counters[static_cast<size_t>(pane - 1)];
}

void QtHost::SetStatusText(int pane, std::string_view text) {
    if (QLabel *label = Pane(pane))
        label->setText(FromBytes(text));
}

void QtHost::SetStatusRaised(int pane, bool raised) {
    QLabel *label = Pane(pane);
    if (!label || pane == 0)
        return;
    label->setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
}

void QtHost::Progress(std::string_view text, int percent) {
    if (!m_message)
        return;
    if (!m_inProgress)
        m_messageBeforeProgress = m_message->text();
    m_inProgress = true;
    m_message->setText(QStringLiteral("%1 %2%").arg(FromBytes(text)).arg(percent));
}

void QtHost::EndProgress() {
    if (!m_message || !m_inProgress)
        return;
    m_inProgress = false;
    m_message->setText(m_messageBeforeProgress);
}

void QtHost::PumpEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vespario::ui
