#include "app/preferencespagemodel.h"

#include "db/nameindex.h"
#include "settings/staratlasorder.h"

#include <algorithm>
#include <utility>

namespace vespario {

void PreferencesPageModel::Load(const AppSettings &settings) {
    const GeneralSettings &g = settings.General();
    m_values.greekHandling = g.greekHandling;
    m_values.delAuthorEnabled = g.delAuthor == 0;
    m_values.tutorial = g.tutorial != 0;
    m_values.timingFirst = g.timingFirst;
    m_values.timingSecond = g.timingSecond;
    m_values.recordWidth = g.recordWidth;
    m_values.autoBuild = g.autoBuild != 0;
    m_values.searchFavorite = g.searchFavorite;
    m_values.keepBackup = g.numBackupLevels != 0;
    m_values.lowMemory = g.lowMemory != 0;
    m_checks.clear();
    for (const std::string &entry : settings.Vocabularies().EditChecks().Entries())
        m_checks.push_back(EditCheckLine{!entry.empty() && entry.front() == 'Y',
                                         entry.empty() ? std::string() : entry.substr(1)});
    m_atlasOrder = g.starAtlas;
    m_selectedAtlas = -1;
}

void PreferencesPageModel::SetEditCheck(size_t line, bool checked) {
    if (line < m_checks.size())
        m_checks[line].checked = checked;
}

void PreferencesPageModel::SetAll(bool checked) {
    for (EditCheckLine &line : m_checks)
        line.checked = checked;
}

std::string_view PreferencesPageModel::StarAtlasNameAt(size_t position) const {
    return position < m_atlasOrder.size() ? StarAtlasName(m_atlasOrder[position])
                                          : std::string_view();
}

void PreferencesPageModel::SelectAtlas(int position) {
    m_selectedAtlas = position >= 0 && position < 7 ? position : -1;
}

void PreferencesPageModel::MoveUp() {
    if (!MoveUpEnabled())
        return;
    const auto at = static_cast<size_t>(m_selectedAtlas);
    std::swap(m_atlasOrder[at], m_atlasOrder[at - 1]);
    --m_selectedAtlas;
}

void PreferencesPageModel::MoveDown() {
    if (!MoveDownEnabled())
        return;
    const auto at = static_cast<size_t>(m_selectedAtlas);
    std::swap(m_atlasOrder[at], m_atlasOrder[at + 1]);
    ++m_selectedAtlas;
}

void PreferencesPageModel::Store(AppSettings &settings, CVesparioDoc *doc) const {
    GeneralSettings &g = settings.General();
    const int greek = std::clamp(m_values.greekHandling, 0, 2);
    if (greek != g.greekHandling) {
        if (doc)
            ChangeGreekHandling(*doc, greek);
        // Records read from now on are converted with the new set, open database or not.
        settings.Profile().WriteInt("GreekHandling", "Internal", greek);
        g.greekHandling = greek;
    }
    g.delAuthor = m_values.delAuthorEnabled ? 0 : 1;
    g.tutorial = m_values.tutorial ? 1 : 0;
    g.timingFirst = std::max(m_values.timingFirst, kMinimumSliceMs);
    g.timingSecond = std::max(m_values.timingSecond, kMinimumSliceMs);
    g.recordWidth =
        m_values.recordWidth >= 1 ? m_values.recordWidth : GeneralSettings().recordWidth;
    g.autoBuild = m_values.autoBuild ? 1 : 0;
    g.searchFavorite = m_values.searchFavorite;
    g.numBackupLevels = m_values.keepBackup ? 1 : 0;
    g.lowMemory = m_values.lowMemory ? 1 : 0;
    std::vector<std::string> entries;
    for (const EditCheckLine &line : m_checks)
        entries.push_back((line.checked ? "Y" : "N") + line.description);
    SettingsVocabularies &v = settings.Vocabularies();
    v.List(Vocabulary::EditChecks).Assign(std::move(entries));
    v.RebuildEditFlags();
    g.starAtlas = m_atlasOrder;
}

} // namespace vespario
