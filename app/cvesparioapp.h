#pragma once
// The application object without its widgets: start-up and exit in their order, and what
// lives for the whole run (the settings and vocabularies, the default place with the
// astronomy of the computed fields, the recent-file list, the open document). The window
// binds to it through AppWindow; the tests drive it with a fake one.

#include "app/commandline.h"
#include "app/recentfiles.h"
#include "db/astropositions.h"
#include "db/cvespariodoc.h"
#include "link/commandtopic.h"
#include "platform/host.h"
#include "settings/appsettings.h"

#include <memory>
#include <string>
#include <vector>

namespace vespario {

// What start-up asks of the window. It also takes the commands of the command line and of
// the command topic: identifier 0 finds the object with that ID, 1 pares the list to the
// objects near a position.
class AppWindow : public link::CommandWindow {
public:
    // The frame with its views; false when it could not be made (start-up then fails).
    virtual bool CreateFrame() = 0;
    // Opens a database file in the frame; false when it could not be opened.
    virtual bool OpenDocumentFile(const std::string &path) = 0;
    // A new empty document.
    virtual void NewDocument() = 0;
};

// The running-program interface as start-up and exit use it: the hand-over of a command to
// an instance that runs already, and this instance's command topic. The window binds it to
// the conversation layer; without one (the tests) the program runs on its own.
class InstanceLink {
public:
    virtual ~InstanceLink() = default;
    // Called when the command line names an ID or a position and no file, with the command
    // for the running instance ("ID=..." or "RaDec=..."): true when a running instance took
    // it, and this one is to end quietly.
    virtual bool HandOver(const std::string &command) = 0;
    // Serves the command topic, whose commands go to window.
    virtual void StartCommandTopic(AppWindow &window) = 0;
    // Disconnects every conversation and stops serving.
    virtual void StopCommandTopic() = 0;
};

struct StartupOptions {
    std::string profileFolder;     // where Vespario.ini lives; empty: platform::ProfileDir()
    std::string currentFolder;     // the working folder; empty: "."
    std::vector<std::string> args; // the command line without the program name
};

enum class StartResult { Running, HandedOver, Failed };

inline constexpr const char *kFullDatabaseName = "full.obs";

class CVesparioApp {
public:
    explicit CVesparioApp(platform::Host &host);
    ~CVesparioApp();
    CVesparioApp(const CVesparioApp &) = delete;
    CVesparioApp &operator=(const CVesparioApp &) = delete;

    // The hand-over and the command topic; not owned. Without one there is neither.
    void SetInstanceLink(InstanceLink *link) { m_link = link; }

    // Start-up, in order: the profile and its settings, legacy positions and vocabularies,
    // the recent files, the command line, the hand-over, the frame, the document to open,
    // the command topic, then the command line's own command sent to the window.
    StartResult Start(const StartupOptions &options, AppWindow &window);
    // Exit: the command topic stopped, then every setting and vocabulary written back, then
    // the listing files. False when the profile could not be written (Settings().Error()
    // says why).
    bool Exit();

    // Opening a database for the window: reads it into the document (the idle work splits
    // it) and enters it in the recent files; false (and the entry dropped) when unopenable.
    bool OpenDocument(const std::string &path);
    // Empties the document for a new database without a file.
    void NewDocument();
    const std::string &DocumentPath() const { return m_documentPath; }
    void SetDocumentPath(const std::string &path);

    // The tutorial question after the window is shown.
    bool OfferTutorial() const { return m_settings.General().tutorial != 0; }
    // Each click on "Don't ask again" is stored in the profile file at once.
    void SetTutorialDontAskAgain(bool dontAskAgain);

    static std::string Version();

    AppSettings &Settings() { return m_settings; }
    GeneralSettings &General() { return m_settings.General(); }
    RecentFiles &Recent() { return m_recent; }
    CVesparioDoc &Document() { return *m_doc; }
    bool HasDocument() const { return m_doc != nullptr; }
    platform::Host &Host() { return m_host; }
    const CommandLine &Command() const { return m_command; }
    ObservingPlace &Place() { return m_settings.Vocabularies().CurrentPlace(); }

private:
    void LoadProfile(const StartupOptions &options);
    bool OpenStartingDocument(const std::string &currentFolder, AppWindow &window);

    platform::Host &m_host;
    AppSettings m_settings;
    RecentFiles m_recent;
    CommandLine m_command;
    InstanceLink *m_link = nullptr;
    std::unique_ptr<AstroPositionServices> m_astro;
    std::unique_ptr<CVesparioDoc> m_doc;
    std::string m_documentPath;
};

} // namespace vespario
