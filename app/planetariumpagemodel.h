#pragma once
// The Planetariums page: rows "title,executable,keystrokes", stored as shown; the selected
// row is the program in use ("Planetaria"/"Current"). "Assist" appends one of twelve
// ready-made rows.

#include "platform/host.h"
#include "settings/appsettings.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

struct PlanetariumFields {
    std::string title;
    std::string executable;
    std::string keystrokes;
};

struct ReadyMadePlanetarium {
    std::string_view choice; // the drop-down entry
    std::string_view row;
};

// The drop-down of "Assist" and the rows it appends.
extern const std::array<ReadyMadePlanetarium, 12> kReadyMadePlanetaria;

class PlanetariumPageModel {
public:
    explicit PlanetariumPageModel(platform::Host &host) : m_host(host) {}

    // Opens on the programs and selects the one in use.
    void Load(const AppSettings &settings);
    const std::vector<std::string> &Rows() const { return m_rows; }
    int Selected() const { return m_selected; }
    void Select(int row);

    // "Title", "Executable" and "Keystrokes": the row split at its first two commas.
    const PlanetariumFields &Fields() const { return m_fields; }
    void SetFields(const PlanetariumFields &fields);
    bool FieldsEnabled() const { return m_selected >= 0; }
    bool DeleteEnabled() const { return m_selected >= 0; }

    // Appends "Unknown,none,none" and selects it; a full list refuses with a message.
    bool Insert();
    // Asks, removes the selected row on Yes and selects the first row.
    bool Delete();
    // Appends ready-made row choice and selects it; the page then opens Browse for the
    // program's executable. False for an unknown choice or a full list.
    bool Assist(int choice);
    // "Browse for %s Planetarium Program" with the title.
    std::string BrowseTitle() const;

    // OK: the rows replace the list; "Current" becomes the selected row (0 when none).
    void Store(AppSettings &settings) const;

    static PlanetariumFields ParseRow(std::string_view row);
    static std::string FormatRow(const PlanetariumFields &fields);

private:
    bool Append(std::string row);

    platform::Host &m_host;
    std::vector<std::string> m_rows;
    int m_selected = -1;
    PlanetariumFields m_fields;
};

} // namespace vespario
