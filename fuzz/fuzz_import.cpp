// Imports arbitrary bytes into a small database under a description that the first two bytes
// choose (delimiter, new objects, CSV, the Type field, position replacement, character set,
// the export route), then writes the database and reads it back: the written file must load
// with every record, write the same bytes again, and the objects the text could not name
// must be as they were.

#include "db/csv.h"
#include "db/import.h"
#include "platform/host.h"
#include "platform/iniprofile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vespario;

class FuzzHost : public platform::Host {
public:
    platform::Answer MessageBox(std::string_view, std::string_view, platform::Buttons) override {
        return platform::Answer::Ok;
    }
    platform::Answer Confirm(std::string_view, bool &dontAskAgain) override {
        dontAskAgain = false;
        return platform::Answer::Yes;
    }
    void Beep() override {}
    void SetStatusText(int, std::string_view) override {}
    void Progress(std::string_view, int) override {}
    void EndProgress() override {}
};

platform::IniProfile &Profile() {
    static platform::IniProfile profile = [] {
        platform::IniProfile p;
        p.WriteInt("ObsPlace", "NumberOf", 1);
        p.WriteString("ObsPlace", "Place0", "H home");
        p.WriteInt("ObsEquip", "NumberOf", 1);
        p.WriteString("ObsEquip", "Equip0", "8 scope");
        p.WriteInt("File", "RecordWidth", 20);
        return p;
    }();
    return profile;
}

// The small database every input starts from, as a file text.
constexpr std::string_view kDatabase =
    ";Vespario=  2=0000000000=0000000000=0000000000=_=;=;=\r\n"
    "_n;004244.3+411609;eg;=M31=n224=Andromeda=;ab;3.4;<5;Sb;o;;;;\r\n info: Great. Dusty? ;\r\n"
    " obs: \\_20200101H8 seen. ;\r\n refs: ^ S&T 2001. ^ ;\r\n"
    "_y;004241.8+405153;eg;=M32=n221=;;8.1;8x6;E2;u;2001-;3;4;\r\n goal: find it ;\r\n"
    "_n;053432.0+220052;sn;=M1=n1952=Crab=;;8.4;6x4;;o;;;;\r\n url: {http://a} A ;\r\n"
    "_n;000000.0+000000;oc;=Twin=;;;;;z;;;;\r\n"
    "_n;000000.0+000000;un;=FAR=;;;;;z;;;;\r\n";

const std::vector<std::vector<int>> kFieldLists = {
    {field::Id, field::Info},
    {field::Type, field::Id, field::Magn, field::Size},
    {field::Id, field::RaDec, field::Src, field::Posn},
    {field::Id, field::Id, field::CheckBoxes, field::Url, field::Refs, field::Obs, field::Goal},
    {kIgnoreField, field::Id, field::SawOn, field::In, field::Rv, field::Try},
    {field::Magn},
};

std::string DataFolder() {
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() / "vespario_fuzz_import";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "ngpnum.dat", std::ios::binary) << "  224  221 1952";
        return dir.string();
    }();
    return folder;
}

std::string Written(CVesparioDoc &doc) {
    std::ostringstream out;
    if (!doc.WriteDatabase(out))
        std::abort();
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t mode = data[0];
    const uint8_t list = data[1];
    const std::string_view body(reinterpret_cast<const char *>(data) + 2, size - 2);

    FuzzHost host;
    CVesparioDoc doc(host, Profile());
    std::istringstream in{std::string(kDatabase)};
    doc.ReadDatabase(in);
    doc.LoadCompletely();
    const int before = doc.GetRecordCount();
    const std::string far(doc.Record(4).Field(field::Id)); // never named: "FAR" is not typed

    ImportText text;
    if (mode & 0x08) {
        CsvText csv = ConvertCsv(body);
        text.text = std::move(csv.text);
        text.unclosedQuoteLine = csv.unclosedQuoteLine;
        text.csv = true;
    } else {
        text.text.assign(body);
        text.exportFile = (mode & 0x80) && HasExportStructure(body);
    }
    text.logPath = "/dev/null";
    ImportDescription d;
    d.fields = kFieldLists[list % kFieldLists.size()];
    d.delimiter = (mode & 3) == 2   ? ImportDelimiter::Tab
                  : (mode & 3) == 3 ? ImportDelimiter::EndOfLine
                                    : ImportDelimiter::Character;
    d.delimiterChar = (mode & 3) == 1 ? ',' : ';';
    d.addNew = mode & 0x04;
    d.skipLines = (list >> 4) & 3;
    d.log = true;
    if (mode & 0x20) {
        d.replaceSources = list & 0x40 ? "*" : "o";
        d.replaceWithinArcmin = list & 0x80 ? 10000 : 3;
    }
    if (mode & 0x40)
        d.charset = mode & 0x10 ? 0 : 2;
    std::string error;
    if (!PresetDescription(text, d, error))
        return 0;
    const ImportSummary summary = ImportData(doc, text, d, true, DataFolder());
    if (doc.GetRecordCount() < before || summary.recordsRead < summary.matched)
        std::abort();
    // The text as the import reads it: control bytes dropped, case ignored.
    std::string lower;
    for (char c : body)
        if (static_cast<unsigned char>(c) >= 32)
            lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower.find("far") == std::string::npos && doc.Record(4).Field(field::Id) != far)
        std::abort();

    const std::string first = Written(doc);
    const int count = doc.GetRecordCount() - [&] {
        int deleted = 0;
        for (int i = 0; i < doc.GetRecordCount(); ++i)
            deleted += doc.Record(i).m_deleted ? 1 : 0;
        return deleted;
    }();
    CVesparioDoc again(host, Profile());
    std::istringstream back(first);
    again.ReadDatabase(back);
    again.LoadCompletely();
    if (again.GetRecordCount() != count || Written(again) != first)
        std::abort();
    return 0;
}
