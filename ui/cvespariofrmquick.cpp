// The main frame's quick commands: the context menus of the record views, the entries the
// window carries out itself, and Set All.

#include "ui/cvespariofrm.h"

#include "db/fieldtable.h"
#include "select/objectlist.h"
#include "ui/cvespariovwid.h"
#include "ui/greektext.h"

#include <QAction>
#include <QMenu>

namespace vespario::ui {

QuickSources CVesparioFrm::QuickMenuSources() const {
    const SettingsVocabularies &vocabularies = m_app.Settings().Vocabularies();
    return {&vocabularies.Types(), &vocabularies.Checkboxes(), m_app.General().searchFavorite};
}

void CVesparioFrm::ShowQuickMenu(const std::vector<QuickEntry> &entries, const QPoint &pos,
                                 char checkbox) {
    if (entries.empty() || !m_listView->Engine())
        return;
    if (m_quickMenu)
        m_quickMenu->close();
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setAccessibleName(QStringLiteral("Quick commands"));
    for (const QuickEntry &entry : entries) {
        QAction *action = menu->addAction(DecodeRecordText(entry.text, m_doc->GreekSet()));
        // Entries whose dialogs the window does not have yet are shown, but cannot be chosen.
        switch (entry.action) {
        case QuickAction::MailPost:
            action->setEnabled(false);
            break;
        default:
            break;
        }
        connect(action, &QAction::triggered, this,
                [this, entry, checkbox] { RunQuickEntry(entry, checkbox); });
    }
    m_quickMenu = menu;
    menu->popup(pos);
}

void CVesparioFrm::RunQuickEntry(const QuickEntry &entry, char checkbox) {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return;
    CommitEdits();
    if (!m_quick || m_quickEngine != engine) {
        m_quick = std::make_unique<QuickCommands>(*engine, m_app.Place());
        m_quickEngine = engine;
    }
    m_quick->SetPlace(m_app.Place());
    if (m_quick->Choose(entry)) {
        WakeIdle();
        return;
    }
    switch (entry.action) {
    case QuickAction::FieldHelp:
        ShowHelp(QString::fromStdString(FieldHelpPage(entry.pending.field)));
        break;
    case QuickAction::SetCheckboxInAll:
        OpenSetAll(checkbox);
        break;
    case QuickAction::SetAll:
        OpenSetAll();
        break;
    case QuickAction::DefineAtlasOrder:
        OpenAtlasOrder();
        break;
    case QuickAction::Transit:
        ShowObservationReport(ObservationReport::Transit);
        break;
    case QuickAction::Circumstances:
        ShowObservationReport(ObservationReport::Circumstances);
        break;
    case QuickAction::SessionNotes:
        ShowObservationReport(ObservationReport::SessionNotes);
        break;
    case QuickAction::DefineCheckboxes:
        OpenSettingsAt(kCheckboxesPage);
        break;
    case QuickAction::DefineVocabulary:
        OpenSettingsAt(m_quickList == QuickList::Types       ? kTypesPage
                       : m_quickList == QuickList::TryValues ? kTryPage
                                                             : kSourcesPage);
        break;
    default:
        break;
    }
}

void CVesparioFrm::OpenSetAll(char checkbox) {
    if (!m_listView->Engine())
        return;
    CommitEdits();
    if (m_setAll)
        m_setAll->close();
    m_setAll = new SetAllDialog(m_app.Settings().Vocabularies(), m_doc->GreekSet(),
                                m_app.Settings().Profile(), this);
    m_setAll->setAttribute(Qt::WA_DeleteOnClose);
    if (checkbox != 0)
        m_setAll->PreselectCheckbox(checkbox);
    connect(m_setAll, &SetAllDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    connect(m_setAll, &QDialog::accepted, this, &CVesparioFrm::ApplySetAll);
    m_setAll->open();
}

void CVesparioFrm::ApplySetAll() {
    ObjectList *engine = m_listView->Engine();
    if (!m_setAll || !engine)
        return;
    const ObjectList::SetAllChoice choice = m_setAll->Choice();
    // The progress display lets events through: no idle work meanwhile.
    m_busy = true;
    engine->SetAll(choice);
    m_busy = false;
    ReloadViews();
    WakeIdle();
}

} // namespace vespario::ui
