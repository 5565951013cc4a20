// File Import on the offscreen platform: "Open Import File" with "Import From Clipboard", the
// "Describe the Import File" dialog filled in by its controls, the summary, and the database
// that results; the dialog keeps its rectangle under ImportDlgPos.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "settings/dialogpositions.h"
#include "ui/cvespariofrm.h"
#include "ui/importdialog.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

// Selects the tree item of a field and adds it to the import field list.
bool AddField(ImportDialog *dialog, int field) {
    QTreeWidget *tree = dialog->FieldTree();
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->data(0, Qt::UserRole).toInt() != field)
                continue;
            tree->setCurrentItem(group->child(i));
            dialog->AddButton()->click();
            return true;
        }
    }
    return false;
}

} // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void importFromTheClipboardThroughBothDialogs() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(test::WriteShippedProfile(m_profile->path(), "[Settings]\r\nTutorial=0\r\n"));
        const QString copy = m_profile->filePath(QStringLiteral("example.obs"));
        QVERIFY(QFile::copy(QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/example.obs"), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        test::Session s(m_profile->path());
        QCOMPARE(s.Start({copy}), StartResult::Running);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), test::kPassTimeoutMs);
        CVesparioDoc &doc = s.app.Document();
        const int before = doc.GetRecordCount();
        QGuiApplication::clipboard()->setText(
            QStringLiteral("ID;Magn;info;\nM1;8.4;Imported note.\nNGC 7000;4;New one.\n"));

        // Each modal window in turn, as it comes up.
        int step = 0;
        QString summary;
        int treeGroups = 0;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto *open = qobject_cast<QFileDialog *>(modal); open && step == 0) {
                QCOMPARE(open->windowTitle(), QStringLiteral("Open Import File"));
                auto *clip = open->findChild<QPushButton *>(QStringLiteral("ImportFromClipboard"));
                QVERIFY(clip);
                step = 1;
                clip->click();
            } else if (auto *describe = qobject_cast<ImportDialog *>(modal);
                       describe && step == 1) {
                QCOMPARE(describe->windowTitle(), QStringLiteral("Describe the Import File"));
                QVERIFY(describe->Preview()->toPlainText().startsWith(QStringLiteral("ID;Magn;")));
                QAbstractItemModelTester treeTester(describe->FieldTree()->model());
                QAbstractItemModelTester listTester(describe->ImportFields()->model());
                treeGroups = describe->FieldTree()->topLevelItemCount();
                QVERIFY(AddField(describe, field::Id));
                QVERIFY(AddField(describe, field::Magn));
                QVERIFY(AddField(describe, field::Info));
                QCOMPARE(describe->ImportFields()->count(), 3);
                describe->SkipLines()->setValue(1);
                describe->AddNew()->setChecked(true);
                describe->resize(700, 520);
                step = 2;
                describe->OkButton()->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && step == 2) {
                summary = box->text();
                step = 3;
                box->accept();
            }
        });
        driver.start(20);
        s.Open("FileImport");
        driver.stop();

        QCOMPARE(step, 3);
        QCOMPARE(treeGroups, 10); // "Ignore this field" and the nine groups of stored fields
        QVERIFY2(summary.startsWith(QStringLiteral("Database Import Summary")),
                 qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("1 objects added to database")));
        QCOMPARE(doc.GetRecordCount(), before + 1);
        const int m1 = FindExactId(doc, "M1");
        QVERIFY(m1 >= 0);
        QVERIFY(doc.Record(m1).Field(field::Info).find("Imported note.") != std::string_view::npos);
        QCOMPARE(std::string(doc.Record(before).Field(field::Id)), std::string("=n7000="));
        QVERIFY(doc.IsModified());
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), test::kPassTimeoutMs);
        QCOMPARE(s.Engine().List().size(), static_cast<size_t>(before + 1));
        // The dialog's rectangle is kept for the next import.
        const auto rect = StoredDialogPosition(s.app.Settings().Profile(), "ImportDlgPos");
        QVERIFY(rect.has_value());
        QCOMPARE(rect->Width(), 700);
        doc.SetModified(false); // no question at the exit
        s.Exit();
    }
};

QTEST_MAIN(ImportDialogTest)
#include "test_importdialog.moc"
