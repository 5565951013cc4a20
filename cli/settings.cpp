#include "cli/settings.h"

#include "cli/commands.h"
#include "cli/support.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "settings/appsettings.h"
#include "settings/dialogpositions.h"

#include <ostream>

namespace vespario::cli {

namespace {

void PrintLine(std::ostream &out, std::string_view section, std::string_view key,
               std::string_view value) {
    out << section << '/' << key << '=' << value << '\n';
}

void PrintDialogPositions(const platform::IniProfile &profile, std::ostream &out) {
    for (std::string_view section : kDialogPositionSections) {
        const DialogRect rect = ReadDialogPosition(profile, section);
        PrintLine(out, section, "Left", std::to_string(rect.left));
        PrintLine(out, section, "Top", std::to_string(rect.top));
        if (section == kWebDialogSection)
            continue;
        PrintLine(out, section, "Right", std::to_string(rect.right));
        PrintLine(out, section, "Bottom", std::to_string(rect.bottom));
    }
}

void PrintVocabularies(const SettingsVocabularies &v, std::ostream &out) {
    for (Vocabulary vocabulary : kVocabularyLoadOrder) {
        const CodeList &list = v.List(vocabulary);
        const std::string_view section = list.Info().section;
        PrintLine(out, section, "NumberOf", std::to_string(list.Count()));
        for (int32_t i = 0; i < list.Count(); ++i)
            PrintLine(out, section, list.EntryKey(i), list.Entry(i));
        if (vocabulary == Vocabulary::Places)
            PrintLine(out, section, "Default",
                      std::to_string(static_cast<unsigned char>(v.DefaultPlaceCode())));
        if (vocabulary == Vocabulary::Planetaria)
            PrintLine(out, section, "Current", std::to_string(v.CurrentPlanetarium()));
    }
}

} // namespace

int RunSettings(const std::vector<std::string> &words, const std::string &profilePath,
                std::ostream &out, std::ostream &err) {
    if (words.size() != 1) {
        PrintCommandUsage(err, "settings");
        return 2;
    }
    const std::string path = ProfileToRead(profilePath);
    const std::string folder = platform::FolderOf(path);
    platform::Registry registry;
    registry.Load((folder.empty() ? std::string(".") : folder) + "/registry.ini");
    AppSettings settings;
    if (!settings.Load(path, &registry)) {
        err << "cannot read profile " << path << ": " << settings.Error() << "\n";
        return 2;
    }
    ForEachSetting(settings.General(),
                   [&out](std::string_view section, std::string_view key,
                          const std::string &value) { PrintLine(out, section, key, value); });
    PrintDialogPositions(settings.Profile(), out);
    PrintVocabularies(settings.Vocabularies(), out);
    return 0;
}

} // namespace vespario::cli
