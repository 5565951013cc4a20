#include "app/cvesparioapp.h"

#include "astro/calendar.h"
#include "platform/files.h"

#include <filesystem>

namespace vespario {

CVesparioApp::CVesparioApp(platform::Host &host) : m_host(host) {}

CVesparioApp::~CVesparioApp() = default;

std::string CVesparioApp::Version() {
    return VESPARIO_APP_VERSION;
}

// A first run starts from the profile that ships with the program, so that the
// vocabularies hold sensible codes and helpers from the beginning.
void CVesparioApp::LoadProfile(const StartupOptions &options) {
    const std::string folder =
        options.profileFolder.empty() ? platform::ProfileDir() : options.profileFolder;
    const std::string current = options.currentFolder.empty() ? "." : options.currentFolder;
    const std::string target = folder + "/" + kProfileFileName;
    const std::string shipped = platform::DataDir() + "/" + kProfileFileName;
    if (!platform::FileExists(target) && !platform::FileExists(current + "/" + kProfileFileName) &&
        platform::FileExists(shipped)) {
        if (const auto text = platform::ReadWholeFile(shipped);
            text && platform::CreateFolders(folder))
            (void)platform::WriteWholeFileAtomic(target, *text);
    }
    if (!m_settings.Start(folder, current, folder + "/registry.ini"))
        m_host.MessageBox("The settings file " + m_settings.Location().path +
                              " could not be read; the defaults are used and it is left as it "
                              "is.\n" +
                              m_settings.Error(),
                          "Vespario", platform::Buttons::Ok);
    m_recent.Load(m_settings.Profile());
}

StartResult CVesparioApp::Start(const StartupOptions &options, AppWindow &window) {
    LoadProfile(options);
    Place().SetInstant(PresentMoment());
    m_command = ParseCommandLine(options.args);

    // Hand-over: a command without a file goes to the instance that runs already, and this
    // one ends quietly.
    if (m_command.HasCommand() && m_command.fileName.empty() && m_link &&
        m_link->HandOver(m_command.HandOverCommand()))
        return StartResult::HandedOver;

    m_astro = std::make_unique<AstroPositionServices>(Place());
    m_doc = std::make_unique<CVesparioDoc>(m_host, m_settings.Profile(), m_astro.get());
    if (!window.CreateFrame())
        return StartResult::Failed;
    if (!OpenStartingDocument(options.currentFolder.empty() ? "." : options.currentFolder, window))
        return StartResult::Failed;
    // Once a document is open, other programs may send their commands.
    if (m_link)
        m_link->StartCommandTopic(window);
    if (m_command.HasCommand())
        window.SendCommandToWindow(m_command.CommandIdentifier(), m_command.CommandText());
    return StartResult::Running;
}

bool CVesparioApp::OpenStartingDocument(const std::string &currentFolder, AppWindow &window) {
    if (!m_command.fileName.empty())
        return window.OpenDocumentFile(m_command.fileName);
    const std::string full = currentFolder + "/" + kFullDatabaseName;
    if (platform::FileExists(full))
        return window.OpenDocumentFile(full);
    window.NewDocument();
    return true;
}

bool CVesparioApp::Exit() {
    if (m_link)
        m_link->StopCommandTopic();
    m_recent.Save(m_settings.Profile());
    return m_settings.Save();
}

bool CVesparioApp::OpenDocument(const std::string &path) {
    if (!m_doc->ReadDatabaseFile(path)) {
        m_recent.Remove(path);
        m_host.MessageBox("Cannot open the file " + path, "Vespario", platform::Buttons::Ok);
        return false;
    }
    SetDocumentPath(path);
    m_doc->SetModified(false);
    return true;
}

void CVesparioApp::NewDocument() {
    m_doc->EmptyDocument();
    m_doc->SetModified(false);
    m_documentPath.clear();
}

// The recent-file list keeps full paths, so that an entry opens from any working folder.
void CVesparioApp::SetDocumentPath(const std::string &path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    m_documentPath = error ? path : full.lexically_normal().string();
    m_recent.Add(m_documentPath);
}

void CVesparioApp::SetTutorialDontAskAgain(bool dontAskAgain) {
    General().tutorial = dontAskAgain ? 0 : 1;
    platform::IniProfile &profile = m_settings.Profile();
    profile.WriteInt("Settings", "Tutorial", General().tutorial);
    if (!profile.Path().empty() && platform::IniProfile::CreateFolderFor(profile.Path()))
        (void)profile.Save();
}

} // namespace vespario
