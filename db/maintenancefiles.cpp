// The maintenance tools that meet files: scanning a folder for local files, verifying the
// local files the url fields name, exporting the url entries as HTML and comparing the
// database with another database file.

#include "db/maintenance.h"

#include "db/cvespariodoc.h"
#include "db/identifiers.h"
#include "db/maintenancewalk.h"
#include "db/nameindex.h"
#include "pattern/pattern.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/generalsettings.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

namespace vespario {
namespace {

namespace fs = std::filesystem;

// --- Scan for Local URLs -------------------------------------------------------------------

// The designation a file name begins with: the characters from "-" to "z" but ".".
std::string DesignationOfFileName(std::string_view name) {
    size_t end = 0;
    while (end < name.size() && name[end] >= '-' && name[end] <= 'z' && name[end] != '.')
        ++end;
    std::string designation(name.substr(0, end));
    NormaliseDesignation(designation);
    return designation;
}

// The url field with one more entry on a line of its own.
std::string WithEntry(std::string_view url, std::string_view entry) {
    std::string text(url);
    if (!text.empty() && !text.ends_with("\r\n"))
        text += "\r\n";
    text += entry;
    return text;
}

class FolderScan {
public:
    FolderScan(CVesparioDoc &doc, RecordWalk &walk,
               const std::function<void(std::string_view)> &showFolder)
        : m_doc(doc), m_walk(walk), m_showFolder(showFolder) {}

    void Scan(const fs::path &folder) {
        if (m_showFolder)
            m_showFolder(folder.string());
        m_doc.Host().PumpEvents();
        std::error_code ec;
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::directory_iterator(); it.increment(ec))
            entries.push_back(*it);
        std::sort(entries.begin(), entries.end());
        for (const fs::directory_entry &entry : entries) {
            // Links to folders are not followed: a link back up would never end.
            if (entry.is_symlink(ec) && entry.is_directory(ec))
                continue;
            if (entry.is_directory(ec))
                Scan(entry.path());
            else if (entry.is_regular_file(ec))
                Attach(entry.path());
        }
    }

private:
    void Attach(const fs::path &file) {
        const std::string designation = DesignationOfFileName(file.filename().string());
        if (designation.empty())
            return;
        const IdMatch match = LookUpPartialId(m_doc, designation, true);
        if (!match.Found())
            return;
        m_doc.EnsureParsed(match.record);
        const std::string entry = "{" + file.string() + "}";
        const std::string_view url = m_doc.Record(match.record).Field(field::Url);
        if (url.find(entry) != std::string_view::npos)
            return; // listed already
        m_walk.SetField(match.record, field::Url, WithEntry(url, entry));
    }

    CVesparioDoc &m_doc;
    RecordWalk &m_walk;
    const std::function<void(std::string_view)> &m_showFolder;
};

// --- Verify Local URLs ---------------------------------------------------------------------

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    const char lower = LowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
            continue;
        }
        decoded += text[i];
    }
    return decoded;
}

// Whether the file does not exist; a path the system cannot tell about counts as found.
bool FileIsMissing(const std::string &path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        return false;
    return status.type() == fs::file_type::not_found || ec;
}

// The url field without the entries of missing local files; their paths go to removed.
std::string WithoutMissingFiles(std::string_view url, std::vector<std::string> &removed) {
    std::string kept;
    size_t from = 0;
    for (;;) {
        const size_t open = url.find('{', from);
        const size_t close = open == std::string_view::npos ? open : url.find('}', open + 1);
        if (close == std::string_view::npos)
            break;
        const std::string_view entry = url.substr(open + 1, close - open - 1);
        std::string path;
        kept.append(url.substr(from, open - from));
        if (LocalFileOfEntry(entry, path) && FileIsMissing(path))
            removed.emplace_back(entry);
        else
            kept.append(url.substr(open, close - open + 1));
        from = close + 1;
    }
    kept.append(url.substr(from));
    return kept;
}

} // namespace

// A local file is named by a drive letter ("C:\..."), the form the url fields of databases
// kept on the other platform hold; on this platform also by an absolute path ("/home/...")
// or a "file:" address ("file:///home/...", "file://localhost/...", "file:/home/...").
bool LocalFileOfEntry(std::string_view entry, std::string &path) {
    if (entry.size() >= 2 && IsAsciiLetter(entry[0]) && entry[1] == ':') {
        path.assign(entry);
        return true;
    }
    if (!entry.empty() && entry[0] == '/') {
        path.assign(entry);
        return true;
    }
    if (entry.size() < 5 || !EqualNoCaseAscii(entry.substr(0, 5), "file:"))
        return false;
    std::string_view rest = entry.substr(5);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (slash == std::string_view::npos || (!host.empty() && host != "localhost"))
            return false; // a file on another machine
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest[0] != '/')
        return false;
    path = PercentDecoded(rest);
    return true;
}

MaintenanceResult ScanLocalUrls(CVesparioDoc &doc, const std::string &folder,
                                const std::function<void(std::string_view)> &showFolder) {
    MaintenanceResult result{true, 0, {}};
    {
        RecordWalk walk(doc, "Scanning for Local URLs");
        if (doc.IndexRebuildNeeded())
            RebuildNameIndex(doc);
        FolderScan(doc, walk, showFolder).Scan(fs::path(folder));
        result.recordsChanged = walk.Changed();
    }
    if (showFolder)
        showFolder("Finished");
    return result;
}

MaintenanceResult VerifyLocalUrls(CVesparioDoc &doc) {
    if (!AskYesNo(doc, "Are you sure you want to delete local URLs which are no longer found ?"))
        return {};
    MaintenanceResult result{true, 0, {}};
    std::vector<std::string> removed;
    {
        RecordWalk walk(doc, "Verifying Local URLs");
        for (int i = 0; i < doc.GetRecordCount(); ++i) {
            walk.Step(i);
            doc.EnsureParsed(i);
            const std::string_view url = doc.Record(i).Field(field::Url);
            if (!url.empty())
                walk.SetField(i, field::Url, WithoutMissingFiles(url, removed));
        }
        result.recordsChanged = walk.Changed();
    }
    if (removed.empty()) {
        result.text = "All local URLs were found. None were deleted.";
    } else {
        result.text = "The following local URLs were not found, and were deleted:";
        for (const std::string &path : removed)
            result.text += "\r\n" + path;
    }
    doc.Host().MessageBox(result.text, "Vespario", platform::Buttons::Ok);
    return result;
}

// --- Export URLs ---------------------------------------------------------------------------

namespace {

constexpr std::string_view kDefaultSearchUrl = "\\{{*:/*}\\}{*}%";

// Text for an HTML page, escaped.
std::string Html(std::string_view text) {
    std::string out;
    AppendHtmlEscaped(out, text);
    return out;
}

std::string_view Group(std::string_view text, const Pattern &pattern, int g) {
    if (pattern.MatchStart[g] < 0 || pattern.MatchEnd[g] < pattern.MatchStart[g])
        return {};
    return text.substr(static_cast<size_t>(pattern.MatchStart[g]),
                       static_cast<size_t>(pattern.MatchEnd[g] - pattern.MatchStart[g]));
}

std::string ClosingText(const platform::IniProfile &profile) {
    std::string text;
    for (int i = 1;; ++i) {
        const std::string line = profile.GetString("Report", "AppendUrl" + std::to_string(i), "");
        if (line.empty())
            break;
        text += line + "\n";
    }
    return text;
}

void AppendObjectUrls(CVesparioDoc &doc, int index, Pattern &pattern, std::string &html) {
    doc.EnsureParsed(index);
    const std::string_view url = doc.Record(index).Field(field::Url);
    bool any = false;
    for (int from = 0; from <= static_cast<int>(url.size());) {
        if (pattern.Search(url, from) < 0)
            break;
        if (!any)
            html += Html(doc.Record(index).Field(field::Id)) + "\n<ul>\n";
        any = true;
        const std::string address = Html(Group(url, pattern, 1));
        const std::string_view description = Group(url, pattern, 2);
        html += "<li><a href=\"" + address + "\">" +
                (description.empty() ? std::string("no description") : Html(description)) +
                "</a> at " + address + "\n";
        from = std::max(pattern.MatchEnd[0], from + 1);
    }
    if (any)
        html += "</ul>\n";
}

} // namespace

std::string UrlListHtml(CVesparioDoc &doc, RecordSequence listed) {
    const platform::IniProfile &profile = doc.Profile();
    Pattern pattern(profile.GetString("Report", "SearchUrl", kDefaultSearchUrl), &doc.Host());
    std::string html;
    for (size_t k = 0; k < listed.size(); ++k) {
        if (k % RecordWalk::kProgressEvery == 0) {
            doc.Host().Progress("Exporting URLs", static_cast<int>(k * 100 / listed.size()));
            doc.Host().PumpEvents();
        }
        const int index = listed[k];
        if (index >= 0 && index < doc.GetRecordCount())
            AppendObjectUrls(doc, index, pattern, html);
    }
    html += ClosingText(profile);
    html += "<p>Made with <a href=\"" + std::string(kVesparioHomePage) + "\">Vespario</a></p>\n";
    return html;
}

MaintenanceResult ExportUrls(CVesparioDoc &doc, RecordSequence listed, const std::string &path) {
    MaintenanceResult result;
    RecordWalk walk(doc, "Exporting URLs");
    const std::string html = UrlListHtml(doc, listed);
    std::string error;
    if (!platform::WriteWholeFileAtomic(path, html, &error)) {
        result.text = error;
        return result;
    }
    result.ran = true;
    result.text = html;
    return result;
}

// --- File Differences ----------------------------------------------------------------------

namespace {

constexpr std::string_view kImportQuestion =
    "Imports are not undoable.\r\n\r\nYour database has been changed but not saved.\r\n"
    "I suggest you save your database before importing so you can quit without saving if you "
    "don't like the results.\r\n\r\nWould you like to import now anyway ?";

// The comparison file's reading shows the database's messages, but names the file.
class ComparisonHost : public platform::Host {
public:
    explicit ComparisonHost(platform::Host &host) : m_host(host) {}
    platform::Answer MessageBox(std::string_view text, std::string_view title,
                                platform::Buttons buttons) override {
        if (text == "Cannot obtain memory to read file")
            text = "Cannot obtain memory to read comparison file";
        return m_host.MessageBox(text, title, buttons);
    }
    platform::Answer Confirm(std::string_view text, bool &dontAskAgain) override {
        return m_host.Confirm(text, dontAskAgain);
    }
    void Beep() override { m_host.Beep(); }
    void SetStatusText(int pane, std::string_view text) override {
        (void)pane, (void)text; // the counts of the comparison file are not the window's
    }
    void Progress(std::string_view text, int percent) override { m_host.Progress(text, percent); }
    void EndProgress() override {}
    void PumpEvents() override { m_host.PumpEvents(); }

private:
    platform::Host &m_host;
};

// A field's value on one line of the results file.
std::string OneLineValue(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

void AddLine(std::string &out, std::string_view code, CVesparioDoc &doc, int index,
             std::string_view fieldNo, std::string_view value) {
    out += code;
    out += OneLineValue(doc.Record(index).Field(field::Type)) + ";";
    out += OneLineValue(doc.Record(index).Field(field::Id)) + ";";
    out += std::string(fieldNo) + ";" + OneLineValue(value) + ";\r\n";
}

// Records are paired by their first designation, in file order where several share one.
std::string Differences(CVesparioDoc &doc, CVesparioDoc &other) {
    std::multimap<std::string, int> byName;
    for (int j = 0; j < other.GetRecordCount(); ++j)
        byName.emplace(std::string(other.GetPrimaryId(j)), j);
    std::vector<char> paired(static_cast<size_t>(other.GetRecordCount()), 0);
    std::string out = ";code;Type;ID;fld#;value;\r\n";
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        if (i % RecordWalk::kProgressEvery == 0)
            doc.Host().Progress("Finding Differences", i * 100 / doc.GetRecordCount());
        doc.EnsureParsed(i);
        const std::string name(doc.GetPrimaryId(i));
        const auto match = byName.lower_bound(name);
        if (match == byName.end() || match->first != name) {
            AddLine(out, "AddRec;", doc, i, "", "");
            continue;
        }
        const int j = match->second;
        byName.erase(match);
        paired[static_cast<size_t>(j)] = 1;
        for (int f = 0; f < kStoredFieldCount; ++f) {
            const std::string_view mine = doc.Record(i).Field(f);
            const std::string_view theirs = other.Record(j).Field(f);
            if (mine == theirs)
                continue;
            if (!theirs.empty())
                AddLine(out, "DelFld;", doc, i, std::to_string(f), theirs);
            if (!mine.empty())
                AddLine(out, "AddFld;", doc, i, std::to_string(f), mine);
        }
    }
    for (int j = 0; j < other.GetRecordCount(); ++j)
        if (!paired[static_cast<size_t>(j)])
            AddLine(out, "DelRec;", other, j, "", "");
    return out;
}

} // namespace

MaintenanceResult FileDifferences(CVesparioDoc &doc, const std::string &otherPath,
                                  const std::string &resultsPath) {
    MaintenanceResult result;
    if (!AskYesNo(doc,
                  "Do you want to find all file differences? (all deleted recs will be undeleted)"))
        return result;
    if (doc.IsModified() && !AskYesNo(doc, kImportQuestion))
        return result;
    RecordWalk walk(doc, "Finding Differences");
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        doc.Record(i).m_deleted = 0;
    doc.SetDeletedRecordsExist(false);

    ComparisonHost host(doc.Host());
    CVesparioDoc other(host, doc.Profile());
    if (!other.ReadDatabaseFile(otherPath)) {
        result.text = "cannot read " + otherPath;
        return result;
    }
    other.LoadCompletely();
    if (other.GetRecordCount() == 0 && !other.LoadFailure().empty()) {
        result.text = other.LoadFailure();
        return result;
    }
    const std::string text = Differences(doc, other);
    std::string error;
    if (!platform::WriteWholeFileAtomic(resultsPath, text, &error)) {
        result.text = error;
        return result;
    }
    result.ran = true;
    result.text = text;
    return result;
}

} // namespace vespario
