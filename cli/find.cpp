#include "cli/find.h"

#include "cli/commands.h"
#include "db/nameindex.h"

#include <ostream>

namespace vespario::cli {
namespace {

enum class FindMode { IdBox, Exact, Pattern };

bool ParseMode(const std::vector<std::string> &words, FindMode &mode) {
    if (words.size() < 3 || words.size() > 4 || words[0] != "find")
        return false;
    mode = FindMode::IdBox;
    if (words.size() == 3)
        return true;
    if (words[3] == "--exact")
        mode = FindMode::Exact;
    else if (words[3] == "--pattern")
        mode = FindMode::Pattern;
    else
        return false;
    return true;
}

IdMatch LookUp(CVesparioDoc &doc, const std::string &text, FindMode mode) {
    switch (mode) {
    case FindMode::Pattern:
        return LookUpPartialId(doc, text, true);
    case FindMode::Exact: {
        IdMatch match;
        match.record = FindExactId(doc, text);
        match.exact = match.Found();
        return match;
    }
    default:
        return LookUpTypedId(doc, text);
    }
}

} // namespace

int RunFind(const std::vector<std::string> &words, vespario::CVesparioDoc &doc, std::ostream &out,
            std::ostream &err) {
    FindMode mode = FindMode::IdBox;
    if (!ParseMode(words, mode)) {
        PrintCommandUsage(err, "find");
        return 2;
    }
    const IdMatch match = LookUp(doc, words[2], mode);
    // The Host has shown the compile message or that the search was abandoned.
    if (match.badPattern || match.abandoned)
        return 2;
    if (!match.Found()) {
        out << "not found\n";
        return 1;
    }
    out << match.record << '\t' << (match.more ? 1 : 0) << '\t'
        << doc.Record(match.record).Field(field::Id) << "\n";
    return 0;
}

} // namespace vespario::cli
