#pragma once
// The Helper Apps page bound to its HelperAppPageModel: the programs that open each kind of
// link, their command and DDE fields (enabled only while "Use DDE" is checked), Insert,
// Delete, Browse and the browsers of Assist.

#include "app/helperapppagemodel.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vespario::ui {

class HelperAppPageWidget : public QWidget {
    Q_OBJECT
public:
    HelperAppPageWidget(HelperAppPageModel &model, QWidget *parent);

    void Sync();
    QTreeWidget *List() const { return m_list; }
    QCheckBox *UseDdeBox() const { return m_useDde; }
    QLineEdit *DdeApplicationBox() const { return m_application; }

private:
    void FieldsEdited();

    HelperAppPageModel &m_model;
    QTreeWidget *m_list;
    QLineEdit *m_lookFor;
    QLineEdit *m_command;
    QCheckBox *m_useDde;
    QLineEdit *m_application;
    QLineEdit *m_topic;
    QComboBox *m_method;
    QLineEdit *m_message;
    QPushButton *m_insert;
    QPushButton *m_delete;
    QPushButton *m_browse;
    QComboBox *m_browsers;
    QPushButton *m_assist;
    bool m_syncing = false;
};

} // namespace vespario::ui
