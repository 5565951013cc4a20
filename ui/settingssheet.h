#pragma once
// The Settings sheet: a tab for each of the SettingsSheetModel's pages, opened on the page
// the profile names, with OK, Cancel, Apply and Help. OK and Apply do what the model does
// (a refused one shows the offending page); Cancel changes nothing but the page remembered.
// The rectangle is kept under "SettingsDlgPos".

#include "app/settingssheetmodel.h"

#include <QDialog>

#include <array>

class QPushButton;
class QTabWidget;

namespace vespario::ui {

class CodePageWidget;
class HelperAppPageWidget;
class PlanetariumPageWidget;
class PreferencesPageWidget;

class SettingsSheet : public QDialog {
    Q_OBJECT
public:
    // doc: the open database, or nullptr; placeCode: the place the Places page shows first.
    SettingsSheet(AppSettings &settings, platform::Host &host, char placeCode, CVesparioDoc *doc,
                  QWidget *parent);

    SettingsSheetModel &Model() { return m_model; }
    QTabWidget *Tabs() const { return m_tabs; }
    // The page widget of a code page (nullptr for the other pages).
    CodePageWidget *CodePageAt(int page) const;
    HelperAppPageWidget *HelperApps() const { return m_helperApps; }
    PreferencesPageWidget *Preferences() const { return m_preferences; }
    PlanetariumPageWidget *Planetariums() const { return m_planetariums; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *ApplyButton() const { return m_apply; }

    void accept() override;
    void reject() override;
    void done(int result) override;

signals:
    // After OK or Apply changed the default place or its record.
    void PlaceChanged();
    void HelpAsked(const QString &page);

private:
    bool ApplyChanges(bool closing);
    void RestorePosition();

    AppSettings &m_settings;
    SettingsSheetModel m_model;
    CVesparioDoc *m_doc;
    QTabWidget *m_tabs;
    std::array<CodePageWidget *, kSettingsPageCount> m_codePages{};
    HelperAppPageWidget *m_helperApps;
    PreferencesPageWidget *m_preferences;
    PlanetariumPageWidget *m_planetariums;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_apply;
};

} // namespace vespario::ui
