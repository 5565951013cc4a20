// Feeds arbitrary bytes to the database reader, loads them completely, writes the result and
// reads that again: the written file must load cleanly and keep every record.

#include "db/cvespariodoc.h"
#include "platform/host.h"
#include "platform/iniprofile.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace vespario;

// Counts the messages that a clean reload must not show.
class FuzzHost : public platform::Host {
public:
    platform::Answer MessageBox(std::string_view text, std::string_view,
                                platform::Buttons) override {
        for (std::string_view bad : {"Unterminated", "Duplicated", "Warning", "This is not"})
            complaints += text.substr(0, bad.size()) == bad;
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

    int complaints = 0;
};

platform::IniProfile &Profile() {
    static platform::IniProfile profile = [] {
        platform::IniProfile p;
        p.WriteInt("ObsPlace", "NumberOf", 2);
        p.WriteString("ObsPlace", "Place0", "H home");
        p.WriteString("ObsPlace", "Place1", "] odd");
        p.WriteInt("ObsEquip", "NumberOf", 1);
        p.WriteString("ObsEquip", "Equip0", "8 scope");
        p.WriteInt("File", "RecordWidth", 20); // short lines: more wrapping to check
        return p;
    }();
    return profile;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzHost host;
    CVesparioDoc doc(host, Profile());
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    doc.ReadDatabase(in);
    doc.LoadCompletely();
    const int count = doc.GetRecordCount();

    std::ostringstream out;
    if (!doc.WriteDatabase(out))
        std::abort();
    const std::string first = out.str();
    host.complaints = 0;
    std::istringstream again(first);
    doc.ReadDatabase(again);
    doc.LoadCompletely();
    if (host.complaints != 0 || doc.GetRecordCount() != count)
        std::abort();

    // What was read back writes the same bytes.
    std::ostringstream second;
    if (!doc.WriteDatabase(second) || second.str() != first)
        std::abort();
    return 0;
}
