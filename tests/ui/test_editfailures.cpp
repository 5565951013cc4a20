// The Edit Failures window on the offscreen platform: made by the first failure of the first
// pass over the example, its line tied to the record, View going to the record with the
// prohibited text selected in its field, a line added when an edited record is checked
// again, the rectangle kept under EditErrsDlgPos; and the File menu's Maintenance entries.

#include "db/editchecks.h"
#include "select/objectlist.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/editfailureswindow.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vespario;
using namespace vespario::ui;

class EditFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theFirstPassFillsTheWindowAndViewSelectsTheText() {
        QTemporaryDir folder;
        QVERIFY(test::WriteShippedProfile(
            folder.path(),
            "[Settings]\r\nTutorial=0\r\n[Prohib]\r\nNumberOf=1\r\nProhib0=crab\r\n"));
        const QString copy = folder.filePath(QStringLiteral("example.obs"));
        QVERIFY(QFile::copy(QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/example.obs"), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        test::Session s(folder.path());
        QCOMPARE(s.Start({copy}), StartResult::Running);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone() && s.frame.Checks()->Done(), test::kPassTimeoutMs);

        EditFailuresWindow *window = s.frame.EditFailures();
        QVERIFY(window && window->isVisible());
        QAbstractItemModelTester tester(window->List()->model());
        QCOMPARE(window->List()->count(), 1);
        QCOMPARE(window->List()->item(0)->text(),
                 QStringLiteral("=M1=n1952=Crab Nebula=  Prohibited text (crab) [at 3,10,14]"));

        CVesparioDoc &doc = s.app.Document();
        s.Open("GoLast");
        QVERIFY(doc.CurrentRecord()->Field(field::Id) != "=M1=n1952=Crab Nebula=");
        window->List()->setCurrentRow(0);
        window->ViewButton()->click();
        QCOMPARE(doc.CurrentRecord()->Field(field::Id), "=M1=n1952=Crab Nebula=");
        QLineEdit *id = s.frame.Form()->StoredEdit(field::Id);
        QCOMPARE(id->selectedText(), QStringLiteral("Crab"));
        QCOMPARE(s.frame.focusWidget(), id);
        window->ViewNextButton()->click(); // past the last line: nothing happens
        QCOMPARE(window->List()->currentRow(), 0);

        // An edit is checked once more when the record is left: every check, in order.
        QLineEdit *ease = s.frame.Form()->StoredEdit(field::Ease);
        ease->selectAll();
        QTest::keyClicks(ease, QStringLiteral("x"));
        QCOMPARE(ease->text(), QStringLiteral("x"));
        s.Open("GoLast");
        QTRY_COMPARE(window->List()->count(), 3);
        QVERIFY(window->List()->item(1)->text().endsWith(
            QStringLiteral("  Ease must be one digit 1 to 9")));
        QCOMPARE(window->List()->item(2)->text(), window->List()->item(0)->text());

        // OK closes the window and keeps its rectangle and its lines.
        window->CloseButton()->click();
        QVERIFY(!window->isVisible());
        QVERIFY(s.app.Settings().Profile().HasKey("EditErrsDlgPos", "Left"));
        s.Open("ToolsEditFailures");
        QVERIFY(window->isVisible());
        QCOMPARE(window->List()->count(), 3);

        // The maintenance tools sit in the File menu's submenu; Export URLs beside it.
        for (const char *name : {"MaintRebuildIds", "MaintScanUrls", "MaintVerifyUrls",
                                 "MaintSortRefs", "MaintDelAuthor", "MaintFileDiffs",
                                 "MaintPublicDb", "MaintMagazines", "FileExportUrls"})
            QVERIFY2(s.frame.Action(QString::fromLatin1(name)), name);
        QVERIFY(s.frame.Action(QStringLiteral("MaintDelAuthor"))->isVisible());
        doc.SetModified(false);
        s.Exit();
    }
};

QTEST_MAIN(EditFailuresTest)
#include "test_editfailures.moc"
