#pragma once
// "Del Author's Data": which personal data of a distributed database to remove. The dialog
// only returns the choices; the tool does the work.

#include "db/maintenance.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QRadioButton;

namespace vespario::ui {

class DelAuthorDialog : public QDialog {
    Q_OBJECT
public:
    explicit DelAuthorDialog(QWidget *parent);
    AuthorDataOptions Options() const;

private:
    QCheckBox *m_sawOn;
    QCheckBox *m_ease;
    QCheckBox *m_rate;
    QCheckBox *m_goal;
    std::array<QRadioButton *, 3> m_observations{};
    QCheckBox *m_places;
    QCheckBox *m_equipment;
    QCheckBox *m_menuEntry;
};

} // namespace vespario::ui
