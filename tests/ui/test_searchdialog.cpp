// Search and Replace on the offscreen platform: Search finds a text, makes its object current
// and selects the match in its field's view, goes on behind it and wraps; Replace All over
// the selected objects, saved and read back.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "ui/ceditvw.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/searchdialog.h"
#include "windowsession.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <map>
#include <memory>
#include <string>

using namespace vespario;
using namespace vespario::ui;

namespace {

using test::kPassTimeoutMs;
using test::Session;

using Stored = std::array<std::string, kStoredFieldCount>;

// Every record's stored fields by its RaDec, as a fresh document reads them from the file.
std::map<std::string, Stored> ReadBack(const QString &path) {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc(host, profile);
    std::map<std::string, Stored> records;
    if (!doc.ReadDatabaseFile(path.toStdString()))
        return records;
    doc.LoadCompletely();
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        doc.EnsureParsed(i);
        Stored fields;
        for (int n = 0; n < kStoredFieldCount; ++n)
            fields[static_cast<size_t>(n)] = std::string(doc.Record(i).Field(n));
        records[fields[field::RaDec]] = fields;
    }
    return records;
}

std::string CurrentId(Session &s) {
    return std::string(s.app.Document().CurrentRecord()->Field(field::Id));
}

} // namespace

class SearchDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

    QString CopyOfExample() { return test::CopyOfData(m_profile->path(), "example.obs"); }

    static SearchDialog *Open(Session &s) {
        s.Open("EditFindReplace");
        SearchDialog *dialog = s.frame.FindReplace();
        if (dialog && !QTest::qWaitForWindowActive(dialog))
            return nullptr;
        return dialog;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        QVERIFY(test::WriteShippedProfile(m_profile->path(), "[Settings]\r\nTutorial=0\r\n"));
    }

    void searchShowsTheMatchInItsViewAndGoesOn() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        QVERIFY(s.frame.GoTo(s.Engine().List()[0]));
        SearchDialog *dialog = Open(s);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Search and Replace"));
        QVERIFY(test::WalkAccessible(dialog, {QAccessible::PushButton, QAccessible::ComboBox})
                    .unnamed.isEmpty());
        QCOMPARE(dialog->LookInList()->count(), 19);
        QCOMPARE(dialog->LookInList()->itemText(18), QStringLiteral("Posn"));
        QVERIFY(!dialog->SearchButton()->isEnabled());
        QVERIFY(!dialog->ReplaceAllButton()->isEnabled());

        dialog->FindBox()->setEditText(QStringLiteral("trapezium"));
        dialog->SearchButton()->click();
        QCOMPARE(CurrentId(s), std::string("=M42=n1976=Orion Nebula="));
        QCOMPARE(s.frame.TextView(0)->textCursor().selectedText(), QStringLiteral("Trapezium"));
        QCOMPARE(s.frame.focusWidget(), static_cast<QWidget *>(s.frame.TextView(0)));
        QVERIFY(dialog->ReplaceButton()->isEnabled());
        // On behind the selection: the same object's observation, then round to the Info.
        dialog->SearchButton()->click();
        QCOMPARE(CurrentId(s), std::string("=M42=n1976=Orion Nebula="));
        QCOMPARE(s.frame.TextView(1)->textCursor().selectedText(), QStringLiteral("Trapezium"));
        dialog->SearchButton()->click();
        QCOMPARE(dialog->StatusLine()->text(), QStringLiteral("Wrapping to beginning of file"));
        QCOMPARE(s.frame.focusWidget(), static_cast<QWidget *>(s.frame.TextView(0)));

        // A form box: the ID.
        dialog->FindBox()->setEditText(QStringLiteral("n6853"));
        dialog->SearchButton()->click();
        QCOMPARE(CurrentId(s), std::string("=M27=n6853=Dumbbell Nebula="));
        QCOMPARE(s.frame.Form()->StoredEdit(field::Id)->selectedText(), QStringLiteral("n6853"));
        QCOMPARE(dialog->FindBox()->count(), 2); // the history, newest first
        QCOMPARE(dialog->FindBox()->itemText(0), QStringLiteral("n6853"));

        // Not found: the beep, the status, the object stays.
        const int beeps = s.host.BeepCount();
        dialog->FindBox()->setEditText(QStringLiteral("no such text"));
        dialog->SearchButton()->click();
        QCOMPARE(dialog->StatusLine()->text(), QStringLiteral("Text was not found"));
        QCOMPARE(s.host.BeepCount(), beeps + 1);
        QCOMPARE(CurrentId(s), std::string("=M27=n6853=Dumbbell Nebula="));

        dialog->WildcardHelpButton()->click();
        QVERIFY(s.frame.Help() && s.frame.Help()->isVisible());
        s.Exit();
    }

    void replaceAllChangesTheSelectedObjectsAndIsSaved() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        const std::map<std::string, Stored> before = ReadBack(copy);
        QCOMPARE(before.size(), size_t{12});
        {
            Session s(m_profile->path());
            QVERIFY(s.StartAndSettle({copy}));
            s.Engine().Criteria().AddLine(field::Type, op::Equal, "eg");
            s.Engine().RestartSelection();
            s.frame.WakeIdle();
            QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
            QCOMPARE(s.Engine().List().size(), size_t{6});
            QVERIFY(s.frame.GoTo(s.Engine().List()[2]));
            SearchDialog *dialog = Open(s);
            QVERIFY(dialog);
            dialog->FindBox()->setEditText(QStringLiteral("galaxy"));
            dialog->ReplaceBox()->setEditText(QStringLiteral("[\\0]"));
            dialog->SearchButton()->click();
            QVERIFY(dialog->ReplaceAllButton()->isEnabled());
            dialog->ReplaceAllButton()->click();
            // M31: ID, Info and URL; M104: ID and Info; the other four their IDs.
            QCOMPARE(dialog->StatusLine()->text(), QStringLiteral("9 occurances replaced."));
            QVERIFY(!dialog->ReplaceAllButton()->isEnabled());
            QCOMPARE(dialog->ReplaceBox()->itemText(0), QStringLiteral("[\\0]"));
            // The views show the current object's new texts.
            QVERIFY(s.frame.Form()->StoredEdit(field::Id)->text().contains("[Galaxy]"));
            QVERIFY(s.frame.isWindowModified());
            QVERIFY(s.frame.SaveDocument());
            s.Exit();
        }
        const std::map<std::string, Stored> after = ReadBack(copy);
        QCOMPARE(after.size(), before.size());
        for (const auto &[position, fields] : after) {
            const Stored &was = before.at(position);
            if (fields[field::Type] != "eg") {
                QVERIFY(fields == was);
                continue;
            }
            QVERIFY(fields[field::Id].find("[Galaxy]=") != std::string::npos);
            QCOMPARE(fields[field::Obs], was[field::Obs]);
        }
        const Stored &m31 = after.at("0042.7+4116");
        QCOMPARE(m31[field::Id], std::string("=M31=n224=Andromeda [Galaxy]="));
        QCOMPARE(m31[field::Info].substr(0, 30), std::string("Nearest large spiral [galaxy],"));
        QVERIFY(m31[field::Url].find("Andromeda_[Galaxy]}") != std::string::npos);
    }
};

QTEST_MAIN(SearchDialogTest)
#include "test_searchdialog.moc"
