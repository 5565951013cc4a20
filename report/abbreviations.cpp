#include "report/abbreviations.h"

#include "pattern/pattern.h"
#include "platform/text.h"
#include "settings/settingsvocabularies.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vespario {
namespace {

using std::string_view;

constexpr std::array<string_view, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

struct WordAbbreviation {
    string_view abbreviation;
    string_view expansion;
    bool anyCase;
};

// In the order they are tried: UHCBlink before UHC.
constexpr WordAbbreviation kWords[] = {
    {"UHCBlink", "Blinking the UHC in and out of view to make a nebula more easily visible", true},
    {"BM", "brighter in the middle", false},
    {"UHC", "Lumicon Ultra High Contrast filter", false},
    {"LPR", "Orion Light Pollution Rejection filter", false},
    {"HST", "Hubble Space Telescope", false},
    {"pix", "picture", false},
    {"dcrp", "description", false},
    {"TAPS", "tapping the scope to make a faint object more easily visible", false},
    {"anon", "anonymous", false},
    {"GSC", "Hubble Guide Star Catalog", false},
    {"SkyMap", "SkyMap (the planetarium program I use)", false},
    {"Nope", "Not found, or not observed", true},
};

struct Qualifier {
    string_view stem;
    string_view plain; // "bright"
    string_view more;  // "brighter"
    string_view most;  // "brightest"
    string_view ness;  // "brightness"
};

constexpr Qualifier kQualifiers[] = {
    {"BT", "bright", "brighter", "brightest", "brightness"},
    {"FT", "faint", "fainter", "faintest", "faintness"},
    {"SM", "small", "smaller", "smallest", "smallness"},
    {"LG", "large", "larger", "largest", "largeness"},
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsAlnum(char c) {
    return IsDigit(c) || IsLetter(c);
}
// A character that ends a word for the rules that need a whole word.
bool EndsWord(string_view s, size_t at) {
    return at >= s.size() || !IsAlnum(s[at]);
}
// Punctuation and blanks that the driver copies between words.
bool IsPassThrough(char c) {
    return static_cast<unsigned char>(c) < '0' && c != '*' && c != '.';
}

size_t DigitRun(string_view s, size_t from) {
    size_t end = from;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    return end - from;
}

// A number: digits with at most one decimal point between digits; its length, 0 for none.
size_t NumberLength(string_view s, size_t from) {
    size_t n = DigitRun(s, from);
    if (n == 0)
        return 0;
    const size_t dot = from + n;
    if (dot + 1 < s.size() && s[dot] == '.' && IsDigit(s[dot + 1]))
        n += 1 + DigitRun(s, dot + 1);
    return n;
}

Expansion Answer(std::string text, size_t consumed) {
    return {std::move(text), consumed};
}

// "S199803" then a page, "cover" or "backcover".
Expansion MagazineIssue(string_view s, const SettingsVocabularies *v) {
    if (v == nullptr || s.size() < 7)
        return {};
    const CodeList &magazines = v->Magazines();
    const int32_t index = magazines.Find(s.substr(0, 1));
    if (index < 0)
        return {};
    if (!(s[1] == '1' || s[1] == '2') || !(s[2] == '9' || s[2] == '0') || !IsDigit(s[3]) ||
        !IsDigit(s[4]) || !(s[5] == '0' || s[5] == '1') || !IsDigit(s[6]))
        return {};
    const int month = (s[5] - '0') * 10 + (s[6] - '0');
    if (month < 1 || month > 12)
        return {};
    std::string text(magazines.MeaningOf(index));
    text += ", ";
    text += kMonths[static_cast<size_t>(month - 1)];
    text += ' ';
    text += s.substr(1, 4);
    size_t used = 7;
    const string_view rest = s.substr(7);
    if (rest.starts_with("backcover")) {
        text += ", back cover";
        used += 9;
    } else if (rest.starts_with("cover")) {
        text += ", cover";
        used += 5;
    } else if (const size_t page = DigitRun(s, 7); page > 0) {
        text += ", page ";
        text += s.substr(7, page);
        used += page;
    }
    return Answer(std::move(text), used);
}

Expansion WordAbbreviations(string_view s) {
    for (const WordAbbreviation &word : kWords) {
        const bool found = word.anyCase ? StartsWithNoCaseAscii(s, word.abbreviation)
                                        : s.starts_with(word.abbreviation);
        if (found)
            return Answer(std::string(word.expansion), word.abbreviation.size());
    }
    return {};
}

// The digits and hyphens of a reference, from `from`.
size_t ReferenceLength(string_view s, size_t from) {
    size_t end = from;
    while (end < s.size() && (IsDigit(s[end]) || s[end] == '-'))
        ++end;
    return end - from;
}

Expansion BookReference(string_view s, const SettingsVocabularies *v) {
    if (v == nullptr)
        return {};
    for (const std::string &entry : v->Books().Entries()) {
        const size_t semicolon = entry.find(';');
        if (semicolon == std::string::npos || semicolon == 0)
            continue;
        const string_view key(entry.data(), semicolon);
        if (!s.starts_with(key))
            continue;
        size_t at = key.size();
        const bool plate = s.substr(at).starts_with("pl");
        if (at < s.size() && IsLetter(s[at]) && !plate)
            continue;
        std::string title = entry.substr(semicolon + 1);
        if (key == "WS" && at < s.size() && s[at] >= '1' && s[at] <= '7') {
            if (title.ends_with("vol 1-7"))
                title.resize(title.size() - 7);
            title += "volume ";
            title += s[at++];
            if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
                title += s[at] == '+' ? " entry# " : " page ";
                const size_t digits = DigitRun(s, ++at);
                title += s.substr(at, digits);
                at += digits;
            }
            return Answer(std::move(title), at);
        }
        std::string text;
        if (at < s.size() && s[at] == '-') {
            text = "minor entry on ";
            ++at;
        }
        text += title;
        if (plate)
            at += 2;
        const size_t reference = ReferenceLength(s, at);
        if (reference > 0) {
            text += plate ? " plate " : " page ";
            text += s.substr(at, reference);
            at += reference;
        }
        return Answer(std::move(text), at);
    }
    return {};
}

Expansion ObjectType(string_view s, const SettingsVocabularies *v) {
    if (v == nullptr || s.size() < 3 || static_cast<unsigned char>(s[2]) >= 'A')
        return {};
    const string_view word = s.substr(0, 2);
    if (word == "so" || word == "is" || word == "as" || word == "lg")
        return {};
    const CodeList &types = v->Types();
    for (int32_t i = 0; i < types.Count(); ++i)
        if (types.CodeOf(i).size() == 2 && StartsWithNoCaseAscii(types.CodeOf(i), word))
            return Answer(std::string(types.MeaningOf(i)), 2);
    return {};
}

Expansion Magnification(string_view s) {
    if (s.empty() || s[0] != 'x')
        return {};
    const size_t digits = DigitRun(s, 1);
    if (digits == 0 || !EndsWord(s, 1 + digits))
        return {};
    return Answer(std::string(s.substr(1, digits)) + " power magnification", 1 + digits);
}

std::string SpelledDate(string_view date) {
    const int month = (date[4] - '0') * 10 + (date[5] - '0');
    std::string text(kMonths[static_cast<size_t>(month - 1)]);
    text += ' ';
    text += date[6] == '0' ? date.substr(7, 1) : date.substr(6, 2);
    text += ", ";
    text += date.substr(0, 4);
    return text;
}

bool IsGrade(char c) {
    return (c >= '1' && c <= '9') || c == '?';
}

// "_19990312de45-": date, place, equipment, seeing, transparency, the closing "-".
Expansion ObservationHeader(string_view s, const SettingsVocabularies *v) {
    if (v == nullptr)
        return {};
    size_t at = !s.empty() && s[0] == '_' ? 1 : 0;
    const string_view h = s.substr(at);
    if (h.size() < 12 || !(h.starts_with("19") || h.starts_with("20")) || DigitRun(h, 0) < 8)
        return {};
    const int month = (h[4] - '0') * 10 + (h[5] - '0');
    if (h[4] >= '2' || h[6] >= '4' || month < 1 || month > 12)
        return {};
    const string_view place = v->Places().Meaning(h.substr(8, 1));
    const string_view equipment = v->Equipment().Meaning(h.substr(9, 1));
    if (place.empty() || equipment.empty() || !IsGrade(h[10]) || !IsGrade(h[11]))
        return {};
    std::string text = "Observation on " + SpelledDate(h);
    at += 12;
    if (s.size() >= at + 5 && IsDigit(s[at]) && IsDigit(s[at + 1]) && s[at + 2] == ':' &&
        IsDigit(s[at + 3]) && IsDigit(s[at + 4])) {
        text += ' ';
        text += s.substr(at, 5);
        at += 5;
    }
    text += " at ";
    text += place.substr(0, place.find('|'));
    text += " using ";
    text += equipment;
    text += " seeing=";
    text += h[10];
    text += " transparancy=";
    text += h[11];
    if (at < s.size() && s[at] == '-')
        ++at;
    return Answer(std::move(text), at);
}

Expansion QualifierWord(string_view s) {
    for (const Qualifier &q : kQualifiers) {
        const std::string st(q.stem);
        // Longest first within the stem: the degree prefixes, then the suffixes, then bare.
        const std::pair<std::string, std::string> forms[] = {
            {"v" + st + "r", "very much " + std::string(q.more)},
            {"v" + st, "very " + std::string(q.plain)},
            {"p" + st, "pretty " + std::string(q.plain)},
            {"e" + st, "extremely " + std::string(q.plain)},
            {"x" + st, "very extremely " + std::string(q.plain)},
            {st + "ening", q.stem == "BT" ? "brightening" : ""},
            {st + "ness", std::string(q.ness)},
            {st + "ns", std::string(q.ness)},
            {st + "st", std::string(q.most)},
            {st + "r", std::string(q.more)},
            {st, std::string(q.plain)},
        };
        for (const auto &[form, words] : forms)
            if (!words.empty() && s.starts_with(form) && EndsWord(s, form.size()))
                return Answer(words, form.size());
    }
    return {};
}

Expansion AtlasChart(string_view s) {
    if (s.size() < 2 || (s[0] != 'T' && s[0] != 'U'))
        return {};
    const size_t digits = DigitRun(s, 1);
    if (digits == 0 || !EndsWord(s, 1 + digits))
        return {};
    std::string text = s[0] == 'T' ? "Sky Atlas 2000" : "Uranometria 2000";
    text += " chart ";
    text += s.substr(1, digits);
    return Answer(std::move(text), 1 + digits);
}

// "12m", "10..12m", "..12", "12..".
Expansion Magnitude(string_view s) {
    if (s.starts_with("..")) {
        const size_t n = NumberLength(s, 2);
        if (n == 0 || !EndsWord(s, 2 + n))
            return {};
        return Answer(std::string(s.substr(2, n)) + " magnitude and brighter", 2 + n);
    }
    const size_t n = NumberLength(s, 0);
    if (n == 0)
        return {};
    const string_view first = s.substr(0, n);
    if (n < s.size() && s[n] == 'm' && EndsWord(s, n + 1))
        return Answer(std::string(first) + " magnitude", n + 1);
    if (!s.substr(n).starts_with(".."))
        return {};
    const size_t second = NumberLength(s, n + 2);
    if (second == 0)
        return EndsWord(s, n + 2) ? Answer(std::string(first) + " magnitude and fainter ", n + 2)
                                  : Expansion{};
    const size_t end = n + 2 + second;
    if (end < s.size() && s[end] == 'm' && EndsWord(s, end + 1))
        return Answer(std::string(first) + " to " + std::string(s.substr(n + 2, second)) +
                          " magnitude",
                      end + 1);
    return {};
}

// A size "3'" or "40\"" from `at`: appends its words; its length, 0 for none.
size_t OneSize(string_view s, size_t at, std::string &text) {
    const size_t n = NumberLength(s, at);
    if (n == 0 || at + n >= s.size() || (s[at + n] != '\'' && s[at + n] != '"'))
        return 0;
    text += s.substr(at, n);
    text += s[at + n] == '\'' ? " arcminutes" : " arcseconds";
    return n + 1;
}

constexpr string_view kDirectionLetters = "nspfewNSPFEW";
constexpr string_view kDirectionWords[] = {" north",     " south", " preceeding",
                                           " following", " east",  " west"};

// Direction letters after a distance: "5'nf".
size_t Directions(string_view s, size_t at, std::string &text) {
    size_t end = at;
    while (end < s.size() && kDirectionLetters.find(s[end]) != string_view::npos)
        ++end;
    if (end == at || !EndsWord(s, end))
        return 0;
    for (size_t i = at; i < end; ++i)
        text += kDirectionWords[kDirectionLetters.find(s[i]) % 6];
    if (end - at == 1 && (s[at] == 'p' || s[at] == 'P'))
        text += " (or picture)";
    if (end - at == 1 && (s[at] == 'f' || s[at] == 'F'))
        text += " (or finder chart)";
    return end - at;
}

// "3'x2' 45", "40\"", "5'nf".
Expansion Size(string_view s) {
    std::string text;
    size_t at = OneSize(s, 0, text);
    if (at == 0)
        return {};
    if (at < s.size() && (s[at] == 'x' || s[at] == 'X')) {
        std::string second = " by ";
        if (const size_t n = OneSize(s, at + 1, second); n > 0) {
            text += second;
            at += 1 + n;
            const size_t angle = DigitRun(s, at + 1);
            if (at < s.size() && s[at] == ' ' && angle > 0 && EndsWord(s, at + 1 + angle)) {
                text += " in position angle ";
                text += s.substr(at + 1, angle);
                at += 1 + angle;
            }
            return Answer(std::move(text), at);
        }
    }
    at += Directions(s, at, text);
    return Answer(std::move(text), at);
}

constexpr std::pair<string_view, string_view> kPictureQualifiers[] = {
    {"ir ", "infrared "}, {"xray ", "xray "},
    {"radio ", "radio "}, {"false-color ", "false-color "},
    {"great ", "great "}, {"best ", "best "}};
constexpr string_view kKindLetters = "pdfts";
constexpr string_view kKindWords[] = {"picture ", "description ", "finder chart ", "theory ",
                                      "sketch "};

// "ir pd": qualifiers, then a word made only of the kind letters.
Expansion PictureKinds(string_view s) {
    std::string text;
    size_t at = 0;
    for (bool more = true; more;) {
        more = false;
        for (const auto &[word, words] : kPictureQualifiers)
            if (s.substr(at).starts_with(word)) {
                text += words;
                at += word.size();
                more = true;
            }
    }
    size_t end = at;
    while (end < s.size() && kKindLetters.find(s[end]) != string_view::npos)
        ++end;
    if (end == at || !EndsWord(s, end))
        return {};
    for (size_t i = at; i < end; ++i) {
        if (i + 1 == end && end - at > 1)
            text += "and ";
        text += kKindWords[kKindLetters.find(s[i])];
    }
    // The blank after the word is copied by the driver.
    if (end < s.size() && s[end] == ' ')
        text.pop_back();
    return Answer(std::move(text), end);
}

} // namespace

std::string UnabbreviateWarning(string_view what) {
    std::string text = "Please check the ";
    text += what;
    text += " carefully for mistakes in unabbreviation.\r\n"
            "Unanticipated phrases can lead to erroneous (and humorous) translations.\r\n"
            "Please send examples of wrong expansions to the author for future updates.";
    return text;
}

Expansion ExpandAt(string_view rest, const SettingsVocabularies *v, bool lineStart) {
    size_t skipped = 0;
    while (skipped < rest.size() && IsPassThrough(rest[skipped]))
        ++skipped;
    const string_view s = rest.substr(skipped);
    if (s.empty())
        return {};
    Expansion e = MagazineIssue(s, v);
    if (e.consumed == 0)
        e = WordAbbreviations(s);
    if (e.consumed == 0)
        e = BookReference(s, v);
    if (e.consumed == 0)
        e = ObjectType(s, v);
    if (e.consumed == 0)
        e = Magnification(s);
    if (e.consumed == 0 && lineStart)
        e = ObservationHeader(s, v);
    if (e.consumed == 0)
        e = QualifierWord(s);
    if (e.consumed == 0)
        e = AtlasChart(s);
    if (e.consumed == 0)
        e = Magnitude(s);
    if (e.consumed == 0)
        e = Size(s);
    if (e.consumed == 0)
        e = PictureKinds(s);
    if (e.consumed == 0)
        return {};
    e.text.insert(0, rest.substr(0, skipped));
    e.consumed += skipped;
    return e;
}

bool Unabbreviate(std::string &text, const SettingsVocabularies *v) {
    std::string work = text + ' ';
    const string_view all(work);
    std::string out;
    out.reserve(work.size() + work.size() / 4);
    size_t pos = 0;
    while (pos < all.size()) {
        const bool lineStart = out.empty() || out.back() == '\n';
        const Expansion e = ExpandAt(all.substr(pos), v, lineStart);
        if (e.consumed > all.size() - pos)
            return false;
        if (!e.text.empty() && e.consumed == 0)
            return false;
        if (e.consumed > 0) {
            out += e.text;
            pos += e.consumed;
        } else {
            // The next word: up to and including the next blank, or up to a line end that
            // comes first (unless the word starts with it).
            size_t end = all.find(' ', pos);
            end = end == string_view::npos ? all.size() : end + 1;
            const size_t lineEnd = all.find_first_of("\r\n", pos + 1);
            if (lineEnd != string_view::npos && lineEnd < end)
                end = lineEnd;
            out.append(all, pos, end - pos);
            pos = end;
        }
        while (pos < all.size() && IsPassThrough(all[pos]))
            out += all[pos++];
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    text = std::move(out);
    return true;
}

bool ConvertLinksToHtml(std::string &body, string_view linkPattern, string_view signature) {
    Pattern pattern(linkPattern);
    if (!pattern.IsValid())
        return false;
    std::string html = "<ul>\r\n";
    int at = 0;
    const int length = static_cast<int>(body.size());
    while (at <= length) {
        const int found = pattern.Search(body, at);
        if (found < 0)
            break;
        const auto group = [&](int g) {
            if (pattern.MatchStart[g] < 0 || pattern.MatchEnd[g] < pattern.MatchStart[g])
                return string_view();
            return string_view(body).substr(
                static_cast<size_t>(pattern.MatchStart[g]),
                static_cast<size_t>(pattern.MatchEnd[g] - pattern.MatchStart[g]));
        };
        const string_view url = group(1);
        string_view description = group(2);
        if (description.empty())
            description = "no description";
        html += "<li><a href=\"";
        html += url;
        html += "\">";
        html += description;
        html += " at ";
        html += url;
        html += "</a>\r\n";
        // Always move on, even past an empty match.
        at = std::max(pattern.MatchEnd[0], found + 1);
    }
    html += "</ul>\r\n";
    html += signature;
    body = std::move(html);
    return true;
}

} // namespace vespario
