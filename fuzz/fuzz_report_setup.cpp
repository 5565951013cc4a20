// Feeds arbitrary bytes to the report setup file reader. A layout it accepts must hold only
// fields of the table with widths of 0 or more and at most 76 of them, and must read back
// the same after being written; a refused file leaves the layout as it was.

#include "db/fieldtable.h"
#include "report/reportlayout.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace vespario;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ReportLayout before = DefaultLayout(ReportKind::Text, kUnitInches);
    ReportLayout layout = before;
    if (!ParseSetupFile(bytes, layout)) {
        Check(layout == before);
        return 0;
    }
    Check(layout.fields.size() <= kMaxReportFields);
    for (const ReportField &f : layout.fields) {
        Check(FieldTable::IsValidField(f.Field()));
        Check(f.width >= 0);
    }
    Check(layout.options.units >= 0 && layout.options.units <= 2);
    ReportLayout again;
    Check(ParseSetupFile(FormatSetupFile(layout), again));
    Check(again == layout);
    return 0;
}
