#pragma once
// The Preferences page bound to its PreferencesPageModel: the general preferences, the
// record edit checks ("Database Edits:") and the star-atlas order of the main screen.

#include "app/preferencespagemodel.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace vespario::ui {

class PreferencesPageWidget : public QWidget {
    Q_OBJECT
public:
    PreferencesPageWidget(PreferencesPageModel &model, QWidget *parent);

    void Sync();
    QListWidget *EditChecks() const { return m_checks; }
    QListWidget *AtlasOrder() const { return m_atlases; }
    QPushButton *MoveUpButton() const { return m_up; }

private:
    void ValuesEdited();

    PreferencesPageModel &m_model;
    QComboBox *m_greek;
    QCheckBox *m_delAuthor;
    QCheckBox *m_tutorial;
    QSpinBox *m_first;
    QSpinBox *m_second;
    QSpinBox *m_recordWidth;
    QCheckBox *m_autoBuild;
    QLineEdit *m_favorite;
    QCheckBox *m_backup;
    QCheckBox *m_lowMemory;
    QListWidget *m_checks;
    QListWidget *m_atlases;
    QPushButton *m_up;
    QPushButton *m_down;
    bool m_syncing = false;
};

} // namespace vespario::ui
