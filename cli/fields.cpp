#include "cli/fields.h"

#include "cli/commands.h"
#include "db/nameindex.h"

#include <ostream>

namespace vespario::cli {

int RunFields(const Options &options, std::ostream &out, std::ostream &err) {
    const auto &words = options.words;
    if (words.size() < 4) {
        PrintCommandUsage(err, "fields");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::DefaultPlace, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    std::vector<int> fields;
    for (size_t i = 3; i < words.size(); ++i) {
        const int n = doc.Fields().FindTag(words[i]);
        if (n < 0) {
            err << "unknown field " << words[i] << "\n";
            return 2;
        }
        fields.push_back(n);
    }
    if (!session.Load(words[1], true, err))
        return 2;
    const int record = FindExactId(doc, words[2]);
    if (record < 0) {
        session.ReportMessages(err);
        err << "no object has the ID " << words[2] << "\n";
        return 1;
    }
    for (int n : fields)
        out << BareTag(doc.Fields().Slot(n).tag) << '\t'
            << ValueText(doc, n, record, options.precise) << '\n';
    session.ReportMessages(err);
    return 0;
}

} // namespace vespario::cli
