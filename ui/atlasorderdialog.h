#pragma once
// "Define Order of Atlases": the seven star atlases in the order in which the record form
// shows their charts, with Move Up and Move Down. OK stores the order in the settings
// ("StarAtlas0" to "StarAtlas6"); the same order is on the Preferences page.

#include "app/preferencespagemodel.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vespario::ui {

class AtlasOrderDialog : public QDialog {
    Q_OBJECT
public:
    AtlasOrderDialog(AppSettings &settings, QWidget *parent);

    QListWidget *Atlases() const { return m_atlases; }
    QPushButton *MoveUpButton() const { return m_up; }
    QPushButton *MoveDownButton() const { return m_down; }

    void accept() override;

signals:
    void HelpAsked(const QString &page);

private:
    void ShowOrder();

    AppSettings &m_settings;
    PreferencesPageModel m_model;
    QListWidget *m_atlases;
    QPushButton *m_up;
    QPushButton *m_down;
};

} // namespace vespario::ui
