// The Select menu on the offscreen platform: criteria defined in the dialog change the list,
// a refused line shows its message and changes nothing, the criteria go to a file and come
// back; the modal sort dialog, driven by a queued call, pauses the pass and sorts, and Cancel
// leaves the order; the Type list's menu selects a type; the order of the atlases.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "select/objectlist.h"
#include "settings/dialogpositions.h"
#include "ui/atlasorderdialog.h"
#include "ui/criteriadialog.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/helpwindow.h"
#include "ui/sortdialog.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

using test::kPassTimeoutMs;
using test::Session;

// Runs answer on the next modal window (a message box, a file dialog) once it is open.
void OnNextModal(std::function<void(QWidget *)> answer) {
    QTimer::singleShot(0, [answer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            OnNextModal(answer); // not open yet
            return;
        }
        answer(modal);
    });
}

// Presses OK on the next message box and keeps its text.
void AnswerMessage(QString &text) {
    OnNextModal([&text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        text = box->text();
        box->accept();
    });
}

// Chooses path in the next file dialog.
void ChooseFile(const QString &path) {
    OnNextModal([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

std::vector<int> Listed(const ObjectList &list) {
    std::vector<int> records;
    for (const int record : list.List())
        records.push_back(record);
    return records;
}

// Closes a modal dialog when the queued call that drives it stops early at a failure, so
// that the test goes on to report it.
struct CloseOnExit {
    QDialog *dialog;
    ~CloseOnExit() {
        if (dialog && dialog->isVisible())
            dialog->reject();
    }
};

int CountBrighter(CVesparioDoc &doc, double limit) {
    int n = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        n += doc.GetReal(field::MagnValue, i) <= limit ? 1 : 0;
    return n;
}

} // namespace

class CriteriaDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

    QString CopyOfExample() { return test::CopyOfData(m_profile->path(), "example.obs"); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        QVERIFY(test::WriteShippedProfile(m_profile->path(), "[Settings]\r\nTutorial=0\r\n"));
    }

    void criteriaAreDefinedRefusedSavedAndOpened() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        CVesparioDoc &doc = s.app.Document();
        const size_t all = s.Engine().List().size();
        const int brighter = CountBrighter(doc, 7.4);
        QVERIFY(brighter > 1 && static_cast<size_t>(brighter) < all);

        s.Open("SelectCriteria");
        CriteriaDialog *dialog = s.frame.Criteria();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Selection Criteria"));
        const auto named = [](QWidget *window) {
            const test::AccessibleControls controls = test::WalkAccessible(
                window, {QAccessible::PushButton, QAccessible::ComboBox, QAccessible::EditableText,
                         QAccessible::List, QAccessible::Tree, QAccessible::ButtonMenu,
                         QAccessible::ButtonDropDown});
            QVERIFY(controls.count >= 8);
            QVERIFY2(controls.unnamed.isEmpty(), qPrintable(controls.unnamed.join(", ")));
        };
        named(dialog);
        dialog->Button(QStringLiteral("&Help"))->click();
        QTRY_VERIFY(s.frame.Help() && s.frame.Help()->isVisible());
        QVERIFY(s.frame.Help()->Browser()->source().toString().endsWith(
            QStringLiteral("criteria.html")));
        QAbstractItemModelTester tester(dialog->Lines()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto choose = [&](int32_t field, int32_t code, const QString &value) {
            if (field >= 0)
                QVERIFY(dialog->SelectField(field));
            dialog->OperatorList()->setCurrentIndex(dialog->OperatorList()->findData(code));
            dialog->ValueEdit()->setText(value);
            dialog->Button(QStringLiteral("Add Line"))->click();
        };
        QVERIFY(!dialog->Button(QStringLiteral("Delete Line"))->isEnabled());
        choose(field::MagnValue, op::LessOrEqual, QStringLiteral("7.4"));
        QCOMPARE(dialog->Lines()->count(), 1);
        QVERIFY(dialog->Lines()->item(0)->text().endsWith(
            QStringLiteral(" is less than or equal to 7.4.")));
        QVERIFY(dialog->Button(QStringLiteral("Delete Line"))->isEnabled());

        // The pattern menu inserts at the caret: "[]" with the caret between.
        dialog->ValueEdit()->setText(QStringLiteral("ab"));
        dialog->ValueEdit()->setCursorPosition(1);
        QMenu *patterns = dialog->PatternButton()->menu();
        QVERIFY(patterns && patterns->actions().size() == 12);
        patterns->actions().at(8)->trigger(); // "Set of Characters"
        QCOMPARE(dialog->ValueEdit()->text(), QStringLiteral("a[]b"));
        QCOMPARE(dialog->ValueEdit()->cursorPosition(), 2);

        // An "is near" line without a position is refused with its message.
        QString message;
        AnswerMessage(message);
        choose(-1, op::Near, QStringLiteral("nowhere"));
        QCOMPARE(message, QStringLiteral("\"nowhere\" (in the \"Look for\" box) is not a valid "
                                         "RaDec.  The \"is near\" operator requires a valid RaDec "
                                         "to work correctly."));
        QCOMPARE(dialog->Lines()->count(), 1);
        // An open parenthesis: OK refuses, the dialog stays and the list's criteria stay.
        choose(-1, op::Open, {});
        QCOMPARE(dialog->Lines()->count(), 2);
        AnswerMessage(message);
        dialog->Button(QStringLiteral("OK"))->click();
        QCOMPARE(message,
                 QStringLiteral("Unmatched parenthesis or illegal nesting of parenthesis."));
        QVERIFY(dialog->isVisible());
        QCOMPARE(s.Engine().Criteria().LineCount(), 0);
        QVERIFY(s.PassDone());
        QCOMPARE(s.Engine().List().size(), all);

        // The "(" is selected after its Add: Delete Line takes it, OK selects.
        dialog->Button(QStringLiteral("Delete Line"))->click();
        QCOMPARE(dialog->Lines()->count(), 1);
        dialog->move(120, 80);
        dialog->Button(QStringLiteral("OK"))->click();
        QVERIFY(!dialog->isVisible());
        const std::optional<DialogRect> kept =
            StoredDialogPosition(s.app.Settings().Profile(), "SelectDlgPos");
        QVERIFY(kept && kept->left == 120 && kept->top == 80);
        QCOMPARE(s.Engine().Criteria().LineCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QCOMPARE(s.Engine().List().size(), static_cast<size_t>(brighter));

        // To a file and back: SaveAs appends ".sel"; Open reads the lines with no line chosen.
        s.Open("SelectCriteria");
        QCOMPARE(dialog->Lines()->count(), 1);
        const QString description = dialog->Lines()->item(0)->text();
        ChooseFile(m_profile->filePath(QStringLiteral("brighter")));
        dialog->Button(QStringLiteral("SaveAs"))->click();
        const QString saved = m_profile->filePath(QStringLiteral("brighter.sel"));
        QVERIFY(QFile::exists(saved));
        dialog->Lines()->setCurrentRow(0);
        dialog->Button(QStringLiteral("Delete Line"))->click();
        QCOMPARE(dialog->Lines()->count(), 0);
        ChooseFile(saved);
        dialog->Button(QStringLiteral("Open"))->click();
        QCOMPARE(dialog->Lines()->count(), 1);
        QCOMPARE(dialog->Lines()->item(0)->text(), description);
        QVERIFY(dialog->Lines()->selectedItems().isEmpty());
        QCOMPARE(dialog->FieldList()->currentIndex(), -1);
        QVERIFY(dialog->ValueEdit()->text().isEmpty());
        // Cancel: the criteria and the list stay as they were.
        dialog->Button(QStringLiteral("Cancel"))->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(s.Engine().Criteria().LineCount(), 1);
        QVERIFY(s.PassDone());
        QCOMPARE(s.Engine().List().size(), static_cast<size_t>(brighter));
        s.Exit();
    }

    void theModalSortDialogSortsAndCancelLeavesTheOrder() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        CVesparioDoc &doc = s.app.Document();
        bool ran = false;
        QTimer::singleShot(0, [&] {
            SortDialog *dialog = s.frame.SortOrderDialog();
            const CloseOnExit closer{dialog};
            QVERIFY(dialog && dialog->isModal());
            // While it is open a new pass waits.
            s.Engine().RestartSelection();
            QTest::qWait(100);
            QCOMPARE(s.Engine().ExaminedCount(), 0);
            QCOMPARE(dialog->AddKeyButton()->text(), QStringLiteral("Add"));
            QVERIFY(dialog->SelectAvailable(field::MagnValue));
            dialog->AddKeyButton()->click();
            QCOMPARE(dialog->Keys()->topLevelItemCount(), 1);
            QTreeWidgetItem *key = dialog->Keys()->topLevelItem(0);
            QCOMPARE(key->text(1), QStringLiteral("Insensitive"));
            auto *order = qobject_cast<QComboBox *>(dialog->Keys()->itemWidget(key, 2));
            QVERIFY(order);
            order->setCurrentIndex(1);
            QCOMPARE(key->text(2), QStringLiteral("Descending"));
            const test::AccessibleControls controls = test::WalkAccessible(
                dialog, {QAccessible::PushButton, QAccessible::ComboBox, QAccessible::Tree});
            QVERIFY(controls.count >= 10);
            QVERIFY2(controls.unnamed.isEmpty(), qPrintable(controls.unnamed.join(", ")));
            dialog->Button(QStringLiteral("&Help"))->click();
            QVERIFY(s.frame.Help() && s.frame.Help()->Browser()->source().toString().endsWith(
                                          QStringLiteral("sortorder.html")));
            dialog->move(140, 90);
            ran = true;
            dialog->Button(QStringLiteral("OK"))->click();
        });
        s.Open("SelectSortOrder");
        QVERIFY(ran);
        QVERIFY(!s.frame.SortOrderDialog());
        QCOMPARE(s.Engine().Sort().KeyCount(), 1);
        QCOMPARE(s.Engine().Sort().Key(0), (SortKey{field::MagnValue, 0, 1}));
        const std::optional<DialogRect> kept =
            StoredDialogPosition(s.app.Settings().Profile(), "SortDlgPos");
        QVERIFY(kept && kept->left == 140 && kept->top == 90);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        const std::vector<int> sorted = Listed(s.Engine());
        QVERIFY(sorted.size() >= 10);
        for (size_t k = 1; k < sorted.size(); ++k)
            QVERIFY(doc.GetReal(field::MagnValue, sorted[k - 1]) >=
                    doc.GetReal(field::MagnValue, sorted[k]));

        // Cancel after deleting the key: the order and the list stay.
        ran = false;
        QTimer::singleShot(0, [&] {
            SortDialog *dialog = s.frame.SortOrderDialog();
            const CloseOnExit closer{dialog};
            QVERIFY(dialog);
            QCOMPARE(dialog->pos(), QPoint(140, 90));
            dialog->Keys()->setCurrentItem(dialog->Keys()->topLevelItem(0));
            QCOMPARE(dialog->AddKeyButton()->text(), QStringLiteral("Insert"));
            dialog->Button(QStringLiteral("Delete"))->click();
            QCOMPARE(dialog->Keys()->topLevelItemCount(), 0);
            ran = true;
            dialog->Button(QStringLiteral("Cancel"))->click();
        });
        s.Open("SelectSortOrder");
        QVERIFY(ran);
        QCOMPARE(s.Engine().Sort().KeyCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QCOMPARE(Listed(s.Engine()), sorted);
        s.Exit();
    }

    void theTypeListsMenuAndTheOrderOfAtlases() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        CVesparioDoc &doc = s.app.Document();

        // A right click on "eg=Galaxy" in the open Type list.
        QComboBox *types = s.frame.Form()->TypeCombo();
        types->showPopup();
        QWidget *viewport = types->view()->viewport();
        QTRY_VERIFY(viewport->isVisible());
        const QPoint at = types->view()->visualRect(types->model()->index(0, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        QMenu *menu = s.frame.QuickMenu();
        QVERIFY(menu);
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text();
        QCOMPARE(texts,
                 QStringList({QStringLiteral("Select all Galaxys"),
                              QStringLiteral("Pare to Galaxys"), QStringLiteral("Sort by TYPE"),
                              QStringLiteral("Add new TYPE / View definitions")}));
        menu->actions().at(0)->trigger();
        QCOMPARE(s.Engine().RememberedCriteria(), size_t{1});
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QVERIFY(!s.Engine().List().empty());
        for (const int record : s.Engine().List())
            QCOMPARE(doc.Record(record).Field(field::Type).substr(0, 2), std::string_view("eg"));

        // Define Order of Atlases: Uranometria moved up shows first on the form.
        QCOMPARE(s.app.Settings().General().starAtlas[0], 26);
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<AtlasOrderDialog *>(QApplication::activeModalWidget());
            const CloseOnExit closer{dialog};
            QVERIFY(dialog);
            QCOMPARE(dialog->Atlases()->item(1)->text(), QStringLiteral("Uranometria#"));
            dialog->Atlases()->setCurrentRow(1);
            dialog->MoveUpButton()->click();
            QCOMPARE(dialog->Atlases()->item(0)->text(), QStringLiteral("Uranometria#"));
            ran = true;
            dialog->accept();
        });
        s.Open("SelectAtlasOrder");
        QVERIFY(ran);
        const std::array<int, 7> expected = {27, 26, 48, 49, 67, 68, 74};
        QCOMPARE(s.app.Settings().General().starAtlas, expected);
        QCOMPARE(s.frame.Form()->ChartBox(0)->accessibleName(), QStringLiteral("Uranometria#"));
        s.Exit();
    }
};

QTEST_MAIN(CriteriaDialogsTest)
#include "test_criteriadialogs.moc"
