// The main frame's reports: the top-level Report menu (reports and exports through the
// report dialog) and the observation reports of the Edit menu (Transit, Circumstances and
// the session notes).

#include "ui/cvespariofrm.h"

#include "astro/radectext.h"
#include "platform/files.h"
#include "report/observationreports.h"
#include "report/reportwriter.h"
#include "select/objectlist.h"
#include "settings/dialogpositions.h"
#include "ui/ceditvw.h"
#include "ui/cvespariovwid.h"
#include "ui/qthost.h"
#include "ui/reportdialog.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QProcess>

namespace vespario::ui {
namespace {

QString Local(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string PlanetariumEntry(const SettingsVocabularies &v) {
    return v.Planetaria().Entry(v.CurrentPlanetarium());
}

} // namespace

void CVesparioFrm::BuildReportMenu() {
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Report"));
    AddAction(menu, "ReportWrite", QStringLiteral("&Report..."), {},
              QStringLiteral("Write the selected objects as a text, RTF, HTML or TDF report"),
              [this] { WriteReportCommand(false); });
    AddAction(menu, "ReportExport", QStringLiteral("&Export..."), {},
              QStringLiteral("Export the selected objects' fields to a text file"),
              [this] { WriteReportCommand(true); });
}

void CVesparioFrm::AddObservationReportActions(QMenu *menu) {
    menu->addSeparator();
    AddAction(menu, "EditTransit", QStringLiteral("Transit, etc. (&Q)..."), {},
              QStringLiteral("Rise, transit and set of the current object at the default place"),
              [this] { ShowObservationReport(ObservationReport::Transit); });
    AddAction(menu, "EditCircumstances", QStringLiteral("&Circumstances..."), {},
              QStringLiteral("The circumstances of the current observation"),
              [this] { ShowObservationReport(ObservationReport::Circumstances); });
    AddAction(menu, "EditSessionNotes", QStringLiteral("V&iew Session Notes..."), {},
              QStringLiteral("The session notes of the current observation's date"),
              [this] { ShowObservationReport(ObservationReport::SessionNotes); });
    AddAction(menu, "EditEditSessionNotes", QStringLiteral("Edit Observing Session Notes (&P)"), {},
              QStringLiteral("Open session.txt beside the database in the text editor"),
              [this] { EditSessionNotes(); });
}

void CVesparioFrm::WriteReportCommand(bool exportKind) {
    ObjectList *list = m_listView->Engine();
    if (list == nullptr)
        return;
    CommitEdits();
    const SettingsVocabularies &vocabularies = m_app.Settings().Vocabularies();
    const std::string planetarium = PlanetariumEntry(vocabularies);
    const auto filters = ReportFilters(exportKind, planetarium.substr(0, planetarium.find(',')));
    QStringList texts;
    for (const ReportFilter &f : filters)
        texts << QStringLiteral("%1 (%2)").arg(Local(f.text), Local(f.patterns).replace(';', ' '));
    QString chosenFilter = texts.front();
    const QString file = QFileDialog::getSaveFileName(
        this, exportKind ? QStringLiteral("Export Filename") : QStringLiteral("Report Filename"),
        QString(), texts.join(QStringLiteral(";;")), &chosenFilter);
    if (file.isEmpty())
        return;
    const ReportKind kind =
        filters[static_cast<size_t>(std::max<qsizetype>(0, texts.indexOf(chosenFilter)))].kind;
    const std::string path = ReportFileName(kind, file.toLocal8Bit().toStdString());
    ReportLayout &layout = m_reportLayouts[static_cast<size_t>(kind)];
    if (layout.fields.empty())
        layout = DefaultLayout(kind, m_app.General().reportUnits);
    PrepareLayoutForKind(kind, layout);
    ReportDialog dialog(kind, layout, m_host, this);
    platform::IniProfile &profile = m_app.Settings().Profile();
    dialog.UseRecentSetups(profile);
    connect(&dialog, &ReportDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    if (const std::optional<DialogRect> rect = StoredDialogPosition(profile, "ReportDlgPos")) {
        if (rect->Width() > 0 && rect->Height() > 0)
            dialog.resize(rect->Width(), rect->Height());
        dialog.move(rect->left, rect->top);
    }
    const int answer = dialog.exec();
    const QPoint at = dialog.pos();
    StoreDialogPosition(
        profile, "ReportDlgPos",
        DialogRect{at.x(), at.y(), at.x() + dialog.width(), at.y() + dialog.height()});
    if (answer != QDialog::Accepted)
        return;
    layout = dialog.Layout();
    ReportSources sources(*m_doc, m_host, &vocabularies);
    sources.databasePath = m_app.DocumentPath();
    sources.planetariumEntry = planetarium;
    std::string error;
    m_busy = true; // the progress lets events through: no idle work meanwhile
    const bool written = WriteReport(kind, layout, list->List(), path, sources, &error);
    m_busy = false;
    if (!written && error != kNoReportFields)
        m_host.MessageBox(error, "Vespario", platform::Buttons::Ok);
}

// The observation entry the user is looking at: the one under the cursor of the Obs view,
// else the current object's first.
std::string CVesparioFrm::CurrentObservationEntry() {
    const int r = m_doc->CurrentIndex();
    if (r < 0)
        return {};
    const std::string obs(m_doc->GetText(field::Obs, r));
    const std::vector<std::string> entries = ObservationEntries(*m_doc, obs);
    if (entries.empty())
        return {};
    size_t chosen = 0;
    for (CEditVw *view : m_texts) {
        if (view == nullptr || view->FieldNo() != field::Obs)
            continue;
        const auto cursor = static_cast<size_t>(view->textCursor().position());
        size_t from = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t at = obs.find(entries[i], from);
            if (at == std::string::npos || at > cursor)
                break;
            chosen = i;
            from = at + 1;
        }
    }
    return entries[chosen];
}

void CVesparioFrm::ShowObservationReport(ObservationReport which) {
    const int r = m_doc->CurrentIndex();
    if (r < 0)
        return;
    CommitEdits();
    const std::string name(m_doc->GetPrimaryId(r));
    const std::string radec(m_doc->GetText(field::RaDec, r));
    double ra = 0.0;
    double dec = 0.0;
    const bool positioned = ParseRaDec(radec, ra, dec);
    std::string text;
    const std::string entry = CurrentObservationEntry();
    switch (which) {
    case ObservationReport::Transit:
        if (positioned)
            text = TransitInfoText(radec, ra, dec, name, m_app.Place());
        break;
    case ObservationReport::Circumstances:
        if (positioned && !entry.empty())
            text = CircumstancesText(name, ra, dec, entry, m_app.Settings().Vocabularies());
        break;
    case ObservationReport::SessionNotes:
        text = SessionNotesText(entry, SessionNotesPath(m_app.DocumentPath()));
        break;
    }
    if (!text.empty())
        m_host.MessageBox(text, "Vespario", platform::Buttons::Ok);
}

void CVesparioFrm::EditSessionNotes() {
    const std::string path = SessionNotesPath(m_app.DocumentPath());
    std::string error;
    if (!platform::FileExists(path) && !platform::WriteWholeFileAtomic(path, "", &error)) {
        m_host.MessageBox(error, "Vespario", platform::Buttons::Ok);
        return;
    }
    const QString command = Local(TextEditorCommand(m_app.Settings().Vocabularies()));
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty())
        return;
    const QString program = words.takeFirst();
    words << Local(path);
    if (!QProcess::startDetached(program, words))
        m_host.MessageBox("Unable to start " + command.toLocal8Bit().toStdString(), "Vespario",
                          platform::Buttons::Ok);
}

} // namespace vespario::ui
