// The frame's chart tools: the night chart window, the position angle dial and the atlas
// index pictures of the Tools menu, and the night charts following the current object.

#include "ui/cvespariofrm.h"

#include "astro/radectext.h"
#include "db/fieldtable.h"
#include "link/filelauncher.h"
#include "platform/files.h"
#include "ui/greektext.h"
#include "ui/nightchartwidget.h"
#include "ui/padialdialog.h"
#include "ui/qthost.h"

#include <QMenu>
#include <QTimer>

namespace vespario::ui {

void CVesparioFrm::BuildChartActions(QMenu *menu) {
    AddAction(menu, "ToolsNightChart", QStringLiteral("Night C&hart..."), {},
              QStringLiteral("The current object's altitude through the night, with twilight "
                             "and the Moon"),
              [this] { OpenNightChart(); });
    AddAction(menu, "ToolsPaDial", QStringLiteral("&Position Angle Dial..."), {},
              QStringLiteral("Print a position angle dial for the eyepiece at true size"),
              [this] { OpenPaDial(); });
    AddAction(menu, "ToolsSkyAtlasIndex", QStringLiteral("SkyAtlas Inde&x..."), {},
              QStringLiteral("The chart layout of SkyAtlas 2000.0"),
              [this] { OpenAtlasIndex("skyatlas.gif"); });
    AddAction(menu, "ToolsUranometriaIndex", QStringLiteral("&Uranometria Index..."), {},
              QStringLiteral("The chart layout of Uranometria 2000.0"),
              [this] { OpenAtlasIndex("uranomet.gif"); });
}

void CVesparioFrm::OpenNightChart() {
    if (!m_nightChart) {
        m_nightChart = new NightChartWindow(m_app.Place(), m_app.Settings().Profile(), this);
        ChartsFollowCurrent();
    } else {
        m_nightChart->Chart()->Refresh();
    }
    ShowToolWindow(m_nightChart);
}

void CVesparioFrm::ChartsFollowCurrent() {
    const ObjectRecord *current = m_doc ? m_doc->CurrentRecord() : nullptr;
    double ra = 0.0, dec = 0.0;
    const bool has = current && ParseRaDec(current->Field(field::RaDec), ra, dec);
    const QString name =
        has ? DecodeRecordText(m_doc->GetPrimaryId(m_doc->CurrentIndex()), m_doc->GreekSet())
            : QString();
    if (m_whatsUp)
        m_whatsUp->Chart()->SetObject(name, has, ra, dec);
    if (m_nightChart)
        m_nightChart->Chart()->SetObject(name, has, ra, dec);
}

void CVesparioFrm::OpenPaDial() {
    if (m_paDial)
        return;
    PaDialDialog dialog(m_app.Settings().Profile(), this);
    connect(&dialog, &PaDialDialog::HelpAsked, this, &CVesparioFrm::ShowHelp);
    m_paDial = &dialog;
    dialog.exec();
    m_paDial = nullptr;
}

void CVesparioFrm::OpenAtlasIndex(const char *file) {
    // The program's own folder holds the pictures; the bare name when it is not known.
    const std::string folder = platform::DataDir();
    const std::string path = folder.empty() ? std::string(file) : folder + "/" + file;
    const LaunchResult result =
        LaunchFile(m_app.Settings().Vocabularies().HelperApps().Entries(), path);
    if (!result.ok)
        m_host.MessageBox("Unable to run the file.", "Vespario", platform::Buttons::Ok);
}

} // namespace vespario::ui

namespace vespario::ui {

// The screenshot script's pictures of the tool windows: the window is opened, grabbed once it
// has been painted, and the program ends.
void CVesparioFrm::GrabWindowScreenshot(const QString &window, const QString &file) {
    const auto grabSoon = [this, file](QWidget *shown) {
        QTimer::singleShot(800, this, [this, shown, file] {
            if (!shown || !shown->grab().save(file, "PNG"))
                m_host.SetStatusText(0, "The screenshot could not be written");
            if (auto *dialog = qobject_cast<QDialog *>(shown); dialog && dialog->isModal())
                dialog->reject();
            else
                close();
        });
    };
    if (window == QLatin1String("whatsup")) {
        OpenWhatsUp();
        grabSoon(m_whatsUp);
    } else if (window == QLatin1String("nightchart")) {
        OpenNightChart();
        grabSoon(m_nightChart);
    } else if (window == QLatin1String("settings") || window == QLatin1String("padial")) {
        const bool settings = window == QLatin1String("settings");
        QTimer::singleShot(0, this, [this, settings, grabSoon] {
            grabSoon(settings ? static_cast<QWidget *>(m_settingsSheet) : m_paDial);
        });
        settings ? OpenSettings() : OpenPaDial();
        close();
    } else {
        m_host.SetStatusText(0, "No such window for a screenshot");
        close();
    }
}

} // namespace vespario::ui
