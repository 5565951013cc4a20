#include "db/csv.h"

namespace vespario {

CsvText ConvertCsv(std::string_view csv) {
    CsvText out;
    std::string &text = out.text;
    // Escapes and the delimiters added at line ends make the text grow: a third is usual,
    // more than that reallocates rather than overrun.
    text.reserve(csv.size() + csv.size() / 3 + 4);
    bool quoted = false;
    bool fieldStart = true;
    int line = 1;
    int quoteLine = 0;
    size_t lineStart = 0; // where the output of the current line begins
    for (size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < csv.size() && csv[i + 1] == '"') {
                    text += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == ',') {
                text += "\\,";
            } else if (c == '\r' || c == '\n') {
                if (c == '\n' || i + 1 >= csv.size() || csv[i + 1] != '\n')
                    ++line;
                if (text.empty() || text.back() != ' ')
                    text += ' ';
            } else {
                text += c;
            }
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            quoteLine = line;
            fieldStart = false;
            continue;
        }
        if (c == ',') {
            text += ',';
            fieldStart = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            // A line that ended without a delimiter gets one; CR LF gets one only once.
            if (!(c == '\n' && i > 0 && csv[i - 1] == '\r'))
                text += ',';
            text += c;
            if (c == '\n' || i + 1 >= csv.size() || csv[i + 1] != '\n')
                ++line;
            fieldStart = true;
            lineStart = text.size();
            continue;
        }
        text += c;
        fieldStart = false;
    }
    if (quoted) {
        text.resize(lineStart);
        out.unclosedQuoteLine = quoteLine;
    } else if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
        text += ',';
    }
    return out;
}

} // namespace vespario
