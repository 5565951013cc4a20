#include "ui/scanwindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vespario::ui {

ScanWindow::ScanWindow(platform::IniProfile &profile, QWidget *parent)
    : ToolWindow(profile, "ScanDlgPos", QStringLiteral("maintenance.html"), parent),
      m_folder(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Scan for Local URLs"));
    m_folder->setAccessibleName(QStringLiteral("Folder being scanned"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_folder, 1);
    layout->addLayout(ButtonRow());
    resize(480, 120);
    RestorePosition();
}

void ScanWindow::ShowFolder(const QString &folder) {
    m_folder->setText(folder);
}

} // namespace vespario::ui
