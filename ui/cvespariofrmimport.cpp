// The Import command of the main window: the question for a changed database, the "Open
// Import File" dialog with "Import From Clipboard", the export route's "NGP Import" choice,
// "Describe the Import File", and then the core's import and a new selection pass.

#include "app/cvesparioapp.h"
#include "db/import.h"
#include "select/objectlist.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/greektext.h"
#include "ui/importdialog.h"
#include "ui/qthost.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <new>

namespace vespario::ui {
namespace {

// "NGP Import": whether the items of the other program's export go into Goal or Obs, and
// the text put in front of each.
bool AskExportRoute(QWidget *parent, ImportDescription &d) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("NGP Import"));
    auto *goal = new QRadioButton(QStringLiteral("Put the notes into &Goal"), &dialog);
    auto *obs = new QRadioButton(QStringLiteral("Put the notes into &Obs"), &dialog);
    auto *prefix = new QLineEdit(&dialog);
    prefix->setAccessibleName(QStringLiteral("Prefix"));
    prefix->setAccessibleDescription(QStringLiteral("The text put in front of every note"));
    (d.exportField == ExportItemField::Obs ? obs : goal)->setChecked(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *form = new QFormLayout;
    form->addRow(goal);
    form->addRow(obs);
    form->addRow(QStringLiteral("&Prefix:"), prefix);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    d.exportField = obs->isChecked() ? ExportItemField::Obs : ExportItemField::Goal;
    d.exportPrefix = prefix->text().toStdString();
    return true;
}

} // namespace

void CVesparioFrm::ImportFile() {
    CommitEdits();
    if (!AskImportIntoChangedDatabase(*m_doc))
        return;
    QFileDialog open(this, QStringLiteral("Open Import File"));
    open.setObjectName(QStringLiteral("OpenImportFile"));
    open.setOption(QFileDialog::DontUseNativeDialog);
    open.setFileMode(QFileDialog::ExistingFile);
    open.setNameFilters({QStringLiteral("Import files (*.txt *.csv *.obs *.exp)"),
                         QStringLiteral("All files (*)")});
    auto *clipboard = new QPushButton(QStringLiteral("Import From &Clipboard"), &open);
    clipboard->setObjectName(QStringLiteral("ImportFromClipboard"));
    bool fromClipboard = false;
    connect(clipboard, &QPushButton::clicked, &open, [&] {
        fromClipboard = true;
        open.reject();
    });
    if (auto *grid = qobject_cast<QGridLayout *>(open.layout()))
        grid->addWidget(clipboard, grid->rowCount(), 0, 1, grid->columnCount());
    if (open.exec() != QDialog::Accepted && !fromClipboard)
        return;

    const int greekSet = m_doc->GreekSet();
    ImportText text;
    if (fromClipboard) {
        // The log of a clipboard import goes beside the database.
        const std::string &path = m_app.DocumentPath();
        const std::string folder =
            path.empty()
                ? std::string()
                : QFile::encodeName(QFileInfo(QFile::decodeName(path.c_str())).absolutePath())
                      .toStdString();
        try {
            text = ClipboardImportText(
                EncodeRecordText(QGuiApplication::clipboard()->text(), greekSet), folder);
        } catch (const std::bad_alloc &) {
            m_host.MessageBox("Cannot obtain memory to read import text from clipboard", "Vespario",
                              platform::Buttons::Ok);
            return;
        }
    } else if (open.selectedFiles().isEmpty() ||
               !ReadImportFile(QFile::encodeName(open.selectedFiles().front()).toStdString(),
                               m_host, text)) {
        return;
    }
    ImportDescription description;
    std::string error;
    if (!PresetDescription(text, description, error)) {
        m_host.MessageBox(error, "Vespario", platform::Buttons::Ok);
        return;
    }
    if (text.exportFile && !AskExportRoute(this, description))
        return;
    ImportDialog describe(description, text.text, greekSet, m_app.Settings().Profile(), this);
    connect(&describe, &ImportDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    m_importDialog = &describe;
    const bool accepted = describe.exec() == QDialog::Accepted;
    m_importDialog = nullptr;
    if (!accepted)
        return;
    description = describe.Description();
    // The progress display lets events through: no idle work meanwhile.
    m_busy = true;
    const ImportSummary summary = ImportData(*m_doc, text, description, true);
    m_busy = false;
    ReloadViews();
    UpdateTitle();
    if ((summary.added > 0 || summary.matched > 0) && m_listView->Engine())
        m_listView->Engine()->RestartSelection();
    WakeIdle();
}

} // namespace vespario::ui
