// The Edit Failures window on the offscreen platform: made by the first failure of the first
// pass over the example, its line tied to the record, View going to the record with the
// prohibited text selected in its field, a line added when an edited record is checked
// again, the rectangle kept under EditErrsDlgPos; the File menu's Maintenance entries; and
// Del author's data run from that menu through its dialog.

#include "db/editchecks.h"
#include "select/objectlist.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/delauthordialog.h"
#include "ui/editfailureswindow.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vespario;
using namespace vespario::ui;

namespace {

// Answers the Del Author's Data dialog once it is up: ticks the buttons of the given texts,
// then OK (or Cancel). answered tells that the dialog was there.
void AnswerDelAuthor(QStringList ticks, bool ok, bool &answered) {
    answered = false;
    QTimer::singleShot(0, [ticks, ok, &answered] {
        auto *dialog = qobject_cast<DelAuthorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            if (ticks.contains(button->text()))
                button->setChecked(true);
        answered = true;
        ok ? dialog->accept() : dialog->reject();
    });
}

// How many records hold a text in field.
int Holding(CVesparioDoc &doc, int fieldNo) {
    int count = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        count += doc.Record(i).Field(fieldNo).empty() ? 0 : 1;
    return count;
}

} // namespace

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

    // In a text view the field's CR LF is one line break: the offsets still select the text.
    void viewSelectsTheTextOnALaterLineOfATextView() {
        QTemporaryDir folder;
        QVERIFY(test::WriteShippedProfile(
            folder.path(),
            "[Settings]\r\nTutorial=0\r\n[Prohib]\r\nNumberOf=1\r\nProhib0=notch\r\n"));
        const QString copy = test::CopyOfData(folder.path(), "example.obs");
        QVERIFY(!copy.isEmpty());
        test::Session s(folder.path());
        QCOMPARE(s.Start({copy}), StartResult::Running);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone() && s.frame.Checks()->Done(), test::kPassTimeoutMs);
        EditFailuresWindow *window = s.frame.EditFailures();
        QVERIFY(window);
        QCOMPARE(window->List()->count(), 1);
        QVERIFY(
            window->List()->item(0)->text().contains(QStringLiteral("[at %1,").arg(field::Obs)));
        s.Open("GoLast");
        window->List()->setCurrentRow(0);
        window->ViewButton()->click();
        auto *view = qobject_cast<QPlainTextEdit *>(s.frame.focusWidget());
        QVERIFY(view);
        QCOMPARE(view->textCursor().selectedText(), QStringLiteral("notch"));
        s.Exit();
    }

    void delAuthorsDataThroughItsDialog() {
        QTemporaryDir folder;
        QVERIFY(test::WriteShippedProfile(folder.path(), "[Settings]\r\nTutorial=0\r\n"));
        const QString copy = test::CopyOfData(folder.path(), "example.obs");
        QVERIFY(!copy.isEmpty());
        test::Session s(folder.path());
        QCOMPARE(s.Start({copy}), StartResult::Running);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), test::kPassTimeoutMs);
        CVesparioDoc &doc = s.app.Document();
        const int records = doc.GetRecordCount();
        QVERIFY(Holding(doc, field::Ease) > 0 && Holding(doc, field::Obs) > 0);
        QVERIFY(!doc.IsModified());
        const int sawOn = Holding(doc, field::SawOn);
        QVERIFY(sawOn > 0);
        const QStringList ticks = {QStringLiteral("Clear &Ease field"),
                                   QStringLiteral("Remove author's &observations completely")};
        bool answered = false;

        // Cancel: nothing changes.
        AnswerDelAuthor(ticks, false, answered);
        s.Open("MaintDelAuthor");
        QVERIFY(answered);
        QVERIFY(!doc.IsModified());
        QVERIFY(Holding(doc, field::Obs) > 0);

        // OK: every Ease and obs cleared, the rest kept; the current record shows it.
        AnswerDelAuthor(ticks, true, answered);
        s.Open("MaintDelAuthor");
        QVERIFY(answered);
        QVERIFY(doc.IsModified());
        QCOMPARE(doc.GetRecordCount(), records);
        QCOMPARE(Holding(doc, field::Ease), 0);
        QCOMPARE(Holding(doc, field::Obs), 0);
        QCOMPARE(Holding(doc, field::SawOn), sawOn);
        QVERIFY(s.frame.Form()->StoredEdit(field::Ease)->text().isEmpty());

        // Again on the cleared records: nothing to change, the document stays unmodified;
        // with the last box the entry leaves the menu for good.
        doc.SetModified(false);
        AnswerDelAuthor(
            ticks + QStringList{QStringLiteral("Remove this entry from file Vespario' &menu")},
            true, answered);
        s.Open("MaintDelAuthor");
        QVERIFY(answered);
        QVERIFY(!doc.IsModified());
        QVERIFY(!s.frame.Action(QStringLiteral("MaintDelAuthor"))->isVisible());
        QCOMPARE(s.app.General().delAuthor, 1);
        s.Exit();
    }
};

QTEST_MAIN(EditFailuresTest)
#include "test_editfailures.moc"
