#include "db/identifiers.h"

#include "db/greek.h"

#include <array>

namespace vespario {
namespace {

// One catalogue prefix. A letters-only rule overwrites the first three letters and moves
// nothing, so Arp 77 keeps its blank.
struct PrefixRule {
    std::string_view prefix;
    std::string_view shortForm;
    bool lettersOnly;
};

// Tried in this order: UGCA before UGC, and M last, so that the longer prefixes win. Arp is
// also taken as the catalogue writes it ("Arp 77"), not only in one case.
constexpr PrefixRule kRules[] = {
    {"ngc ", "n", false},    {"NGC ", "n", false},    {"ngc", "n", false},
    {"NGC", "n", false},     {"ic ", "i", false},     {"IC ", "i", false},
    {"ic", "i", false},      {"IC", "i", false},      {"ugca ", "ua", false},
    {"UGCA ", "ua", false},  {"ugca", "ua", false},   {"UGCA", "ua", false},
    {"ugc a ", "ua", false}, {"UGC A ", "ua", false}, {"ugc a", "ua", false},
    {"UGC A", "ua", false},  {"ugc ", "u", false},    {"UGC ", "u", false},
    {"ugc", "u", false},     {"UGC", "u", false},     {"arp ", "apg", true},
    {"ARP ", "apg", true},   {"Arp ", "apg", true},   {"arp", "apg", true},
    {"ARP", "apg", true},    {"Arp", "apg", true},    {"M ", "M", false},
    {"m ", "M", false},      {"M", "M", false},       {"m", "M", false},
};

constexpr std::array<std::string_view, 26> kInsertWords = {
    "ALPHA", "BETA",    "GAMMA", "DELTA", "EPSILON", "ZETA",    "ETA", "THETA",  "IOTA",
    "KAPPA", "LAMBDA",  "MU",    "NU",    "XI",      "OMICRON", "PI",  "RHO",    "SIGMA",
    "TAU",   "UPSILON", "PHI",   "CHI",   "PSI",     "OMEGA",   "DEG", "STRUVE",
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void EraseRun(std::string &text, size_t at, char c) {
    size_t end = at;
    while (end < text.size() && text[end] == c)
        ++end;
    text.erase(at, end - at);
}

void ApplyRule(std::string &text, const PrefixRule &rule) {
    const size_t pos = text.find(rule.prefix);
    if (pos == std::string::npos)
        return;
    if (pos > 0 && IsLetter(text[pos - 1]))
        return;
    const size_t after = pos + rule.prefix.size();
    if (after < text.size() && IsLetter(text[after]))
        return;
    if (rule.lettersOnly) {
        text.replace(pos, rule.shortForm.size(), rule.shortForm);
        return;
    }
    text.replace(pos, rule.prefix.size(), rule.shortForm);
    const size_t next = pos + rule.shortForm.size();
    EraseRun(text, next, ' ');
    EraseRun(text, next, '0');
}

std::string_view ExpandedPrefix(char shorthand) {
    switch (shorthand) {
    case 'a':
        return "arp ";
    case 'i':
        return "ic ";
    case 'n':
        return "ngc ";
    case 'u':
        return "ugc ";
    default:
        return {};
    }
}

} // namespace

void NormaliseDesignation(std::string &text) {
    for (const PrefixRule &rule : kRules)
        ApplyRule(text, rule);
}

std::string ExpandDesignation(std::string_view designation) {
    if (designation.size() < 2 || designation[1] < '1' || designation[1] > '9')
        return std::string(designation);
    const std::string_view prefix = ExpandedPrefix(designation[0]);
    if (prefix.empty())
        return std::string(designation);
    std::string expanded(prefix);
    expanded.append(designation.substr(1));
    return expanded;
}

std::span<const std::string_view> GreekInsertWords() {
    return kInsertWords;
}

std::string GreekInsertText(std::string_view word, int greekSet) {
    bool known = false;
    for (std::string_view insertWord : kInsertWords)
        known = known || insertWord == word;
    if (!known)
        return {};
    // The conversion tables know xi as XHI.
    const int code = GreekCode(word == "XI" ? "XHI" : word, greekSet);
    if (code < 0 || greekSet == kGreekPlain)
        return std::string(word);
    return std::string(1, static_cast<char>(code));
}

} // namespace vespario
