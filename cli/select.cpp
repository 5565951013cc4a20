#include "cli/select.h"

#include "cli/commands.h"
#include "select/criteriaedit.h"
#include "select/objectlist.h"
#include "select/queryparse.h"

#include <ostream>

namespace vespario::cli {
namespace {

struct SelectOptions {
    std::string database;
    SelectionWords selection;
    std::vector<std::string> show;
};

bool ParseSelectWords(const std::vector<std::string> &words, SelectOptions &select) {
    if (words.size() < 2 || words[1].rfind("--", 0) == 0)
        return false;
    select.database = words[1];
    for (size_t i = 2; i < words.size(); ++i) {
        if (i + 1 >= words.size())
            return false;
        const std::string &option = words[i];
        const std::string &value = words[++i];
        if (TakeSelectionOption(option, value, select.selection))
            continue;
        if (option == "--show")
            select.show.push_back(value);
        else
            return false;
    }
    return true;
}

} // namespace

bool TakeSelectionOption(const std::string &option, const std::string &value,
                         SelectionWords &selection) {
    if (option == "--sel")
        selection.selFile = value;
    else if (option == "--srt")
        selection.srtFile = value;
    else if (option == "--where")
        selection.where.push_back(value);
    else if (option == "--sort")
        selection.sort.push_back(value);
    else
        return false;
    return true;
}

bool ApplySelection(const SelectionWords &selection, Session &session, ObjectList &list,
                    std::ostream &err) {
    const FieldTable &fields = session.Doc().Fields();
    SelectionCriteria &criteria = list.Criteria();
    if (!selection.selFile.empty() && !criteria.ReadFile(selection.selFile)) {
        session.ReportMessages(err);
        err << "cannot read criteria file " << selection.selFile << "\n";
        return false;
    }
    for (const std::string &text : selection.where) {
        CriteriaLine line;
        if (const auto error =
                ParseWhereClause(text, fields, DefaultNearRadius(session.Profile()), line)) {
            err << *error << "\n";
            return false;
        }
        criteria.InsertLine(criteria.LineCount(), std::move(line));
    }
    if (const auto problem = CheckCriteria(criteria.Lines())) {
        err << *problem << "\n";
        return false;
    }
    SortOrder &sort = list.Sort();
    if (!selection.srtFile.empty() && !sort.ReadFile(selection.srtFile)) {
        session.ReportMessages(err);
        err << "cannot read sort order file " << selection.srtFile << "\n";
        return false;
    }
    for (const std::string &text : selection.sort) {
        SortKey key;
        if (const auto error = ParseSortKey(text, fields, key)) {
            err << *error << "\n";
            return false;
        }
        sort.InsertKey(sort.KeyCount(), key);
    }
    return true;
}

int RunSelect(const Options &options, std::ostream &out, std::ostream &err) {
    SelectOptions select;
    if (!ParseSelectWords(options.words, select)) {
        PrintCommandUsage(err, "select");
        return 2;
    }
    Session session;
    if (!session.Start(options, Session::Positions::DefaultPlace, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    const FieldTable &fields = doc.Fields();

    std::vector<int> shown;
    for (const std::string &name : select.show) {
        const int n = fields.FindTag(name);
        if (n < 0) {
            err << "unknown field " << name << "\n";
            return 2;
        }
        shown.push_back(n);
    }
    // The selection pass splits and parses the records as it goes.
    if (!session.Load(select.database, false, err))
        return 2;
    ObjectList list(doc);
    if (!ApplySelection(select.selection, session, list, err))
        return 2;
    list.RestartSelection();
    list.RunToCompletion();
    for (int record : list.List()) {
        out << OneLine(doc.GetText(field::Id, record));
        for (int n : shown)
            out << '\t' << ValueText(doc, n, record, options.precise);
        out << '\n';
    }
    session.ReportMessages(err);
    return 0;
}

} // namespace vespario::cli
