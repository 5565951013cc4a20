// Checks the library graph: every #include "…" of every source in the folders of the table
// (tools/layers.txt) must name a header of the same folder or of a folder the table lets it
// use, and no folder the table does not mark "qt" may include a Qt header.
//
// usage: vespario-checklayers SOURCE_DIR TABLE
// Prints one line per forbidden include, "FILE:LINE: FROM may not include TO (HEADER)", and
// returns 1 when there is any, 2 when the table cannot be read, 0 otherwise.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
    std::set<std::string> uses;
    bool qt = false;
};

using Table = std::map<std::string, Layer>;

bool ReadTable(const fs::path &path, Table &table, std::ostream &err) {
    std::ifstream in(path);
    if (!in) {
        err << path.string() << ": cannot read the layer table\n";
        return false;
    }
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (line.empty() || line[0] == '#')
            continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            err << path.string() << ":" << lineNo << ": a row is \"folder: folders it uses\"\n";
            return false;
        }
        Layer &layer = table[line.substr(0, colon)];
        std::istringstream words(line.substr(colon + 1));
        for (std::string word; words >> word;) {
            if (word == "qt")
                layer.qt = true;
            else
                layer.uses.insert(word);
        }
    }
    return !table.empty();
}

bool IsSource(const fs::path &path) {
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp" || ext == ".hpp" || ext == ".cc";
}

// <QWidget>, <QtCore/QString>, "QObject": the Qt headers are named Q and a capital letter.
bool IsQtHeader(const std::string &header) {
    return header.size() >= 2 && header[0] == 'Q' &&
           ((header[1] >= 'A' && header[1] <= 'Z') || header[1] == 't');
}

// Checks one file; returns the number of forbidden includes it has.
int CheckFile(const fs::path &file, const std::string &shown, const std::string &folder,
              const Table &table, std::ostream &out) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    const Layer &layer = table.at(folder);
    std::ifstream in(file);
    int faults = 0;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        std::smatch m;
        if (!std::regex_search(line, m, include))
            continue;
        const std::string header = m[2];
        const std::string where = shown + ":" + std::to_string(lineNo) + ": ";
        if (IsQtHeader(header)) {
            if (!layer.qt) {
                out << where << folder << " may not include a Qt header (" << header << ")\n";
                ++faults;
            }
            continue;
        }
        if (m[1] == "<")
            continue; // the standard library and the system's headers
        const size_t slash = header.find('/');
        if (slash == std::string::npos)
            continue; // a header beside the file
        const std::string to = header.substr(0, slash);
        if (to == folder || layer.uses.count(to) != 0)
            continue;
        if (table.count(to) == 0)
            out << where << folder << " includes a header of no library in the table (" << header
                << ")\n";
        else
            out << where << folder << " may not include " << to << " (" << header << ")\n";
        ++faults;
    }
    return faults;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: vespario-checklayers SOURCE_DIR TABLE\n";
        return 2;
    }
    const fs::path root = argv[1];
    Table table;
    if (!ReadTable(argv[2], table, std::cerr))
        return 2;
    int faults = 0;
    int files = 0;
    for (const auto &[folder, layer] : table) {
        const fs::path dir = root / folder;
        if (!fs::is_directory(dir))
            continue; // a layer still to come
        std::vector<fs::path> sources;
        for (const auto &entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file() && IsSource(entry.path()))
                sources.push_back(entry.path());
        std::sort(sources.begin(), sources.end());
        for (const fs::path &file : sources) {
            faults += CheckFile(file, fs::relative(file, root).string(), folder, table, std::cout);
            ++files;
        }
    }
    if (faults != 0) {
        std::cout << faults << " include(s) against the library graph of " << argv[2] << "\n";
        return 1;
    }
    std::cout << files << " files follow the library graph\n";
    return 0;
}
