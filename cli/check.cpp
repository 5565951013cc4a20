#include "cli/check.h"

#include "cli/commands.h"
#include "db/editchecks.h"
#include "select/editcheckadapter.h"
#include "select/objectlist.h"
#include "settings/settingsvocabularies.h"

#include <ostream>

namespace vespario::cli {

int RunCheck(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() != 2) {
        PrintCommandUsage(err, "check");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(options.words[1], false, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    SettingsVocabularies vocabularies;
    vocabularies.LoadVocabularies(session.Profile());
    EditChecks checks(doc, vocabularies);
    EditCheckAdapter adapter(doc, checks);
    ObjectList list(doc);
    list.SetEditChecks(&adapter);
    list.RunToCompletion();
    session.ReportMessages(err);
    for (const EditFailure &failure : checks.Failures()) {
        const int index = doc.RecordIndexOfIdentity(failure.identity);
        out << (index >= 0 ? doc.Record(index).Field(field::Id) : std::string_view()) << '\t'
            << failure.line << '\n';
    }
    return checks.Failures().empty() ? 0 : 1;
}

} // namespace vespario::cli
