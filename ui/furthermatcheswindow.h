#pragma once
// The small window behind the ">" button: the objects whose designations match the typed
// text, with OK and Cancel. Choosing an entry makes its object current.

#include <QDialog>

#include <vector>

class QListWidget;

namespace vespario {
class CVesparioDoc;
}

namespace vespario::ui {

class FurtherMatchesWindow : public QDialog {
    Q_OBJECT
public:
    FurtherMatchesWindow(CVesparioDoc &doc, const std::vector<int> &records, QWidget *parent);
    QListWidget *List() const { return m_list; }

signals:
    void Chosen(int identity); // the chosen record's identity

private:
    void Choose();

    std::vector<int> m_identities;
    QListWidget *m_list;
};

} // namespace vespario::ui
