#pragma once
// The base of the modeless tool windows (the conversion tools, What's Up): the rectangle
// kept in its profile section ("CoordDlgPos", ...), put back when the window is made and
// stored whenever it is hidden, and the Help and Close buttons at its foot.

#include <QDialog>
#include <QString>

#include <string>

class QHBoxLayout;
class QPushButton;

namespace vespario::platform {
class IniProfile;
}

namespace vespario::ui {

class ToolWindow : public QDialog {
    Q_OBJECT
public:
    // section: the profile section of the rectangle; helpPage: the page Help opens.
    ToolWindow(platform::IniProfile &profile, std::string section, QString helpPage,
               QWidget *parent);

    const QString &HelpPage() const { return m_helpPage; }
    QPushButton *CloseButton() const { return m_close; }

signals:
    void HelpAsked(const QString &page);

protected:
    // The row of buttons: subclasses add theirs before Help and Close.
    QHBoxLayout *ButtonRow() const { return m_buttons; }
    // After the layout is complete: the stored rectangle, if any, is applied.
    void RestorePosition();
    void hideEvent(QHideEvent *event) override;

private:
    platform::IniProfile &m_profile;
    std::string m_section;
    QString m_helpPage;
    QHBoxLayout *m_buttons;
    QPushButton *m_close;
};

} // namespace vespario::ui
