#include "cli/maintain.h"

#include "cli/commands.h"
#include "db/maintenance.h"
#include "db/nameindex.h"
#include "settings/settingsvocabularies.h"

#include <numeric>
#include <ostream>
#include <vector>

namespace vespario::cli {
namespace {

bool KnownTool(const std::string &tool, size_t operands) {
    if (tool == "sort-refs" || tool == "verify-urls")
        return operands <= 1;
    if (tool == "rebuild-ids" || tool == "list-magazines")
        return operands == 0;
    return tool == "export-urls" && operands == 1;
}

int SaveChanged(CVesparioDoc &doc, const MaintenanceResult &result, const std::string &target,
                std::ostream &out, std::ostream &err) {
    out << result.recordsChanged << " records changed\n";
    if (!doc.IsModified())
        return 0;
    if (!doc.SaveDatabase(target)) {
        err << "cannot save " << target << ": " << doc.SaveError() << "\n";
        return 1;
    }
    out << "saved " << doc.GetRecordCount() << " records to " << target << "\n";
    return 0;
}

} // namespace

int RunMaintain(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 3 || !KnownTool(words[2], words.size() - 3)) {
        PrintCommandUsage(err, "maintain");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(words[1], true, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    if (!doc.LoadFailure().empty()) {
        err << words[1] << " did not load: " << doc.LoadFailure() << "\n";
        return 2;
    }
    session.ReportMessages(err);
    const std::string &tool = words[2];
    const std::string target = words.size() == 4 ? words[3] : words[1];
    int code = 0;
    if (tool == "rebuild-ids") {
        RebuildObjectIds(doc);
        out << "index size: " << doc.NameIndex().size() << "\n";
    } else if (tool == "list-magazines") {
        out << ListAllMagazines(doc).text;
    } else if (tool == "export-urls") {
        std::vector<int> all(static_cast<size_t>(doc.GetRecordCount()));
        std::iota(all.begin(), all.end(), 0);
        const MaintenanceResult result = ExportUrls(doc, all, target);
        if (!result.ran) {
            err << "cannot write " << target << ": " << result.text << "\n";
            code = 1;
        }
    } else if (tool == "sort-refs") {
        SettingsVocabularies vocabularies;
        vocabularies.LoadVocabularies(session.Profile());
        code = SaveChanged(doc, SortRefsMagazines(doc, vocabularies), target, out, err);
    } else {
        const MaintenanceResult result = VerifyLocalUrls(doc);
        // The message box's lines, one per output line.
        std::string text = result.text;
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.erase(at, 1);
        out << text << "\n";
        code = SaveChanged(doc, result, target, out, err);
    }
    // The verify tool's list is printed above, not again as a message.
    if (tool != "verify-urls")
        session.ReportMessages(err);
    return code;
}

} // namespace vespario::cli
