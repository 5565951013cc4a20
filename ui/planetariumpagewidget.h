#pragma once
// The Planetariums page bound to its PlanetariumPageModel: the programs in a list (the
// selected one is the program in use), its title, executable and keystrokes, Insert,
// Delete, Browse and the ready-made rows of Assist.

#include "app/planetariumpagemodel.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vespario::ui {

class PlanetariumPageWidget : public QWidget {
    Q_OBJECT
public:
    PlanetariumPageWidget(PlanetariumPageModel &model, QWidget *parent);

    void Sync();
    QTreeWidget *List() const { return m_list; }

private:
    void FieldsEdited();
    void Browse();

    PlanetariumPageModel &m_model;
    QTreeWidget *m_list;
    QLineEdit *m_title;
    QLineEdit *m_executable;
    QLineEdit *m_keystrokes;
    QPushButton *m_insert;
    QPushButton *m_delete;
    QPushButton *m_browse;
    QComboBox *m_choices;
    bool m_syncing = false;
};

} // namespace vespario::ui
