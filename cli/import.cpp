#include "cli/import.h"

#include "cli/commands.h"
#include "db/import.h"
#include "platform/text.h"

#include <charconv>
#include <ostream>
#include <string>
#include <string_view>

namespace vespario::cli {
namespace {

// What the options of the command line set; given: which ones were given.
struct ImportOptions {
    std::string database, source, fields, delimiter, replaceSources, log, out;
    int skip = 0, within = 0, charset = -1;
    bool add = false, fieldsGiven = false, delimiterGiven = false, skipGiven = false,
         withinGiven = false, srcGiven = false;
};

bool ReadNumber(const std::string &text, int &value, int low, int high) {
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

bool ParseImportOptions(const std::vector<std::string> &words, ImportOptions &o,
                        std::ostream &err) {
    std::vector<std::string> operands;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string &w = words[i];
        if (w == "--add") {
            o.add = true;
            continue;
        }
        if (w.rfind("--", 0) != 0) {
            operands.push_back(w);
            continue;
        }
        if (i + 1 >= words.size()) {
            err << w << " needs a value\n";
            return false;
        }
        const std::string &v = words[++i];
        if (w == "--fields") {
            o.fields = v;
            o.fieldsGiven = true;
        } else if (w == "--delimiter") {
            o.delimiter = v;
            o.delimiterGiven = true;
            if (v != "tab" && v != "eol" && v.size() != 1) {
                err << "--delimiter must be one character, tab or eol, not \"" << v << "\"\n";
                return false;
            }
        } else if (w == "--skip") {
            o.skipGiven = true;
            if (!ReadNumber(v, o.skip, 0, 1000000)) {
                err << "--skip needs a number of lines, not \"" << v << "\"\n";
                return false;
            }
        } else if (w == "--replace-src") {
            o.replaceSources = v;
            o.srcGiven = true;
        } else if (w == "--replace-within") {
            o.withinGiven = true;
            if (!ReadNumber(v, o.within, 0, 21600)) {
                err << "--replace-within needs a distance in arcminutes, not \"" << v << "\"\n";
                return false;
            }
        } else if (w == "--charset") {
            if (!ReadNumber(v, o.charset, 0, 2)) {
                err << "--charset must be 0 (DOS), 1 (the program's own) or 2 (plain text), "
                       "not \""
                    << v << "\"\n";
                return false;
            }
        } else if (w == "--log") {
            o.log = v;
        } else if (w == "--out") {
            o.out = v;
        } else {
            err << "unknown option " << w << "\n";
            return false;
        }
    }
    if (operands.size() != 2) {
        PrintCommandUsage(err, "import");
        return false;
    }
    o.database = operands[0];
    o.source = operands[1];
    return true;
}

// The field list of --fields: tags as the field list shows them ("Ignore" or "-" skips).
bool ParseFields(const FieldTable &table, const std::string &text, std::vector<int> &fields,
                 std::ostream &err) {
    fields.clear();
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(',', begin);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view tag = TrimBlanks(std::string_view(text).substr(begin, end - begin));
        int n = tag == "Ignore" || tag == "-" ? kIgnoreField : table.FindTag(tag);
        if (tag != "Ignore" && tag != "-" && (n < 0 || n >= kStoredFieldCount)) {
            err << "--fields: \"" << tag << "\" is not a stored field\n";
            return false;
        }
        fields.push_back(n);
        begin = end + 1;
    }
    return true;
}

std::string WithLineFeeds(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

} // namespace

int RunImport(const Options &options, std::ostream &out, std::ostream &err) {
    ImportOptions o;
    if (!ParseImportOptions(options.words, o, err))
        return 2;
    Session session;
    if (!session.Start(options, Session::Positions::None, err) ||
        !session.Load(o.database, true, err))
        return 2;
    CVesparioDoc &doc = session.Doc();
    if (!doc.LoadFailure().empty()) {
        err << "not imported: " << o.database << " did not load: " << doc.LoadFailure() << "\n";
        return 2;
    }
    session.ReportMessages(err);

    ImportText text;
    if (!ReadImportFile(o.source, session.Host(), text)) {
        session.ReportMessages(err);
        return 2;
    }
    ImportDescription d;
    std::string error;
    if (!PresetDescription(text, d, error)) {
        err << o.source << ": " << error << "\n";
        return 2;
    }
    const bool described = d.kind == ImportKind::Described && !text.exportFile;
    if (!described && (o.fieldsGiven || o.delimiterGiven || o.skipGiven)) {
        err << o.source << " describes itself: --fields, --delimiter and --skip do not apply\n";
        return 2;
    }
    if (o.fieldsGiven && !ParseFields(doc.Fields(), o.fields, d.fields, err))
        return 2;
    if (o.delimiterGiven) {
        d.delimiter = o.delimiter == "tab"   ? ImportDelimiter::Tab
                      : o.delimiter == "eol" ? ImportDelimiter::EndOfLine
                                             : ImportDelimiter::Character;
        d.delimiterChar = o.delimiter.size() == 1 ? o.delimiter.front() : ';';
    }
    if (o.skipGiven)
        d.skipLines = o.skip;
    d.addNew = o.add;
    if (o.srcGiven)
        d.replaceSources = o.replaceSources;
    if (o.withinGiven)
        d.replaceWithinArcmin = o.within;
    d.charset = o.charset;
    d.log = !o.log.empty();
    if (d.log)
        text.logPath = o.log;
    if (const std::string problem = CheckDescription(d); !problem.empty()) {
        err << problem << "\n";
        return 2;
    }
    const ImportSummary summary = ImportData(doc, text, d, false);
    session.ReportMessages(err);
    if (summary.stopped && summary.recordsRead == 0)
        return 2;
    out << WithLineFeeds(summary.text);
    const std::string &target = o.out.empty() ? o.database : o.out;
    const bool saved = doc.SaveDatabase(target);
    session.ReportMessages(err);
    if (!saved) {
        err << "cannot save " << target << ": " << doc.SaveError() << "\n";
        return 1;
    }
    out << "saved " << doc.GetRecordCount() << " records to " << target << "\n";
    return 0;
}

} // namespace vespario::cli
