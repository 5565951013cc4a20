// Feeds arbitrary bytes to the selection criteria file reader. A file it accepts must hold
// only lines the rest of the program can use (fields of the table, operators 0..11, texts
// without their end byte and within the length limit), must describe and evaluate against a
// few records without harm, and must read back the same after being written.

#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/criteriafile.h"
#include "select/selectioncriteria.h"
#include "select/smallfile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
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
        const std::vector<std::vector<std::pair<int, std::string_view>>> records = {
            {{field::RaDec, "004244.8+411609"}, {field::Magn, "3.4"}, {field::Size, "190x60"}},
            {{field::Type, "gc"}, {field::Id, "=M13=n6205="}, {field::Info, "bright"}},
            {{field::RaDec, "bad"}, {field::Size, "0x0"}, {field::Refs, "a^!b.^c"}},
        };
        for (const auto &fields : records) {
            doc.NewObject();
            for (const auto &[n, text] : fields)
                doc.SetFieldText(n, text);
        }
    }
};

Fixture &Shared() {
    static Fixture fixture;
    return fixture;
}

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void CheckLine(const CriteriaLine &line) {
    Check(FieldTable::IsValidField(line.field));
    Check(line.op >= 0 && line.op < kOperatorCount);
    Check(line.fromThisObject == 0 || line.fromThisObject == 1);
    for (const std::string *text : {&line.value, &line.description}) {
        Check(text->size() <= kMaxFileTextBytes);
        Check(text->find(kTextEnd) == std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::vector<CriteriaLine> lines;
    if (!ParseCriteriaFile(bytes, lines)) {
        Check(lines.empty());
        return 0;
    }
    for (const CriteriaLine &line : lines)
        CheckLine(line);

    // Written and read again: the same lines. The blank before a value counts towards its
    // byte limit, so only a value at the very limit may lose its last byte.
    std::vector<CriteriaLine> again;
    Check(ParseCriteriaFile(FormatCriteriaFile(lines), again));
    Check(again.size() == lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        Check(again[i].field == lines[i].field && again[i].op == lines[i].op);
        Check(again[i].fromThisObject == lines[i].fromThisObject);
        Check(again[i].description == lines[i].description);
        Check(FormatReal(again[i].radius) == FormatReal(lines[i].radius));
        std::string_view v = lines[i].value;
        if (v.size() == kMaxFileTextBytes) {
            v.remove_suffix(1);
            while (!v.empty() && IsWhiteSpace(v.back()))
                v.remove_suffix(1);
        }
        Check(again[i].value == v);
    }

    // A few hundred lines are plenty to reach every path; evaluating more only slows down.
    if (lines.size() > 400)
        lines.resize(400);
    Fixture &f = Shared();
    f.host.Clear();
    SelectionCriteria criteria(f.doc);
    criteria.SetLines(lines);
    for (int r = 0; r < f.doc.GetRecordCount(); ++r)
        criteria.Evaluate(r);
    const auto &order = criteria.Order();
    Check(order.SuccessJumps().size() == lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        for (int target : {order.SuccessJumps()[i], order.FailureJumps()[i]})
            Check(target < 0 || (static_cast<size_t>(target) > i && target < criteria.LineCount()));
    }
    return 0;
}
