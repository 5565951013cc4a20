#pragma once
// The object list view: the strip, the ID box with its history and the ">" button, and the
// list of the selected objects' IDs over the engine's SelectionList. The engine (ObjectList)
// decides everything; this view shows it and forwards the user's actions.

#include "select/objectlist.h"
#include "ui/furthermatcheswindow.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListView;
class QToolButton;

namespace vespario {
class CVesparioDoc;
}

namespace vespario::ui {

class SelectionListModel;

class CVesparioVwId : public QWidget, public ObjectListObserver {
    Q_OBJECT
public:
    CVesparioVwId(CVesparioDoc &doc, QWidget *parent = nullptr);
    ~CVesparioVwId() override;

    // A new engine for the document just opened: empty criteria and sort order, a new pass.
    void ResetEngine();
    ObjectList *Engine() { return m_engine.get(); }

    // After idle work or a command: the ">" state and the history drop-down.
    void SyncControls();
    // Makes the list show the engine's current row.
    void ShowCurrentRow();
    // The view's font follows the display font; the row height follows it.
    void ApplyFont(const QFont &font);

    QComboBox *IdBox() const { return m_idBox; }
    QToolButton *MoreButton() const { return m_more; }
    QListView *ListView() const { return m_view; }
    SelectionListModel *Model() const { return m_model; }
    FurtherMatchesWindow *MatchesWindow() const { return m_matches; }
    void ShowFurtherMatches();

    void CurrentObjectChanged(int record) override;
    void RowsChanged() override;

signals:
    // Something gave the idle work more to do.
    void WorkGiven();
    // The user is about to move to another object: the record views hand their edits over.
    void BeforeNavigate();

private:
    void TypedTextChanged(const QString &text);
    void LookUpTypedNow();
    void HistoryPicked(int index);
    void RowPicked(int row);
    void ChooseMatch(int identity);
    void SetBoxTextToCurrent();

    CVesparioDoc &m_doc;
    std::unique_ptr<ObjectList> m_engine;
    QLabel *m_strip;
    QComboBox *m_idBox;
    QToolButton *m_more;
    QListView *m_view;
    SelectionListModel *m_model;
    QPointer<FurtherMatchesWindow> m_matches;
    std::vector<std::string> m_shownHistory;
    bool m_syncing = false;
};

} // namespace vespario::ui
