#pragma once
// Small helpers on bytes of text, in the C locale whatever the process locale is: character
// classes, trimming, case and the reading of digit runs. Every library above uses these, so
// that "blank" or "digit" means one thing everywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vespario {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// A blank as a text box or a record field has them: a space or a tab.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
// White space as the C library's isspace has it in the C locale.
constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
constexpr char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The same text but for the case of a to z.
constexpr bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Whether text begins, or ends, with part, but for the case of a to z.
constexpr bool StartsWithNoCaseAscii(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && EqualNoCaseAscii(text.substr(0, part.size()), part);
}
constexpr bool EndsWithNoCaseAscii(std::string_view text, std::string_view part) {
    return text.size() >= part.size() &&
           EqualNoCaseAscii(text.substr(text.size() - part.size()), part);
}

// The text without the characters of which(c) at its start, at its end, or at both.
template <class Which> constexpr std::string_view TrimStart(std::string_view text, Which which) {
    while (!text.empty() && which(text.front()))
        text.remove_prefix(1);
    return text;
}
template <class Which> constexpr std::string_view TrimEnd(std::string_view text, Which which) {
    while (!text.empty() && which(text.back()))
        text.remove_suffix(1);
    return text;
}
template <class Which> constexpr std::string_view Trim(std::string_view text, Which which) {
    return TrimEnd(TrimStart(text, which), which);
}

// Blanks (space, tab) or white space around a text.
constexpr std::string_view TrimBlanks(std::string_view text) {
    return Trim(text, IsBlank);
}
constexpr std::string_view TrimWhiteSpace(std::string_view text) {
    return Trim(text, IsWhiteSpace);
}

// A value as the command line and the command topic take it: one that begins with a double
// quote loses it, and then one that ends with a double quote loses that too.
constexpr std::string_view WithoutQuotes(std::string_view value) {
    if (!value.empty() && value.front() == '"') {
        value.remove_prefix(1);
        if (!value.empty() && value.back() == '"')
            value.remove_suffix(1);
    }
    return value;
}

// The run of decimal digits at the start of text: how many there are and their value, which
// stops growing at kDigitRunCap so that any run of digits reads without overflow. Callers
// clamp the value to their own range (or refuse it when it is above that range).
inline constexpr std::uint64_t kDigitRunCap = std::uint64_t{1} << 62;
struct DigitRun {
    std::size_t length = 0;
    std::uint64_t value = 0;
};
constexpr DigitRun ReadDigitRun(std::string_view text) {
    DigitRun run;
    while (run.length < text.size() && IsDigit(text[run.length])) {
        const unsigned digit = static_cast<unsigned>(text[run.length] - '0');
        run.value = run.value >= kDigitRunCap / 10 ? kDigitRunCap : run.value * 10 + digit;
        ++run.length;
    }
    return run;
}

// Appends text to an HTML page: the four characters that would start markup or end an
// attribute become entities, and control characters other than the tab, which no HTML
// parser accepts, are dropped. Both the reports and the URL export write pages with it.
inline void AppendHtmlEscaped(std::string &out, std::string_view text) {
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(ch) >= 32 || ch == '\t')
                out += ch;
        }
    }
}

} // namespace vespario
