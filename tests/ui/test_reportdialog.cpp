// The report dialog on the offscreen platform: margins shown in each unit over unchanged
// twips, fields inserted from the tree onto the heading line, the question on leaving with
// changes; and the window's Report menu and the Circumstances report of the Edit menu and
// of the Obs view's context menu.

#include "platform/iniprofile.h"
#include "report/reportlayout.h"
#include "ui/ceditvw.h"
#include "ui/cvespariofrm.h"
#include "ui/qthost.h"
#include "ui/reportdialog.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

// Answers the next message box with button and keeps its text.
void AnswerNextBox(QString &text, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&text, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        text = box->text();
        box->button(button)->click();
    });
}

QTreeWidgetItem *TreeItemOf(QTreeWidget *tree, int field) {
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c)
            if (tree->topLevelItem(g)->child(c)->data(0, Qt::UserRole).toInt() == field)
                return tree->topLevelItem(g)->child(c);
    return nullptr;
}

} // namespace

class ReportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void marginsUnitsAndFields() {
        QtHost host;
        ReportDialog dialog(ReportKind::Text, DefaultLayout(ReportKind::Text, kUnitInches), host,
                            nullptr);
        QAbstractItemModelTester onLine(dialog.HeadingList()->model());
        QAbstractItemModelTester under(dialog.UnderList()->model());
        QCOMPARE(dialog.MarginsGroup()->title(), QStringLiteral("Margins (inches)"));
        QCOMPARE(dialog.MarginBox(0)->value(), 0.5);
        dialog.UnitsBox()->setCurrentIndex(kUnitMm);
        QCOMPARE(dialog.MarginsGroup()->title(), QStringLiteral("Margins (mm)"));
        QCOMPARE(dialog.MarginBox(0)->value(), 12.631);
        QCOMPARE(dialog.Layout().options.marginLeft, 720);
        dialog.MarginBox(1)->setValue(25.4);
        QCOMPARE(dialog.Layout().options.marginRight, MarginTwips(25.4, kUnitMm));
        dialog.UnitsBox()->setCurrentIndex(kUnitChars);
        QCOMPARE(dialog.MarginBox(0)->value(), 10.0);

        const int before = dialog.HeadingList()->count();
        dialog.HeadingList()->setCurrentRow(0);
        dialog.FieldTree()->setCurrentItem(TreeItemOf(dialog.FieldTree(), field::Hick));
        dialog.InsertButton()->click();
        QCOMPARE(dialog.HeadingList()->count(), before + 1);
        const ReportLayout layout = dialog.Layout();
        QCOMPARE(layout.fields[1].Field(), static_cast<int>(field::Hick));
        QVERIFY(layout.fields[1].width > 0);
        QVERIFY(dialog.Preview()->text().contains(QStringLiteral("First Field")));
        QVERIFY(dialog.Preview()->text().contains(QStringLiteral("chars")));

        // Leaving with changes asks; No leaves without saving.
        QString asked;
        AnswerNextBox(asked, QMessageBox::No);
        dialog.reject();
        QCOMPARE(asked, QStringLiteral("Save changes to report layout?"));
        QVERIFY(!dialog.isVisible());
    }

    // The recent setup files of the kind are offered and recalled; Help on Selected Field
    // asks for the field's place on the fields page.
    void recentSetupsAndFieldHelp() {
        QTemporaryDir dir;
        ReportLayout saved = DefaultLayout(ReportKind::Text, kUnitInches);
        saved.options.title = "Recalled";
        const std::string path = dir.filePath(QStringLiteral("list.rpt")).toStdString();
        QVERIFY(WriteSetupFile(path, ReportKind::Text, saved));
        platform::IniProfile profile;
        profile.WriteString("Report", "Filename0", "/gone/other.rpe");
        profile.WriteString("Report", "Filename1", path);
        QtHost host;
        ReportDialog dialog(ReportKind::Text, DefaultLayout(ReportKind::Text, kUnitInches), host,
                            nullptr);
        dialog.UseRecentSetups(profile);
        QCOMPARE(dialog.RecentBox()->count(), 2);
        QCOMPARE(dialog.RecentBox()->itemText(1), QString::fromStdString(path));
        QVERIFY(dialog.RecentBox()->isEnabled());
        dialog.RecentBox()->setCurrentIndex(1);
        emit dialog.RecentBox()->activated(1);
        QCOMPARE(dialog.TitleBox()->text(), QStringLiteral("Recalled"));
        QCOMPARE(profile.GetString("Report", "Filename0"), path);

        QSignalSpy help(&dialog, &ReportDialog::HelpAsked);
        dialog.FieldTree()->setCurrentItem(TreeItemOf(dialog.FieldTree(), field::DeclDeg));
        dialog.FieldHelpButton()->click();
        dialog.UnderList()->setCurrentRow(0);
        dialog.FieldHelpButton()->click();
        QCOMPARE(help.count(), 2);
        QCOMPARE(help[0][0].toString(), QStringLiteral("fields.html#f35"));
        QCOMPARE(help[1][0].toString(), QStringLiteral("fields.html#f13"));
    }

    void windowMenusAndCircumstances() {
        QTemporaryDir profile;
        QVERIFY(test::WriteShippedProfile(profile.path(), "[Settings]\r\nTutorial=0\r\n"));
        test::Session s(profile.path());
        QCOMPARE(s.Start({QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/example.obs")}),
                 StartResult::Running);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), test::kPassTimeoutMs);
        bool reportMenu = false;
        for (QAction *top : s.frame.menuBar()->actions())
            reportMenu |= top->text() == QStringLiteral("&Report");
        QVERIFY(reportMenu);
        for (const char *name : {"ReportWrite", "ReportExport", "EditTransit", "EditCircumstances",
                                 "EditSessionNotes", "EditEditSessionNotes"})
            QVERIFY2(s.frame.Action(QString::fromLatin1(name)) != nullptr, name);

        const ObjectList &list = s.Engine();
        bool found = false;
        for (size_t k = 0; k < list.List().size() && !found; ++k)
            if (s.app.Document().Record(list.List()[k]).Field(field::Id).starts_with("=M1="))
                found = s.frame.GoTo(list.List()[k]);
        QVERIFY(found);
        QString text;
        AnswerNextBox(text, QMessageBox::Ok);
        s.Open("EditCircumstances");
        QVERIFY2(text.startsWith(QStringLiteral("Circumstances of Observation of M1")),
                 qPrintable(text));
        AnswerNextBox(text, QMessageBox::Ok);
        s.Open("EditTransit");
        QVERIFY2(text.startsWith(QStringLiteral("Info for RaDec 0534.5+2201 of M1 at ")),
                 qPrintable(text));

        // The Obs view's context menu offers the same three reports.
        CEditVw *obs = nullptr;
        for (int i = 0; i < CVesparioFrm::kTextViews; ++i)
            if (s.frame.TextView(i) && s.frame.TextView(i)->FieldNo() == field::Obs)
                obs = s.frame.TextView(i);
        QVERIFY(obs != nullptr);
        const QPoint at = obs->viewport()->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, obs->viewport()->mapToGlobal(at));
        QApplication::sendEvent(obs->viewport(), &click);
        QVERIFY(s.frame.QuickMenu() != nullptr);
        QAction *circumstances = nullptr;
        for (QAction *entry : s.frame.QuickMenu()->actions()) {
            QVERIFY(entry->text() != QStringLiteral("View Session Notes...") || entry->isEnabled());
            if (entry->text() == QStringLiteral("Circumstances..."))
                circumstances = entry;
        }
        QVERIFY(circumstances != nullptr);
        text.clear();
        AnswerNextBox(text, QMessageBox::Ok);
        circumstances->trigger();
        QVERIFY2(text.startsWith(QStringLiteral("Circumstances of Observation of M1")),
                 qPrintable(text));
        s.Exit();
    }
};

QTEST_MAIN(ReportDialogTest)
#include "test_reportdialog.moc"
