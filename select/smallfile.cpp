#include "select/smallfile.h"

#include "platform/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vespario {
namespace {} // namespace

void SmallFileReader::SkipWhiteSpace() {
    while (m_pos < m_bytes.size() && IsWhiteSpace(m_bytes[m_pos]))
        ++m_pos;
}

bool SmallFileReader::ReadInt(int32_t &value) {
    SkipWhiteSpace();
    size_t p = m_pos;
    bool negative = false;
    if (p < m_bytes.size() && (m_bytes[p] == '+' || m_bytes[p] == '-')) {
        negative = m_bytes[p] == '-';
        ++p;
    }
    if (p >= m_bytes.size() || !IsDigit(m_bytes[p]))
        return false;
    const DigitRun digits = ReadDigitRun(std::string_view(m_bytes).substr(p));
    if (digits.value > uint64_t{std::numeric_limits<int32_t>::max()} + 1)
        return false;
    p += digits.length;
    const auto magnitude = static_cast<int64_t>(digits.value);
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(signedValue);
    m_pos = p;
    return true;
}

bool SmallFileReader::ReadReal(double &value) {
    SkipWhiteSpace();
    size_t p = m_pos;
    if (p < m_bytes.size() && m_bytes[p] == '+') {
        ++p;
        if (p < m_bytes.size() && (m_bytes[p] == '+' || m_bytes[p] == '-'))
            return false; // one sign only
    }
    const char *begin = m_bytes.data() + p;
    const auto result = std::from_chars(begin, m_bytes.data() + m_bytes.size(), value);
    if (result.ec != std::errc())
        return false;
    m_pos = static_cast<size_t>(result.ptr - m_bytes.data());
    return true;
}

bool SmallFileReader::ReadText(std::string &text) {
    const size_t end = m_bytes.find(kTextEnd, m_pos);
    if (end == std::string_view::npos)
        return false;
    // A longer text keeps its first bytes; the rest up to its 0xFF is passed over, so that
    // what follows is still read from the right place.
    std::string_view t = m_bytes.substr(m_pos, std::min(end - m_pos, kMaxFileTextBytes));
    m_pos = end + 1;
    while (!t.empty() && IsWhiteSpace(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsWhiteSpace(t.back()))
        t.remove_suffix(1);
    text.assign(t);
    return true;
}

std::string FormatReal(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string FileSafeText(std::string_view text) {
    std::string safe(text);
    for (char &c : safe) {
        if (c == kTextEnd)
            c = '?';
    }
    return safe;
}

std::string WithExtension(const std::string &path, std::string_view ext) {
    if (path.size() >= ext.size()) {
        bool same = true;
        for (size_t i = 0; i < ext.size(); ++i)
            same = same && LowerAscii(path[path.size() - ext.size() + i]) == LowerAscii(ext[i]);
        if (same)
            return path;
    }
    return path + std::string(ext);
}

} // namespace vespario
