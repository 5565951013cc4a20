#include "ui/greektext.h"

#include "db/greek.h"

#include <array>
#include <unordered_map>

namespace vespario::ui {
namespace {

using Table = std::array<char16_t, 256>;

// The upper halves of the DOS code page 437 and of Windows-1252 (its five unused bytes as
// the control characters of the same number, as the platform's own conversion gives them).
constexpr char16_t kDos[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Glyph {
    std::string_view word;
    char16_t letter;
};

constexpr Glyph kGlyphs[] = {
    {"ALPHA", 0x03B1},  {"BETA", 0x03B2}, {"GAMMA", 0x03B3}, {"DELTA", 0x03B4}, {"EPSILON", 0x03B5},
    {"ZETA", 0x03B6},   {"ETA", 0x03B7},  {"THETA", 0x03B8}, {"IOTA", 0x03B9},  {"KAPPA", 0x03BA},
    {"LAMBDA", 0x03BB}, {"MU", 0x03BC},   {"NU", 0x03BD},    {"XHI", 0x03BE},   {"OMICRON", 0x03BF},
    {"PI", 0x03C0},     {"RHO", 0x03C1},  {"SIGMA", 0x03C3}, {"TAU", 0x03C4},   {"UPSILON", 0x03C5},
    {"PHI", 0x03C6},    {"CHI", 0x03C7},  {"PSI", 0x03C8},   {"OMEGA", 0x03C9}, {"DEG", 0x00B0},
    {"STRUVE", 0x03A3},
};

char16_t LetterOf(std::string_view word) {
    for (const Glyph &glyph : kGlyphs)
        if (glyph.word == word)
            return glyph.letter;
    return 0;
}

Table MakeTable(int greekSet) {
    Table table{};
    for (int b = 0; b < 128; ++b)
        table[static_cast<size_t>(b)] = static_cast<char16_t>(b);
    for (int b = 128; b < 256; ++b) {
        const size_t at = static_cast<size_t>(b);
        if (greekSet == kGreekDos)
            table[at] = kDos[b - 128];
        else
            table[at] = b < 160 ? kWindows1252[b - 128] : static_cast<char16_t>(b);
    }
    if (greekSet == kGreekDos || greekSet == kGreekOwn) {
        for (const GreekLetter &letter : GreekLetters()) {
            const int code = greekSet == kGreekDos ? letter.set0 : letter.set1;
            if (code >= 0)
                table[static_cast<size_t>(code)] = LetterOf(letter.word);
        }
    }
    return table;
}

struct SetTables {
    Table decode;
    std::unordered_map<char16_t, char> encode;
};

const SetTables &TablesOf(int greekSet) {
    static const std::array<SetTables, 3> tables = [] {
        std::array<SetTables, 3> made;
        for (int set = 0; set < 3; ++set) {
            SetTables &t = made[static_cast<size_t>(set)];
            t.decode = MakeTable(set);
            for (int b = 0; b < 256; ++b)
                t.encode.emplace(t.decode[static_cast<size_t>(b)], static_cast<char>(b));
            // The micro sign is the letter mu to the user.
            if (const auto mu = t.encode.find(0x03BC); mu != t.encode.end())
                t.encode.emplace(0x00B5, mu->second);
        }
        return made;
    }();
    const int set = greekSet == kGreekDos || greekSet == kGreekOwn ? greekSet : kGreekPlain;
    return tables[static_cast<size_t>(set)];
}

std::string_view WordOf(char16_t letter) {
    for (const Glyph &glyph : kGlyphs)
        if (glyph.letter == letter)
            return glyph.word;
    return {};
}

} // namespace

QString DecodeRecordText(std::string_view bytes, int greekSet) {
    const Table &table = TablesOf(greekSet).decode;
    QString text;
    text.resize(static_cast<qsizetype>(bytes.size()));
    QChar *out = text.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(table[static_cast<unsigned char>(bytes[i])]);
    return text;
}

std::string EncodeRecordText(const QString &text, int greekSet) {
    const SetTables &tables = TablesOf(greekSet);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (const auto it = tables.encode.find(u); it != tables.encode.end()) {
            bytes.push_back(it->second);
            continue;
        }
        const std::string_view word = WordOf(u);
        if (!word.empty())
            bytes += word;
        else
            bytes.push_back('?');
    }
    return bytes;
}

QString DecodeLongText(std::string_view bytes, int greekSet) {
    QString text = DecodeRecordText(bytes, greekSet);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string EncodeLongText(const QString &text, int greekSet) {
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return EncodeRecordText(crlf, greekSet);
}

QString GreekLetterGlyph(std::string_view word) {
    return QString(QChar(LetterOf(word)));
}

QString GreekLetterInsertText(std::string_view word, int greekSet) {
    if (GreekCode(word, greekSet) >= 0)
        return GreekLetterGlyph(word);
    return QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}

} // namespace vespario::ui
