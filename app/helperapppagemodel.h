#pragma once
// The Helper Apps page: rows "look-for<TAB>command,DDE|NoDDE,application,topic,method,
// message" (built with "%s\t%s,%s,%s,%s,%i,%s"); in the profile the tab is one blank. The
// DDE fields are enabled only while "Use DDE" is checked. Rows are deleted without asking.

#include "platform/host.h"
#include "settings/appsettings.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

struct HelperAppFields {
    std::string lookFor;
    std::string command;
    bool useDde = false;
    std::string ddeApplication;
    std::string ddeTopic;
    int ddeMethod = 0; // 0 "Request", 1 "Execute"
    std::string ddeMessage;
};

class HelperAppPageModel {
public:
    explicit HelperAppPageModel(platform::Host &host) : m_host(host) {}

    // Opens on the helper applications: the first blank of each entry becomes a tab.
    void Load(const AppSettings &settings);
    const std::vector<std::string> &Rows() const { return m_rows; }
    int Selected() const { return m_selected; }
    void Select(int row);

    const HelperAppFields &Fields() const { return m_fields; }
    // The edit boxes reaching the page; while a row is selected they rewrite it.
    void SetFields(const HelperAppFields &fields);
    bool FieldsEnabled() const { return m_selected >= 0; }
    bool DdeFieldsEnabled() const { return m_selected >= 0 && m_fields.useDde; }
    bool DeleteEnabled() const { return m_selected >= 0; }

    // Insert puts ".txt<TAB>xdg-open" in front of the selected row (or at the end) and selects
    // it; a full list refuses with a message.
    bool Insert();
    // Removes the selected row without asking; afterwards no row is selected.
    bool Delete();

    // "Assist": the browser of the drop-down (0 "Netscape", 1 "Internet Explorer") fills
    // application, topic "WWW_OpenURL", method 0 and message "%s,,0xffffffff,,%s,,", and
    // checks "Use DDE" so that the filled fields take effect.
    void Assist(int browser);
    // The title of the Browse dialog: "Program to handle %s files" with the look-for text.
    std::string BrowseTitle() const;

    // OK: each row with its first tab turned into a blank replaces the list.
    void Store(AppSettings &settings) const;

    static std::string FormatRow(const HelperAppFields &fields);
    static HelperAppFields ParseRow(std::string_view row);

private:
    platform::Host &m_host;
    std::vector<std::string> m_rows;
    int m_selected = -1;
    HelperAppFields m_fields;
};

// The text editor's row that Insert adds. The other platform's rows named its Notepad; here
// xdg-open hands the file to the desktop's own program for it.
inline constexpr std::string_view kNewHelperAppRow = ".txt\txdg-open";
inline constexpr std::array<std::string_view, 2> kAssistBrowsers = {"Netscape",
                                                                    "Internet Explorer"};

} // namespace vespario
