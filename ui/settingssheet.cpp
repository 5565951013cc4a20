#include "ui/settingssheet.h"

#include "settings/dialogpositions.h"
#include "ui/codepagewidget.h"
#include "ui/helperapppagewidget.h"
#include "ui/placepagewidget.h"
#include "ui/planetariumpagewidget.h"
#include "ui/preferencespagewidget.h"
#include "ui/sourcepagewidget.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vespario::ui {

namespace {

struct CodePageText {
    SettingsPage page;
    const char *explanation;
    const char *code;
    const char *meaning;
};

// The pages that are a code list and nothing more.
constexpr std::array<CodePageText, 6> kPlainCodePages = {{
    {kCheckboxesPage,
     "The checkboxes an object can carry. A checkbox already in use keeps its code; "
     "it can only be described again.",
     "Code", "Meaning"},
    {kTryPage, "The try values: how an object was tried for, or should be.", "Code", "Meaning"},
    {kTypesPage, "The two-character object types. A type already in use keeps its code.", "Code",
     "Meaning"},
    {kEquipmentPage, "The equipment codes that begin an observation.", "Code", "Description"},
    {kBooksPage, "The books referred to by their abbreviation in the references.", "Abbreviation",
     "Title"},
    {kMagazinesPage, "The magazines referred to by their code in the references.", "Code", "Title"},
}};

QString Title(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SettingsSheet::SettingsSheet(AppSettings &settings, platform::Host &host, char placeCode,
                             CVesparioDoc *doc, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_model(settings, host, placeCode), m_doc(doc),
      m_tabs(new QTabWidget(this)),
      m_helperApps(new HelperAppPageWidget(m_model.HelperApps(), m_tabs)),
      m_preferences(new PreferencesPageWidget(m_model.Preferences(), m_tabs)),
      m_planetariums(new PlanetariumPageWidget(m_model.Planetariums(), m_tabs)) {
    setWindowTitle(Title(kSettingsSheetTitle));
    setObjectName(Title(kSettingsDialogSection));
    setSizeGripEnabled(true);
    for (const CodePageText &text : kPlainCodePages)
        m_codePages[text.page] = new CodePageWidget(
            *m_model.CodePage(text.page), QString::fromUtf8(text.explanation),
            {QString::fromUtf8(text.code), QString::fromUtf8(text.meaning)}, m_tabs);
    m_codePages[kSourcesPage] = new SourcePageWidget(m_model.Sources(), m_tabs);
    m_codePages[kPlacesPage] = new PlacePageWidget(m_model.Places(), m_tabs);
    m_helperApps->Sync();
    m_preferences->Sync();
    m_planetariums->Sync();
    for (int page = 0; page < kSettingsPageCount; ++page) {
        QWidget *widget = m_codePages[static_cast<size_t>(page)];
        if (CodePageWidget *codes = m_codePages[static_cast<size_t>(page)])
            codes->Sync();
        else if (page == kHelperAppsPage)
            widget = m_helperApps;
        else if (page == kPreferencesPage)
            widget = m_preferences;
        else
            widget = m_planetariums;
        m_tabs->addTab(widget, Title(kSettingsPageTitles[static_cast<size_t>(page)]));
    }
    m_tabs->setCurrentIndex(m_model.CurrentPage());
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int page) { m_model.SetCurrentPage(page); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                             QDialogButtonBox::Apply | QDialogButtonBox::Help,
                                         this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_ok->setAccessibleDescription(QStringLiteral("Keeps the changes of every page and closes"));
    m_cancel->setAccessibleDescription(QStringLiteral("Closes without changing anything"));
    m_apply->setAccessibleDescription(QStringLiteral("Keeps the changes of every page"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsSheet::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { ApplyChanges(false); });
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit HelpAsked(QStringLiteral("settings.html")); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    RestorePosition();
}

CodePageWidget *SettingsSheet::CodePageAt(int page) const {
    return page >= 0 && page < kSettingsPageCount ? m_codePages[static_cast<size_t>(page)]
                                                  : nullptr;
}

bool SettingsSheet::ApplyChanges(bool closing) {
    const bool done = closing ? m_model.Ok(m_doc) : m_model.Apply(m_doc);
    if (!done) {
        // The model has told which code is a duplicate; its page is shown.
        m_tabs->setCurrentIndex(m_model.CurrentPage());
        return false;
    }
    if (m_model.PlaceChanged())
        emit PlaceChanged();
    return true;
}

void SettingsSheet::accept() {
    if (ApplyChanges(true))
        QDialog::accept();
}

void SettingsSheet::reject() {
    m_model.Cancel();
    QDialog::reject();
}

void SettingsSheet::done(int result) {
    const QPoint at = pos();
    StoreDialogPosition(m_settings.Profile(), kSettingsDialogSection,
                        DialogRect{at.x(), at.y(), at.x() + width(), at.y() + height()});
    QDialog::done(result);
}

void SettingsSheet::RestorePosition() {
    const std::optional<DialogRect> rect =
        StoredDialogPosition(m_settings.Profile(), kSettingsDialogSection);
    if (!rect)
        return;
    if (rect->Width() > 0 && rect->Height() > 0)
        resize(rect->Width(), rect->Height());
    move(rect->left, rect->top);
}

} // namespace vespario::ui
