#pragma once
// The small window of Scan for Local URLs: the folder being scanned, then "Finished". Its
// rectangle is kept under "ScanDlgPos".

#include "ui/toolwindow.h"

class QLabel;

namespace vespario::ui {

class ScanWindow : public ToolWindow {
    Q_OBJECT
public:
    ScanWindow(platform::IniProfile &profile, QWidget *parent);
    void ShowFolder(const QString &folder);
    QLabel *Folder() const { return m_folder; }

private:
    QLabel *m_folder;
};

} // namespace vespario::ui
