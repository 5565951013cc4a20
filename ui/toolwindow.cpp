#include "ui/toolwindow.h"

#include "settings/dialogpositions.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QPushButton>

#include <utility>

namespace vespario::ui {

ToolWindow::ToolWindow(platform::IniProfile &profile, std::string section, QString helpPage,
                       QWidget *parent)
    : QDialog(parent), m_profile(profile), m_section(std::move(section)),
      m_helpPage(std::move(helpPage)), m_buttons(new QHBoxLayout),
      m_close(new QPushButton(QStringLiteral("Close"), this)) {
    setModal(false);
    setObjectName(QString::fromStdString(m_section));
    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    help->setAccessibleDescription(QStringLiteral("Opens the help page of this window"));
    m_close->setAccessibleDescription(QStringLiteral("Closes this window"));
    // Return in a field finishes the edit; it must not press a button as well.
    for (QPushButton *button : {help, m_close})
        button->setAutoDefault(false);
    m_buttons->addStretch(1);
    m_buttons->addWidget(help);
    m_buttons->addWidget(m_close);
    connect(help, &QPushButton::clicked, this, [this] { emit HelpAsked(m_helpPage); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void ToolWindow::RestorePosition() {
    const std::optional<DialogRect> rect = StoredDialogPosition(m_profile, m_section);
    if (!rect)
        return;
    if (rect->Width() > 0 && rect->Height() > 0)
        resize(rect->Width(), rect->Height());
    move(rect->left, rect->top);
}

void ToolWindow::hideEvent(QHideEvent *event) {
    QDialog::hideEvent(event);
    // A window hidden with a minimised frame is not being closed by the user.
    if (event->spontaneous())
        return;
    const QPoint at = pos();
    StoreDialogPosition(m_profile, m_section,
                        DialogRect{at.x(), at.y(), at.x() + width(), at.y() + height()});
}

} // namespace vespario::ui
