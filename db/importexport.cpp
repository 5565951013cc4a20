// The export route: the export file of the other observing program, whose items are notes on
// objects that the program numbers its own way. The translation file "ngpnum.dat" maps those
// numbers to NGC numbers, five characters per number.
//
// The file is a run of entries, each: the object's number (16 bits, little-endian, counted
// from 1), the number of its items (16 bits, below 8164), then each item as its length (16
// bits) and that many bytes of text, every byte printable or CR or LF. The entries fill the
// file exactly.

#include "db/import.h"

#include "platform/files.h"
#include "platform/text.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace vespario {
namespace {

constexpr unsigned kItemCountLimit = 8164;
constexpr size_t kTranslationWidth = 5;

unsigned Word16(std::string_view data, size_t at) {
    return static_cast<unsigned char>(data[at]) |
           static_cast<unsigned>(static_cast<unsigned char>(data[at + 1])) << 8;
}

bool PrintableOrLineEnd(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == '\r' || u == '\n' || (u >= 32 && u != 127);
}

// Calls visit(number, text) for each item; false when the data does not have the structure
// (nothing is visited then only when check is on).
template <class Visit> bool WalkExport(std::string_view data, Visit visit) {
    size_t pos = 0;
    if (data.empty())
        return false;
    while (pos < data.size()) {
        if (data.size() - pos < 4)
            return false;
        const unsigned number = Word16(data, pos);
        const unsigned items = Word16(data, pos + 2);
        pos += 4;
        if (items >= kItemCountLimit)
            return false;
        for (unsigned i = 0; i < items; ++i) {
            if (data.size() - pos < 2)
                return false;
            const size_t length = Word16(data, pos);
            pos += 2;
            if (data.size() - pos < length)
                return false;
            const std::string_view text = data.substr(pos, length);
            for (char c : text)
                if (!PrintableOrLineEnd(c))
                    return false;
            visit(number, text);
            pos += length;
        }
    }
    return true;
}

} // namespace

bool HasExportStructure(std::string_view data) {
    return WalkExport(data, [](unsigned, std::string_view) {});
}

bool ConvertExportFile(std::string_view data, const ImportDescription &description,
                       const std::string &dataFolder, platform::Host &host, std::string &out) {
    const std::string folder = dataFolder.empty() ? platform::DataDir() : dataFolder;
    const auto table = platform::ReadWholeFile(folder + "/ngpnum.dat");
    if (!table) {
        host.MessageBox("Unable to find the NGP# to NGC# translation file ngpnum.dat", "Vespario",
                        platform::Buttons::Ok);
        return false;
    }
    out.clear();
    const size_t total = data.size();
    size_t done = 0;
    int untranslated = 0;
    host.Progress("Converting File", 0);
    WalkExport(data, [&](unsigned number, std::string_view text) {
        done += text.size() + 2;
        host.Progress("Converting File", static_cast<int>(done * 100 / (total ? total : 1)));
        std::string ngc;
        const size_t at = number == 0 ? std::string::npos : (number - 1) * kTranslationWidth;
        if (at != std::string::npos && at + kTranslationWidth <= table->size())
            for (char c : std::string_view(*table).substr(at, kTranslationWidth))
                if (c != ' ' && static_cast<unsigned char>(c) >= 32)
                    ngc += c;
        if (ngc.empty()) {
            ++untranslated;
            return;
        }
        out += "=n" + ngc + "=;";
        std::string item = description.exportPrefix;
        item.append(text);
        for (char c : item) {
            if (c == '\r' || c == '\n')
                c = ' ';
            if (c == ';')
                out += '\\';
            out += c;
        }
        out += ";\r\n";
    });
    host.EndProgress();
    if (untranslated > 0) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "%i item(s) of the export name an object that ngpnum.dat does not "
                      "translate; they were not imported.",
                      untranslated);
        host.MessageBox(line, "Vespario", platform::Buttons::Ok);
    }
    return true;
}

} // namespace vespario
