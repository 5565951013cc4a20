#include "select/criteriafile.h"

#include "db/fieldtable.h"
#include "select/smallfile.h"

namespace vespario {
namespace {

// One line as the file holds it; false at damage.
bool ReadLine(SmallFileReader &in, bool oldNumbering, CriteriaLine &line) {
    int32_t field = 0;
    int32_t code = 0;
    int32_t fromThisObject = 0;
    if (!in.ReadInt(field) || !in.ReadInt(code) || !in.ReadReal(line.radius) ||
        !in.ReadInt(fromThisObject) || !in.ReadText(line.value) || !in.ReadText(line.description))
        return false;
    // Old versions had no slot 33 yet (Hick# came later): their later fields move up.
    if (oldNumbering && field >= 33)
        ++field;
    if (!FieldTable::IsValidField(field) || code < 0 || code >= kOperatorCount)
        return false;
    line.field = field;
    line.op = code;
    line.fromThisObject = fromThisObject != 0 ? 1 : 0;
    return true;
}

} // namespace

std::string FormatCriteriaFile(std::span<const CriteriaLine> lines) {
    std::string out = std::to_string(kCriteriaFileVersion) + " " +
                      std::to_string(kCriteriaFileMark) + " " + std::to_string(lines.size()) + " ";
    for (const CriteriaLine &line : lines) {
        out += std::to_string(line.field) + " " + std::to_string(line.op) + " " +
               FormatReal(line.radius) + " " + std::to_string(line.fromThisObject) + " ";
        out += FileSafeText(line.value);
        out += kTextEnd;
        out += FileSafeText(line.description);
        out += kTextEnd;
    }
    return out;
}

bool ParseCriteriaFile(std::string_view bytes, std::vector<CriteriaLine> &lines) {
    SmallFileReader in(bytes);
    int32_t first = 0;
    if (!in.ReadInt(first))
        return false;
    int32_t version = 0;
    int32_t count = first;
    if (first >= kFirstCriteriaHeaderVersion) {
        version = first;
        int32_t mark = 0;
        if (!in.ReadInt(mark) || mark != kCriteriaFileMark || !in.ReadInt(count))
            return false;
    }
    if (count < 0)
        return false;
    std::vector<CriteriaLine> read;
    // No reservation from the count: a damaged count must not allocate; the file runs out.
    for (int32_t i = 0; i < count; ++i) {
        CriteriaLine line;
        if (!ReadLine(in, version < kCriteriaFileVersion, line))
            return false;
        read.push_back(std::move(line));
    }
    lines = std::move(read);
    return true;
}

} // namespace vespario
