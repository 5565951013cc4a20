#include "cli/find.h"

#include "db/nameindex.h"

#include <ostream>

namespace vespario::cli {
namespace {

constexpr const char *kFindUsage = "usage: vespario-cli find FILE.obs TEXT [--exact | --pattern]\n";

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

// The record index with kMoreMatches added when further records match, or -1.
int LookUp(CVesparioDoc &doc, const std::string &text, FindMode mode) {
    if (mode == FindMode::Pattern)
        return FindPartialId(doc, text, true);
    const int exact = FindExactId(doc, text);
    if (exact >= 0 || mode == FindMode::Exact)
        return exact;
    return FindPartialId(doc, text, false);
}

} // namespace

int RunFind(const std::vector<std::string> &words, vespario::CVesparioDoc &doc, std::ostream &out) {
    FindMode mode = FindMode::IdBox;
    if (!ParseMode(words, mode)) {
        out << kFindUsage;
        return 2;
    }
    const int found = LookUp(doc, words[2], mode);
    if (found < 0) {
        out << "not found\n";
        return 1;
    }
    const bool more = found >= kMoreMatches;
    const int index = more ? found - kMoreMatches : found;
    out << index << '\t' << (more ? 1 : 0) << '\t' << doc.Record(index).Field(field::Id) << "\n";
    return 0;
}

} // namespace vespario::cli
