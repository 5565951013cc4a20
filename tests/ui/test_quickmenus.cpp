// The quick commands of the record views on the offscreen platform: a right click on the
// magnitude box offers the object's own magnitude, choosing it pushes criteria and the list
// follows, reverting returns to the criteria before; Set All from a checkbox's menu and from
// the Edit menu, saved and read back.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "settings/dialogpositions.h"
#include "settings/settingsvocabularies.h"
#include "ui/ceditvw.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovw.h"
#include "ui/cvespariovwid.h"
#include "ui/cvespariovwtag.h"
#include "ui/qthost.h"
#include "ui/setalldialog.h"
#include "windowsession.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

using namespace vespario;
using namespace vespario::ui;

namespace {

using test::kPassTimeoutMs;
using test::Session;

// A right click in the middle of a widget, as the window system delivers it.
void RightClick(QWidget *widget) {
    const QPoint at = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

QStringList EntryTexts(const QMenu *menu) {
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    return texts;
}

QAction *Entry(const QMenu *menu, const QString &text) {
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

std::set<std::string> ListedIds(CVesparioDoc &doc, const ObjectList &list) {
    std::set<std::string> ids;
    for (const int record : list.List())
        ids.emplace(doc.Record(record).Field(field::Id));
    return ids;
}

struct Fields {
    std::string tries;
    std::string boxes;
};

// Every record's Try and CheckBoxes by its ID, as a fresh document reads them from the file.
std::map<std::string, Fields> ReadBack(const QString &path) {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc(host, profile);
    std::map<std::string, Fields> fields;
    if (!doc.ReadDatabaseFile(path.toStdString()))
        return fields;
    doc.LoadCompletely();
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        doc.EnsureParsed(i);
        const ObjectRecord &r = doc.Record(i);
        fields[std::string(r.Field(field::Id))] = {std::string(r.Field(field::Try)),
                                                   std::string(r.Field(field::CheckBoxes))};
    }
    return fields;
}

} // namespace

class QuickMenusTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

    QString CopyOfExample() { return test::CopyOfData(m_profile->path(), "example.obs"); }

    // Goes to the listed object with that ID.
    static bool GoToId(Session &s, std::string_view id) {
        const ObjectList &list = s.Engine();
        for (size_t k = 0; k < list.List().size(); ++k)
            if (s.app.Document().Record(list.List()[k]).Field(field::Id) == id)
                return s.frame.GoTo(list.List()[k]);
        return false;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        QVERIFY(test::WriteShippedProfile(m_profile->path(), "[Settings]\r\nTutorial=0\r\n"));
    }

    void theMagnitudeMenuSelectsBrighterObjectsAndRevertReturns() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        Session s(m_profile->path());
        QVERIFY(s.StartAndSettle({copy}));
        CVesparioDoc &doc = s.app.Document();
        const size_t all = s.Engine().List().size();
        QVERIFY(all >= 10);
        QVERIFY(GoToId(s, "=M27=n6853=Dumbbell Nebula="));

        QLineEdit *magn = s.frame.Form()->StoredEdit(field::Magn);
        QCOMPARE(magn->text(), QStringLiteral("7.4"));
        RightClick(magn);
        QMenu *menu = s.frame.QuickMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(EntryTexts(menu),
                 QStringList({QStringLiteral("Select all objects brighter than 7.4"),
                              QStringLiteral("Pare to objects brighter than 7.4"),
                              QStringLiteral("Sort by Magn")}));
        // The menu is built for the field under the mouse: the text view of Info gives its own.
        RightClick(s.frame.TextView(0)->viewport());
        QVERIFY(s.frame.QuickMenu() && s.frame.QuickMenu() != menu);
        QCOMPARE(EntryTexts(s.frame.QuickMenu()).last(), QStringLiteral("Sort by info"));
        s.frame.QuickMenu()->close();
        RightClick(magn);
        menu = s.frame.QuickMenu();
        QVERIFY(menu);
        QAction *select = Entry(menu, QStringLiteral("Select all objects brighter than 7.4"));
        QVERIFY(select);
        select->trigger();
        QCOMPARE(s.Engine().RememberedCriteria(), size_t{1});
        QCOMPARE(s.Engine().Criteria().LineCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        size_t brighter = 0;
        for (int i = 0; i < doc.GetRecordCount(); ++i)
            brighter += doc.GetReal(field::MagnValue, i) <= 7.4 ? 1 : 0;
        QVERIFY(brighter > 1 && brighter < all);
        QCOMPARE(s.Engine().List().size(), brighter);
        for (const int record : s.Engine().List())
            QVERIFY(doc.GetReal(field::MagnValue, record) <= 7.4);

        // Close of the criteria dialog: the criteria before come back.
        s.Engine().RevertCriteria();
        s.frame.WakeIdle();
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        QCOMPARE(s.Engine().RememberedCriteria(), size_t{0});
        QCOMPARE(s.Engine().List().size(), all);

        // A computed box: its menu ends in Field Help, which opens the fields page.
        RightClick(s.frame.Form()->ComputedBox(field::Altitude));
        QVERIFY(s.frame.QuickMenu());
        QAction *help = Entry(s.frame.QuickMenu(), QStringLiteral("Field Help"));
        QVERIFY(help);
        help->trigger();
        QVERIFY(s.frame.Help() && s.frame.Help()->isVisible());
        s.Exit();
    }

    void setAllFromACheckboxAndFromTheEditMenuIsSaved() {
        const QString copy = CopyOfExample();
        QVERIFY(!copy.isEmpty());
        const std::map<std::string, Fields> before = ReadBack(copy);
        QVERIFY(before.size() >= 10);
        std::set<std::string> listed;
        char box = 0;
        char tryCode = 0;
        {
            Session s(m_profile->path());
            QVERIFY(s.StartAndSettle({copy}));
            // Pare to the brighter objects, so that Set All leaves some alone.
            QVERIFY(GoToId(s, "=M27=n6853=Dumbbell Nebula="));
            RightClick(s.frame.Form()->StoredEdit(field::Magn));
            QVERIFY(s.frame.QuickMenu());
            Entry(s.frame.QuickMenu(), QStringLiteral("Pare to objects brighter than 7.4"))
                ->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
            listed = ListedIds(s.app.Document(), s.Engine());
            QVERIFY(!listed.empty() && listed.size() < before.size());

            const CodeList &boxes = s.app.Settings().Vocabularies().Checkboxes();
            QVERIFY(boxes.Count() >= 2 && !s.frame.TagView()->Boxes().empty());
            const int second = 1;
            box = boxes.CodeOf(second).front();
            const QString name =
                QString::fromLatin1(boxes.MeaningOf(second).data(),
                                    static_cast<qsizetype>(boxes.MeaningOf(second).size()));
            RightClick(s.frame.TagView()->Boxes()[second]);
            QVERIFY(s.frame.QuickMenu());
            QAction *setOrClear =
                Entry(s.frame.QuickMenu(),
                      QStringLiteral("Set or Clear checkbox %1 in all selected objects").arg(name));
            QVERIFY2(setOrClear, qPrintable(EntryTexts(s.frame.QuickMenu()).join('|')));
            setOrClear->trigger();
            SetAllDialog *dialog = s.frame.SetAll();
            QVERIFY(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("In All Selected Objects, Set"));
            QVERIFY(dialog->CheckboxChoice()->isChecked());
            QCOMPARE(dialog->CheckboxList()->currentIndex(), second);
            QTRY_COMPARE(QApplication::focusWidget(),
                         static_cast<QWidget *>(dialog->CheckedList()));
            dialog->CheckedList()->setCurrentIndex(0); // Checked
            dialog->move(130, 90);
            dialog->OkButton()->click();
            QTRY_VERIFY(!s.frame.SetAll()); // deleted once closed
            const std::optional<DialogRect> kept =
                StoredDialogPosition(s.app.Settings().Profile(), "SetAllDlgPos");
            QVERIFY(kept.has_value());
            QCOMPARE(QPoint(kept->left, kept->top), QPoint(130, 90));

            // From the Edit menu: Try, to a value that changes some of the listed objects.
            s.frame.Action(QStringLiteral("EditSetAll"))->trigger();
            dialog = s.frame.SetAll();
            QVERIFY(dialog);
            QVERIFY(dialog->TryChoice()->isChecked());
            QCOMPARE(dialog->pos(), QPoint(kept->left, kept->top));
            const CodeList &tries = s.app.Settings().Vocabularies().TryValues();
            for (int i = 0; i < dialog->TryList()->count() && !tryCode; ++i) {
                const char code = tries.CodeOf(i).front();
                bool changes = false;
                for (const std::string &id : listed)
                    changes = changes || before.at(id).tries != std::string(1, code);
                if (changes) {
                    dialog->TryList()->setCurrentIndex(i);
                    tryCode = code;
                }
            }
            QVERIFY(tryCode != 0);
            dialog->OkButton()->click();
            QVERIFY(s.frame.SaveDocument());
            s.Exit();
        }
        const std::map<std::string, Fields> after = ReadBack(copy);
        QCOMPARE(after.size(), before.size());
        int gained = 0;
        for (const auto &[id, f] : after) {
            const Fields &was = before.at(id);
            if (!listed.count(id)) {
                QCOMPARE(f.tries, was.tries);
                QCOMPARE(f.boxes, was.boxes);
                continue;
            }
            QCOMPARE(f.tries, std::string(1, tryCode));
            QVERIFY(f.boxes.find(box) != std::string::npos);
            // A box already checked is not added twice.
            if (was.boxes.find(box) != std::string::npos)
                QCOMPARE(f.boxes, was.boxes);
            else
                QCOMPARE(f.boxes, was.boxes + box);
            gained += was.boxes.find(box) == std::string::npos ? 1 : 0;
        }
        QVERIFY(gained > 0);
    }
};

QTEST_MAIN(QuickMenusTest)
#include "test_quickmenus.moc"
