// The main frame's part of the record edit checks (the Edit Failures window, fed while the
// idle work checks records) and of the maintenance tools of the File menu.

#include "db/maintenance.h"
#include "select/objectlist.h"
#include "ui/ceditvw.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/cvespariovwid.h"
#include "ui/delauthordialog.h"
#include "ui/greektext.h"
#include "ui/qthost.h"
#include "ui/scanwindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTextCursor>

#include <algorithm>

namespace vespario::ui {
namespace {

// What the form's edits and the text views show of a field: the views show CR LF as one
// line break, so an offset into the field counts its CRs out.
int ShownOffset(std::string_view text, int offset) {
    const size_t end = std::min(text.size(), static_cast<size_t>(std::max(offset, 0)));
    return static_cast<int>(
        end - static_cast<size_t>(std::count(text.begin(), text.begin() + long(end), '\r')));
}

} // namespace

// --- the edit checks -------------------------------------------------------------------------

void CVesparioFrm::AttachEditChecks() {
    if (!m_editChecks) {
        m_editChecks = std::make_unique<EditChecks>(*m_doc, m_app.Settings().Vocabularies());
        m_editCheckWork = std::make_unique<EditCheckAdapter>(*m_doc, *m_editChecks);
        m_failureSink = std::make_unique<FrameFailureSink>(
            [this](const EditFailure &failure, int index) { AddEditFailure(failure, index); });
        m_editChecks->SetSink(m_failureSink.get());
    }
    // A new document: the identities of the old lines name other records now.
    m_editChecks->ClearFailures();
    if (m_editFailures)
        m_editFailures->Clear();
    m_listView->Engine()->SetEditChecks(m_editCheckWork.get());
}

void CVesparioFrm::OpenEditFailures() {
    if (!m_editFailures) {
        m_editFailures = new EditFailuresWindow(m_app.Settings().Profile(), this);
        connect(m_editFailures, &EditFailuresWindow::ViewAsked, this, &CVesparioFrm::ViewFailure);
    }
    ShowToolWindow(m_editFailures);
}

void CVesparioFrm::AddEditFailure(const EditFailure &failure, int index) {
    // Made on the first failure, and shown without taking the focus from the record.
    if (!m_editFailures) {
        m_editFailures = new EditFailuresWindow(m_app.Settings().Profile(), this);
        connect(m_editFailures, &EditFailuresWindow::ViewAsked, this, &CVesparioFrm::ViewFailure);
        connect(m_editFailures, &ToolWindow::HelpAsked, this, &CVesparioFrm::ShowHelp);
        m_editFailures->setAttribute(Qt::WA_ShowWithoutActivating);
        m_editFailures->show();
    }
    const QString id = index >= 0 && index < m_doc->GetRecordCount()
                           ? DecodeRecordText(std::string(m_doc->Record(index).Field(field::Id)),
                                              m_doc->GreekSet())
                           : QString();
    m_editFailures->AddFailure(failure, id);
}

void CVesparioFrm::ViewFailure(int identity, int fieldNo, int start, int end) {
    ObjectList *engine = m_listView->Engine();
    const int index = m_doc->RecordIndexOfIdentity(identity);
    if (!engine || index < 0)
        return;
    CommitEdits();
    engine->GoTo(-1, index);
    m_listView->SyncControls();
    if (fieldNo < 0 || !m_doc->CurrentRecord())
        return;
    // The field takes the focus from the failure list.
    activateWindow();
    const std::string_view text = m_doc->CurrentRecord()->Field(fieldNo);
    const int from = ShownOffset(text, start);
    const int to = ShownOffset(text, end);
    for (CEditVw *view : m_texts) {
        if (view->FieldNo() != fieldNo)
            continue;
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        view->ensureCursorVisible();
        view->setFocus(Qt::OtherFocusReason);
        return;
    }
    QLineEdit *edit = fieldNo == field::Type  ? m_form->TypeText()
                      : fieldNo == field::Src ? m_form->SrcText()
                                              : m_form->StoredEdit(fieldNo);
    if (!edit)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    edit->setSelection(from, to - from);
}

// --- the maintenance tools -----------------------------------------------------------------

void CVesparioFrm::BuildMaintenanceMenu(QMenu *fileMenu) {
    QMenu *menu = fileMenu->addMenu(QStringLiteral("&Maintenance"));
    AddAction(menu, "MaintRebuildIds", QStringLiteral("&Rebuild Object IDs"), {},
              QStringLiteral("Rebuild the index of the objects' names"),
              [this] { RunMaintenance([this] { return RebuildObjectIds(*m_doc); }); });
    AddAction(menu, "MaintScanUrls", QStringLiteral("Scan for &Local URLs..."), {},
              QStringLiteral("Choose folder to begin local URL scan with"),
              [this] { ScanLocalUrlsCommand(); });
    AddAction(menu, "MaintVerifyUrls", QStringLiteral("&Verify Local URLs"), {},
              QStringLiteral("Remove the links to local files that no longer exist"),
              [this] { RunMaintenance([this] { return VerifyLocalUrls(*m_doc); }); });
    AddAction(menu, "MaintSortRefs", QStringLiteral("S&ort Refs Magazines"), {},
              QStringLiteral("Put the magazine references of every object in date order"), [this] {
                  RunMaintenance([this] {
                      return SortRefsMagazines(*m_doc, m_app.Settings().Vocabularies());
                  });
              });
    m_delAuthorAction =
        AddAction(menu, "MaintDelAuthor", QStringLiteral("&Del author's data..."), {},
                  QStringLiteral("Remove the author's observations and personal data"),
                  [this] { DeleteAuthorDataCommand(); });
    m_delAuthorAction->setVisible(m_app.General().delAuthor == 0);
    // The tools that prepare distributed databases.
    menu->addSeparator();
    AddAction(menu, "MaintFileDiffs", QStringLiteral("File Di&fferences..."), {},
              QStringLiteral("Compare the database with another database file"),
              [this] { FileDifferencesCommand(); });
    AddAction(menu, "MaintPublicDb", QStringLiteral("&Prepare Public Database"), {},
              QStringLiteral("Remove personal references from every object"),
              [this] { RunMaintenance([this] { return PreparePublicDatabase(*m_doc); }); });
    AddAction(menu, "MaintMagazines", QStringLiteral("List All &Magazines"), {},
              QStringLiteral("List the magazine references of every object"),
              [this] { ListMagazinesCommand(); });
    AddAction(fileMenu, "FileExportUrls", QStringLiteral("Export &URLs..."), {},
              QStringLiteral("Write the links of the listed objects as an HTML page"),
              [this] { ExportUrlsCommand(); });
}

MaintenanceResult CVesparioFrm::RunMaintenance(const std::function<MaintenanceResult()> &tool) {
    CommitEdits();
    // The tools let paint events through: no idle work meanwhile.
    m_busy = true;
    const MaintenanceResult result = tool();
    m_busy = false;
    // The changed records wait for their second edit check; the name index may want a
    // rebuild.
    ReloadViews();
    WakeIdle();
    return result;
}

void CVesparioFrm::ScanLocalUrlsCommand() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Choose any file in the folder to begin local URL scan with"), {},
        QStringLiteral("All Files (*)"));
    if (file.isEmpty())
        return;
    auto *window = new ScanWindow(m_app.Settings().Profile(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    ShowToolWindow(window);
    const std::string folder = QFileInfo(file).absolutePath().toLocal8Bit().toStdString();
    RunMaintenance([&] {
        return ScanLocalUrls(*m_doc, folder, [window](std::string_view text) {
            window->ShowFolder(QString::fromLocal8Bit(text.data(), qsizetype(text.size())));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
}

void CVesparioFrm::DeleteAuthorDataCommand() {
    DelAuthorDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const AuthorDataOptions options = dialog.Options();
    RunMaintenance(
        [&] { return DeleteAuthorData(*m_doc, m_app.Settings().Vocabularies(), options); });
    if (!options.removeMenuEntry)
        return;
    m_app.General().delAuthor = 1;
    m_delAuthorAction->setVisible(false);
}

void CVesparioFrm::FileDifferencesCommand() {
    const QString other =
        QFileDialog::getOpenFileName(this, QStringLiteral("Select file to compare"), {},
                                     QStringLiteral("Vespario databases (*.obs);;All Files (*)"));
    if (other.isEmpty())
        return;
    const QString results = QFileDialog::getSaveFileName(
        this, QStringLiteral("Compare Results Filename"), QStringLiteral("compare.txt"),
        QStringLiteral("TXT files (*.txt)"));
    if (results.isEmpty())
        return;
    const MaintenanceResult result = RunMaintenance([&] {
        return FileDifferences(*m_doc, other.toLocal8Bit().toStdString(),
                               results.toLocal8Bit().toStdString());
    });
    if (!result.ran && !result.text.empty())
        m_host.MessageBox(result.text, "Vespario", platform::Buttons::Ok);
}

void CVesparioFrm::ListMagazinesCommand() {
    const MaintenanceResult result = RunMaintenance([this] { return ListAllMagazines(*m_doc); });
    if (!result.ran)
        return;
    QMessageBox box(
        QMessageBox::Information, QStringLiteral("Vespario"),
        QStringLiteral("%1 magazine references found.")
            .arg(QString::fromLocal8Bit(result.text.data(), qsizetype(result.text.size()))
                     .count(QLatin1Char('\n'))),
        QMessageBox::Ok, this);
    box.setDetailedText(QString::fromLocal8Bit(result.text.data(), qsizetype(result.text.size())));
    box.exec();
}

void CVesparioFrm::ExportUrlsCommand() {
    ObjectList *engine = m_listView->Engine();
    if (!engine)
        return;
    CommitEdits();
    QFileDialog dialog(this, QStringLiteral("Export URLs Filename"), {},
                       QStringLiteral("HTML files (*.htm *.html)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("htm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = dialog.selectedFiles().front().toLocal8Bit().toStdString();
    const MaintenanceResult result =
        RunMaintenance([&] { return ExportUrls(*m_doc, engine->List(), path); });
    if (!result.ran)
        m_host.MessageBox(result.text, "Vespario", platform::Buttons::Ok);
}

} // namespace vespario::ui
