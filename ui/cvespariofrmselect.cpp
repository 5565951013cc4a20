// The main frame's Select menu: the selection criteria dialog, the sort order dialog and the
// order of the atlases; and the menus of the Type, Try and Src lists.

#include "ui/cvespariofrm.h"

#include "select/criteriaedit.h"
#include "select/objectlist.h"
#include "select/sortedit.h"
#include "ui/atlasorderdialog.h"
#include "ui/cvespariovwid.h"
#include "ui/qthost.h"
#include "ui/sortdialog.h"

#include <QMenuBar>

namespace vespario::ui {

void CVesparioFrm::BuildSelectMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Select"));
    AddAction(menu, "SelectCriteria", QStringLiteral("Selection &Criteria..."),
              QKeySequence(Qt::Key_F2), QStringLiteral("Choose the objects listed by any field"),
              [this] { OpenCriteria(); });
    AddAction(menu, "SelectSortOrder", QStringLiteral("Edit &Sort Order..."),
              QKeySequence(Qt::Key_F3), QStringLiteral("Choose the order of the listed objects"),
              [this] { OpenSortOrder(); });
    menu->addSeparator();
    AddAction(menu, "SelectAtlasOrder", QStringLiteral("Define &Order of Atlases..."), {},
              QStringLiteral("Choose which atlases' charts the record form shows first"),
              [this] { OpenAtlasOrder(); });
}

void CVesparioFrm::OpenCriteria() {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return;
    CommitEdits();
    if (!m_criteria) {
        m_criteria = new CriteriaDialog(*m_doc, m_app.Settings(), this);
        connect(m_criteria, &CriteriaDialog::EndAsked, this, &CVesparioFrm::EndCriteria);
    }
    // An open dialog keeps what the user is editing.
    if (!m_criteria->isVisible())
        m_criteria->Edit(engine->Criteria());
    ShowToolWindow(m_criteria);
}

void CVesparioFrm::EndCriteria(DialogEnd end) {
    ObjectList *engine = m_listView->Engine();
    if (!m_criteria || !engine)
        return;
    CommitEdits();
    if (const auto message = EndCriteriaDialog(*engine, m_criteria->Edited(), end)) {
        m_host.MessageBox(*message, "Vespario", platform::Buttons::Ok);
        return;
    }
    WakeIdle();
    if (end == DialogEnd::RememberAndDefineNew)
        m_criteria->Edit(engine->Criteria());
    else
        m_criteria->close();
}

void CVesparioFrm::OpenSortOrder() {
    ObjectList *engine = m_listView->Engine();
    if (!engine || m_sortDialog)
        return;
    CommitEdits();
    for (;;) {
        engine->PausePass(true);
        SortDialog dialog(*m_doc, m_app.Settings().Profile(), engine->Sort(), this);
        connect(&dialog, &SortDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
        m_sortDialog = &dialog;
        const int result = dialog.exec();
        m_sortDialog = nullptr;
        // Another database opened meanwhile has lists of its own.
        if (m_listView->Engine() != engine)
            break;
        if (result == QDialog::Rejected) {
            CancelSortDialog(*engine);
            break;
        }
        const DialogEnd end = SortDialog::EndOf(result);
        EndSortDialog(*engine, dialog.Edited(), end);
        if (end != DialogEnd::RememberAndDefineNew)
            break;
    }
    WakeIdle();
}

void CVesparioFrm::OpenAtlasOrder() {
    CommitEdits();
    AtlasOrderDialog dialog(m_app.Settings(), this);
    connect(&dialog, &AtlasOrderDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    if (dialog.exec() == QDialog::Accepted)
        ReloadViews(); // the form's two charts follow the new order
}

void CVesparioFrm::OpenSettingsAt(int page) {
    m_app.Settings().General().curPage = page;
    OpenSettings();
}

void CVesparioFrm::ShowVocabularyMenu(QuickList list, const std::string &entry, const QPoint &pos) {
    m_quickList = list;
    ShowQuickMenu(VocabularyListEntries(list, entry), pos);
}

} // namespace vespario::ui
