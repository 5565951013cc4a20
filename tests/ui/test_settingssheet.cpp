// The Settings sheet on the offscreen platform, driven through the Tools menu as the user
// opens it: the page remembered in the profile, a new default place reaching a list sorted by
// altitude, Cancel keeping every vocabulary, a duplicate code refused, every control named.

#include "app/cvesparioapp.h"
#include "db/cvespariodoc.h"
#include "db/fieldtable.h"
#include "select/objectlist.h"
#include "settings/dialogpositions.h"
#include "ui/codepagewidget.h"
#include "ui/cvespariofrm.h"
#include "ui/cvespariovwid.h"
#include "ui/helperapppagewidget.h"
#include "ui/helpwindow.h"
#include "ui/placepagewidget.h"
#include "ui/planetariumpagewidget.h"
#include "ui/preferencespagewidget.h"
#include "ui/qthost.h"
#include "ui/settingssheet.h"
#include "windowsession.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace vespario;
using namespace vespario::ui;

namespace {

using test::kPassTimeoutMs;

// A run on the sample database.
struct Session : test::Session {
    explicit Session(const QString &profileFolder) : test::Session(profileFolder) {
        Start({QStringLiteral(VESPARIO_SOURCE_DATA_DIR "/sample.obs")});
    }
    // Opens the sheet from the menu; work runs on it inside its modal loop. Returns when the
    // sheet has closed.
    void WithSheet(const std::function<void(SettingsSheet &)> &work) {
        bool ran = false;
        QMetaObject::invokeMethod(
            &frame,
            [&] {
                ran = true;
                SettingsSheet *sheet = frame.SettingsDialog();
                QVERIFY(sheet && sheet->isModal() && sheet->isVisible());
                work(*sheet);
                if (sheet->isVisible()) // a failed check must not leave the loop running
                    sheet->reject();
            },
            Qt::QueuedConnection);
        frame.Action(QStringLiteral("ToolsSettings"))->trigger();
        QVERIFY(ran);
        QVERIFY(!frame.SettingsDialog());
    }
    std::vector<std::vector<std::string>> Vocabularies() {
        std::vector<std::vector<std::string>> lists;
        for (Vocabulary v : kVocabularyLoadOrder)
            lists.push_back(app.Settings().Vocabularies().List(v).Entries());
        return lists;
    }
};

// The next message box is answered once it shows; its text lands in text.
void AnswerNextMessage(QString &text, QMessageBox::StandardButton answer = QMessageBox::Ok) {
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [&text, answer, poll] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            text = box->text();
            box->button(answer)->click();
        }
    });
    poll->start(0);
}

void Type(QLineEdit *edit, const QString &text) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void SetNumber(QDoubleSpinBox *box, double value) {
    box->setValue(value);
    QVERIFY(std::abs(box->value() - value) < 1e-9);
}

void CheckNames(QWidget *sheet) {
    // Hidden parts (the other tabs, a closed drop-down's list) are walked on their own turn.
    const test::AccessibleControls controls = test::WalkAccessible(
        sheet,
        {QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton,
         QAccessible::ComboBox, QAccessible::SpinBox, QAccessible::EditableText, QAccessible::List,
         QAccessible::Tree, QAccessible::PageTab},
        true);
    QVERIFY(controls.count >= 15); // the tabs and the sheet's buttons at least
    QVERIFY2(controls.unnamed.isEmpty(), qPrintable(controls.unnamed.join(QStringLiteral(", "))));
}

} // namespace

class SettingsSheetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_profile;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_profile = std::make_unique<QTemporaryDir>();
        QVERIFY(m_profile->isValid());
        // A profile left on the Books page by an older version, which numbered it 9.
        QVERIFY(test::WriteShippedProfile(m_profile->path(),
                                          "[Settings]\r\nTutorial=0\r\nCurPage=9\r\n"));
    }

    void opensOnThePageRememberedWithEveryControlNamed() {
        Session s(m_profile->path());
        s.WithSheet([&](SettingsSheet &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Settings"));
            QCOMPARE(sheet.Tabs()->count(), kSettingsPageCount);
            QCOMPARE(sheet.Tabs()->currentIndex(), static_cast<int>(kPlacesPage));
            QCOMPARE(sheet.Tabs()->tabText(kPlacesPage), QStringLiteral("Places"));
            // The Places page opens on the default place, its code box locked.
            auto *places = static_cast<PlacePageWidget *>(sheet.CodePageAt(kPlacesPage));
            QTreeWidgetItem *current = places->List()->currentItem();
            QVERIFY(current);
            QCOMPARE(current->text(0), QString(QChar::fromLatin1(s.app.Place().Code())));
            QVERIFY(places->IsUsedBox()->isChecked());
            QVERIFY(!places->CodeBox()->isEnabled());
            QVERIFY(places->MeaningBox()->isEnabled());
            // Every list's model is checked while the pages change their rows.
            std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
            const auto watch = [&](QAbstractItemModel *list) {
                testers.push_back(std::make_unique<QAbstractItemModelTester>(
                    list, QAbstractItemModelTester::FailureReportingMode::QtTest));
            };
            for (int page = 0; page < kSettingsPageCount; ++page) {
                if (CodePageWidget *codes = sheet.CodePageAt(page)) {
                    watch(codes->List()->model());
                    QCOMPARE(codes->List()->topLevelItemCount(),
                             static_cast<int>(sheet.Model().CodePage(page)->Rows().size()));
                    // Nothing selected: the boxes and Delete wait for a row.
                    if (page != kPlacesPage) {
                        QVERIFY(!codes->MeaningBox()->isEnabled());
                        QVERIFY(!codes->DeleteButton()->isEnabled());
                    }
                }
            }
            for (QAbstractItemModel *list :
                 {sheet.HelperApps()->List()->model(), sheet.Planetariums()->List()->model(),
                  sheet.Preferences()->EditChecks()->model(),
                  sheet.Preferences()->AtlasOrder()->model()})
                watch(list);
            CodePageWidget &types = *sheet.CodePageAt(kTypesPage);
            const int typeRows = types.List()->topLevelItemCount();
            types.InsertButton()->click();
            QCOMPARE(types.List()->topLevelItemCount(), typeRows + 1);
            QCOMPARE(types.List()->currentItem()->text(0), QStringLiteral("XX"));
            QVERIFY(types.CodeBox()->isEnabled() && types.DeleteButton()->isEnabled());
            QString question;
            AnswerNextMessage(question, QMessageBox::Yes);
            types.DeleteButton()->click();
            QVERIFY(
                question.startsWith(QStringLiteral("Are you sure you wish to delete this type")));
            QCOMPARE(types.List()->topLevelItemCount(), typeRows);
            QVERIFY(!types.List()->currentItem() && !types.DeleteButton()->isEnabled());
            for (QPushButton *button : sheet.Planetariums()->findChildren<QPushButton *>())
                if (button->text() == QStringLiteral("&Insert"))
                    button->click();
            QCOMPARE(sheet.Planetariums()->List()->topLevelItemCount(), 1);
            QCOMPARE(sheet.Planetariums()->List()->currentItem()->text(0),
                     QStringLiteral("Unknown"));
            QCOMPARE(sheet.Preferences()->AtlasOrder()->count(), 7);
            // The DDE fields wait for "Use DDE".
            HelperAppPageWidget &apps = *sheet.HelperApps();
            apps.List()->setCurrentItem(apps.List()->topLevelItem(0));
            apps.UseDdeBox()->setChecked(false);
            QVERIFY(!apps.DdeApplicationBox()->isEnabled());
            apps.UseDdeBox()->setChecked(true);
            QVERIFY(apps.DdeApplicationBox()->isEnabled());
            for (int page = 0; page < kSettingsPageCount; ++page) {
                sheet.Tabs()->setCurrentIndex(page);
                CheckNames(&sheet);
            }
            sheet.Tabs()->setCurrentIndex(kTypesPage);
            sheet.CancelButton()->click();
        });
        // The page shown last is remembered, even on Cancel, and so is the rectangle.
        QCOMPARE(s.app.General().curPage, static_cast<int>(kTypesPage));
        const std::optional<DialogRect> rect =
            StoredDialogPosition(s.app.Settings().Profile(), "SettingsDlgPos");
        QVERIFY(rect && rect->Width() > 0 && rect->Height() > 0);
        StoreDialogPosition(s.app.Settings().Profile(), "SettingsDlgPos",
                            DialogRect{40, 30, 40 + 913, 30 + 771});
        s.WithSheet([&](SettingsSheet &sheet) {
            QCOMPARE(sheet.Tabs()->currentIndex(), static_cast<int>(kTypesPage));
            QCOMPARE(sheet.size(), QSize(913, 771));
            sheet.CancelButton()->click();
        });
        s.Exit();
    }

    void aNewDefaultPlaceResortsTheListByAltitude() {
        Session s(m_profile->path());
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        s.Engine().Sort().AddKey(field::Altitude, 0, 0);
        s.Engine().RestartSelection();
        s.frame.WakeIdle();
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        const int places = s.app.Settings().Vocabularies().Places().Count();
        const char oldCode = s.app.Place().Code();
        std::vector<int> before;
        for (size_t i = 0; i < s.Engine().List().size(); ++i)
            before.push_back(s.Engine().List()[i]);

        int notices = 0;
        s.WithSheet([&](SettingsSheet &sheet) {
            connect(&sheet, &SettingsSheet::PlaceChanged, [&] {
                ++notices;
                QVERIFY(s.Engine().PassRunning());
            });
            auto *page = static_cast<PlacePageWidget *>(sheet.CodePageAt(kPlacesPage));
            page->InsertButton()->click();
            QVERIFY(page->CodeBox()->isEnabled() && sheet.focusWidget() == page->CodeBox());
            QVERIFY(!page->IsUsedBox()->isChecked());
            Type(page->CodeBox(), QStringLiteral("Q"));
            Type(page->MeaningBox(), QStringLiteral("Cape Town"));
            SetNumber(page->LatitudeBox(), 33.9);
            SetNumber(page->LongitudeBox(), 18.4);
            for (QCheckBox *box : page->findChildren<QCheckBox *>())
                if (box->accessibleName() == QStringLiteral("South"))
                    box->setChecked(true);
                else if (box->accessibleName() == QStringLiteral("West"))
                    box->setChecked(false);
            page->IsUsedBox()->setChecked(true);
            QTreeWidgetItem *row = page->List()->currentItem();
            QCOMPARE(row->text(0), QStringLiteral("Q"));
            QCOMPARE(row->text(1), QStringLiteral("Cape Town"));
            QVERIFY(page->IsUsedBox()->isChecked());
            sheet.OkButton()->click();
            QVERIFY(!sheet.isVisible());
        });
        QCOMPARE(s.app.Settings().Vocabularies().Places().Count(), places + 1);
        QVERIFY(oldCode != 'Q');
        QCOMPARE(s.app.Place().Code(), 'Q');
        QVERIFY(std::abs(s.app.Place().Latitude() + 33.9) < 1e-6);
        // The place notice has started a new pass, which sorts by the new altitudes.
        QCOMPARE(notices, 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.PassDone(), kPassTimeoutMs);
        const SelectionList &list = s.Engine().List();
        QVERIFY(list.size() > 10);
        CVesparioDoc &doc = s.app.Document();
        std::vector<int> after;
        for (size_t i = 0; i < list.size(); ++i) {
            after.push_back(list[i]);
            if (i > 0)
                QVERIFY(doc.GetAltitude(list[i - 1]) <= doc.GetAltitude(list[i]) + 1e-9);
        }
        QCOMPARE(after.size(), before.size());
        QVERIFY(after != before);
        s.Exit();
        // Saved with the profile: the new place and its code as the default.
        QFile saved(m_profile->filePath(QStringLiteral("Vespario.ini")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray profile = saved.readAll();
        QVERIFY(profile.contains("Q=Cape Town|"));
        QVERIFY(profile.contains("Default=81"));
    }

    void cancelLeavesEveryVocabularyUnchanged() {
        Session s(m_profile->path());
        const auto before = s.Vocabularies();
        const std::string place = s.app.Place().Format('|');
        const auto atlas = s.app.General().starAtlas;
        s.WithSheet([&](SettingsSheet &sheet) {
            for (int page = 0; page < kSettingsPageCount; ++page) {
                CodePageWidget *codes = sheet.CodePageAt(page);
                if (!codes)
                    continue;
                sheet.Tabs()->setCurrentIndex(page);
                codes->InsertButton()->click();
                Type(codes->MeaningBox(), QStringLiteral("changed"));
                if (codes->List()->topLevelItemCount() > 1) {
                    codes->List()->setCurrentItem(codes->List()->topLevelItem(1));
                    Type(codes->MeaningBox(), QStringLiteral("re-described"));
                }
            }
            sheet.Tabs()->setCurrentIndex(kHelperAppsPage);
            for (QWidget *page : std::initializer_list<QWidget *>{
                     sheet.HelperApps(), sheet.Planetariums(), sheet.Preferences()})
                for (QPushButton *button : page->findChildren<QPushButton *>())
                    if (button->text() == QStringLiteral("&Insert") ||
                        button->text() == QStringLiteral("Turn All O&ff"))
                        button->click();
            QListWidget *atlases = sheet.Preferences()->AtlasOrder();
            atlases->setCurrentRow(3);
            sheet.Preferences()->MoveUpButton()->click();
            QCOMPARE(atlases->currentRow(), 2);
            auto *places = static_cast<PlacePageWidget *>(sheet.CodePageAt(kPlacesPage));
            places->IsUsedBox()->setChecked(true);
            SetNumber(places->LatitudeBox(), 12.5);
            sheet.CancelButton()->click();
        });
        QVERIFY(s.Vocabularies() == before);
        QCOMPARE(s.app.Place().Format('|'), place);
        QCOMPARE(s.app.General().starAtlas, atlas);
        s.Exit();
    }

    void aDuplicateCodeIsRefusedOnItsPage() {
        Session s(m_profile->path());
        const auto before = s.Vocabularies();
        s.WithSheet([&](SettingsSheet &sheet) {
            CodePageWidget *types = sheet.CodePageAt(kTypesPage);
            QVERIFY(types->List()->topLevelItemCount() > 0);
            const QString taken = types->List()->topLevelItem(0)->text(0);
            sheet.Tabs()->setCurrentIndex(kTypesPage);
            types->InsertButton()->click();
            Type(types->CodeBox(), taken);
            QCOMPARE(types->List()->currentItem()->text(0), taken);
            sheet.Tabs()->setCurrentIndex(kBooksPage);
            QString message;
            AnswerNextMessage(message);
            sheet.OkButton()->click();
            QCOMPARE(message, QStringLiteral("Unique codes must be used for all Types. ") + taken +
                                  QStringLiteral(" is a duplicate."));
            QVERIFY(sheet.isVisible());
            QCOMPARE(sheet.Tabs()->currentIndex(), static_cast<int>(kTypesPage));
            // Apply is refused the same way.
            AnswerNextMessage(message);
            sheet.ApplyButton()->click();
            QVERIFY(message.startsWith(QStringLiteral("Unique codes")));
            for (QPushButton *button : sheet.findChildren<QPushButton *>())
                if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Help"))
                    button->click();
            QVERIFY(s.frame.Help() && s.frame.Help()->isVisible());
            QCOMPARE(s.frame.Help()->Browser()->source().fileName(),
                     QStringLiteral("settings.html"));
            sheet.CancelButton()->click();
        });
        QVERIFY(s.Vocabularies() == before);
        s.Exit();
    }
};

QTEST_MAIN(SettingsSheetTest)
#include "test_settingssheet.moc"
