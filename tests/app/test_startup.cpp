// Start-up and exit without a window: the command line, the recent files, the order of the
// start-up with its hand-over and the document it opens, the first run's profile, the
// tutorial answer stored at once, and what a drop onto the URL view inserts.

#include "app/commandline.h"
#include "app/cvesparioapp.h"
#include "app/recentfiles.h"
#include "app/urldrop.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/text.h"
#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

TEST(CommandLine, FlagsAfterSlashOrDashWithoutQuotes) {
    struct Row {
        std::vector<std::string> args;
        std::string file, id, raDec;
    };
    const Row rows[] = {
        {{"db.obs"}, "db.obs", "", ""},
        {{"/ID=M31"}, "", "M31", ""},
        {{"ID=M31"}, "", "M31", ""}, // bare, as a shell or a launcher gives it
        {{"./ID=M31.obs"}, "./ID=M31.obs", "", ""},
        {{"-id=\"n 224\""}, "", "n 224", ""},
        {{"-RADEC=\"004244+4116,2\""}, "", "", "004244+4116,2"},
        {{"/radec=\"0042+41"}, "", "", "0042+41"}, // only the opening quote
        {{"/home/sky/full.obs", "-platform", "x"}, "/home/sky/full.obs", "", ""},
        {{"-ID"}, "", "", ""}, // "ID" without "=" is no flag
        {{"\"my sky.obs\"", "second.obs"}, "my sky.obs", "", ""},
    };
    for (const Row &row : rows) {
        const CommandLine line = ParseCommandLine(row.args);
        EXPECT_EQ(line.fileName, row.file) << row.args[0];
        EXPECT_EQ(line.id, row.id) << row.args[0];
        EXPECT_EQ(line.raDec, row.raDec) << row.args[0];
    }
    EXPECT_EQ(WithoutQuotes("\""), "");
    EXPECT_EQ(WithoutQuotes("a\""), "a\"");
    // What a second start hands over: the ID when one is given, else the position.
    EXPECT_EQ(ParseCommandLine({"/id=\"M 31\"", "-RADEC=004244.3+411609,2"}).HandOverCommand(),
              "ID=M 31");
    EXPECT_EQ(ParseCommandLine({"RaDec=\"1\""}).HandOverCommand(), "RaDec=1");
}

TEST(RecentFiles, FourNewestFirstKeptInTheProfile) {
    RecentFiles recent;
    for (const char *path : {"/a.obs", "/b.obs", "/c.obs", "/d.obs", "/e.obs", "/c.obs"})
        recent.Add(path);
    EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/c.obs", "/e.obs", "/d.obs", "/b.obs"}));
    platform::IniProfile profile;
    profile.WriteString("Recent File List", "File4", "/stale.obs");
    recent.Remove("/b.obs");
    recent.Save(profile);
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), "/c.obs");
    EXPECT_FALSE(profile.HasKey("Recent File List", "File4"));
    RecentFiles loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.Entries(), recent.Entries());
}

// Records what start-up asks of the window and of the instance link, in order.
class FakeWindow : public AppWindow {
public:
    explicit FakeWindow(CVesparioApp &app) : m_app(app) {}
    bool CreateFrame() override {
        calls.push_back("frame");
        return true;
    }
    bool OpenDocumentFile(const std::string &path) override {
        calls.push_back("open " + path);
        return m_app.OpenDocument(path);
    }
    void NewDocument() override {
        calls.push_back("new");
        m_app.NewDocument();
    }
    void SendCommandToWindow(int identifier, const std::string &text) override {
        calls.push_back("command " + std::to_string(identifier) + " " + text);
    }
    std::vector<std::string> calls;

private:
    CVesparioApp &m_app;
};

class FakeLink : public InstanceLink {
public:
    FakeLink(std::vector<std::string> &calls, std::string listing)
        : m_calls(calls), m_listing(std::move(listing)) {}
    bool HandOver(const std::string &command) override {
        m_calls.push_back("hand over " + command);
        return taken;
    }
    void StartCommandTopic(AppWindow &) override { m_calls.push_back("topic"); }
    void StopCommandTopic() override {
        // Before the settings and listing files are written: no command may change them after.
        m_calls.push_back(platform::FileExists(m_listing) ? "stop after the save" : "stop");
    }
    bool taken = true;

private:
    std::vector<std::string> &m_calls;
    std::string m_listing;
};

class StartupTest : public ::testing::Test {
protected:
    StartResult Start(std::vector<std::string> args) {
        options.profileFolder = profile.Path();
        options.currentFolder = current.Path();
        options.args = std::move(args);
        return app.Start(options, window);
    }
    test::TempFolder profile;
    test::TempFolder current;
    platform::HeadlessHost host;
    CVesparioApp app{host};
    FakeWindow window{app};
    StartupOptions options;
};

TEST_F(StartupTest, AFirstRunStartsFromTheShippedProfileWithANewDocument) {
    ASSERT_EQ(Start({}), StartResult::Running);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"frame", "new"}));
    EXPECT_TRUE(platform::FileExists(profile.File("Vespario.ini")));
    EXPECT_GT(app.Settings().Vocabularies().Types().Count(), 0);
    EXPECT_TRUE(app.Exit());
    EXPECT_TRUE(platform::FileExists(profile.File("CurType.txt")));
}

TEST_F(StartupTest, FullObsInTheCurrentFolderOpensAndTheCommandFollows) {
    test::TempFolder::Write(current.File("full.obs"),
                            ";Vespario=2=1=0=0=_=;=;=\r\n_n;0042+41;eg;=M31=;\r\n");
    ASSERT_EQ(Start({"-RaDec=\"0042+41,2\""}), StartResult::Running);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"frame", "open " + current.File("full.obs"),
                                                      "command 1 0042+41,2"}));
    EXPECT_EQ(app.Recent().Entries().front(), current.File("full.obs"));
}

TEST_F(StartupTest, ACommandWithoutAFileGoesToTheRunningInstance) {
    FakeLink link(window.calls, profile.File("CurType.txt"));
    app.SetInstanceLink(&link);
    EXPECT_EQ(Start({"/ID=M 31"}), StartResult::HandedOver);
    EXPECT_EQ(window.calls, std::vector<std::string>{"hand over ID=M 31"}); // and no window
}

TEST_F(StartupTest, WithoutARunningInstanceTheTopicStartsBeforeTheOwnCommand) {
    FakeLink link(window.calls, profile.File("CurType.txt"));
    link.taken = false;
    app.SetInstanceLink(&link);
    ASSERT_EQ(Start({"RaDec=\"0042+41,2\""}), StartResult::Running);
    EXPECT_TRUE(app.Exit());
    EXPECT_EQ(window.calls, (std::vector<std::string>{"hand over RaDec=0042+41,2", "frame", "new",
                                                      "topic", "command 1 0042+41,2", "stop"}));
}

TEST_F(StartupTest, AStartWithAFileServesWithoutHandingOver) {
    test::TempFolder::Write(current.File("sky.obs"), ";Vespario=2=1=0=0=_=;=;=\r\n");
    FakeLink link(window.calls, profile.File("CurType.txt"));
    app.SetInstanceLink(&link);
    ASSERT_EQ(Start({"/ID=M31", current.File("sky.obs")}), StartResult::Running);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"frame", "open " + current.File("sky.obs"),
                                                      "topic", "command 0 M31"}));
}

TEST_F(StartupTest, AFileThatCannotBeOpenedFailsTheStart) {
    EXPECT_EQ(Start({current.File("missing.obs")}), StartResult::Failed);
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(StartupTest, DontAskAgainIsStoredAtOnce) {
    ASSERT_EQ(Start({}), StartResult::Running);
    EXPECT_TRUE(app.OfferTutorial());
    app.SetTutorialDontAskAgain(true);
    platform::IniProfile written;
    ASSERT_TRUE(written.Load(profile.File("Vespario.ini")));
    EXPECT_EQ(written.GetInt("Settings", "Tutorial", -1), 0);
    app.SetTutorialDontAskAgain(false);
    ASSERT_TRUE(written.Load(profile.File("Vespario.ini")));
    EXPECT_EQ(written.GetInt("Settings", "Tutorial", -1), 1);
}

TEST(UrlDrop, ShortcutsGiveTheirAddressAndFilesTheirPath) {
    const std::string windows = "[InternetShortcut]\r\nURL=http://example.org/m31\r\n";
    EXPECT_EQ(UrlDropEntry("/t/Shortcut to M 31.URL", windows), "{http://example.org/m31}M 31\r\n");
    EXPECT_EQ(UrlDropEntry("/t/Sky.desktop", std::string("[Desktop Entry]\nURL=https://x.org/\n")),
              "{https://x.org/}Sky\r\n");
    // Not an ini-style shortcut, or none at all: the file itself.
    EXPECT_EQ(UrlDropEntry("/t/odd.url", std::string("URL=http://x\r\n")), "{/t/odd.url}\r\n");
    EXPECT_EQ(UrlDropEntry("/t/chart.pdf", std::nullopt), "{/t/chart.pdf}\r\n");
}

} // namespace
} // namespace vespario
