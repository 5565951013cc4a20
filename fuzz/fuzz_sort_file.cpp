// Feeds arbitrary bytes to the sort order file reader. A file it accepts must hold only keys
// on fields of the table with flags of 0 or 1, must read back the same after being written,
// and must order a few records without harm.

#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/sortorder.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

using namespace vespario;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct Fixture {
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc{host, profile};
    Fixture() {
        const char *magns[] = {"3.4", "", "12", "3.4", "-1"};
        const char *sizes[] = {"0x0", "3x1", "0x0", "5", "2d"};
        const char *ids[] = {"=M31=n224=", "=n224=", "=m 31=", "=M 31=", ""};
        for (int i = 0; i < 5; ++i) {
            doc.NewObject();
            doc.SetFieldText(field::Magn, magns[i]);
            doc.SetFieldText(field::Size, sizes[i]);
            doc.SetFieldText(field::Id, ids[i]);
            doc.SetFieldText(field::Refs, i % 2 ? "x^!y.^z" : "^^");
        }
    }
};

Fixture &Shared() {
    static Fixture fixture;
    return fixture;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::vector<SortKey> keys;
    if (!ParseSortFile(bytes, keys)) {
        Check(keys.empty());
        return 0;
    }
    for (const SortKey &key : keys) {
        Check(FieldTable::IsValidField(key.field));
        Check(key.caseSensitive == 0 || key.caseSensitive == 1);
        Check(key.direction == 0 || key.direction == 1);
    }
    std::vector<SortKey> again;
    Check(ParseSortFile(FormatSortFile(keys), again));
    Check(again == keys);

    if (keys.size() > 64)
        keys.resize(64);
    Fixture &f = Shared();
    f.host.Clear();
    SortOrder order(f.doc);
    order.SetKeys(keys);
    std::vector<int> list;
    for (int r = 0; r < f.doc.GetRecordCount(); ++r) {
        const int at = order.InsertPosition(list, r);
        Check(at >= 0 && at <= static_cast<int>(list.size()));
        list.insert(list.begin() + at, r);
    }
    // The list comes out in key order: each entry sorts behind every entry before it.
    for (size_t i = 1; i < list.size(); ++i) {
        const std::span<const int> before(list.data(), i);
        Check(order.InsertPosition(before, list[i]) == static_cast<int>(i));
    }
    return 0;
}
