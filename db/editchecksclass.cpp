// The classification notations of the object types: each parser consumes the notation it
// knows from the front of the Class text, and a text passes when a parser consumes all of it.

#include "db/editchecks.h"

#include "platform/text.h"

#include <initializer_list>
#include <string>

namespace vespario {
namespace {

// A read position in the Class text. Every Take consumes its token only when the text
// continues with it.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    size_t Position() const { return m_pos; }
    bool Take(std::string_view token) {
        if (m_text.substr(m_pos, token.size()) != token)
            return false;
        m_pos += token.size();
        return true;
    }
    // The first of the tokens, in the order given, that the text continues with.
    bool TakeFirst(std::initializer_list<std::string_view> tokens) {
        for (const std::string_view token : tokens)
            if (Take(token))
                return true;
        return false;
    }
    // One character of the range first..last.
    bool TakeIn(char first, char last) {
        if (AtEnd() || m_text[m_pos] < first || m_text[m_pos] > last)
            return false;
        ++m_pos;
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

// --- galaxies --------------------------------------------------------------------------

bool QuasarClass(Cursor &c);

void EllipticalStage(Cursor &c) {
    if (c.TakeFirst({"+0", "+1", "+2", "+3", "+4", "+5", "+6", "+7"}) || c.TakeIn('0', '7'))
        c.Take(".5");
}

void SpiralStage(Cursor &c) {
    // "0" with the degree sign is written "0DEG" or with the sign's code in the DOS code page
    // (Greek set 0) or in the program's own and the Windows sets (1 and 2).
    c.TakeFirst({"0-", "0+", "0DEG", "0\xF8", "0\xB0", "0a", "ab", "bc", "cd", "dm", "0", "a", "b",
                 "c", "d", "m"});
}

void GalaxyMainType(Cursor &c) {
    if (c.Take("E")) {
        EllipticalStage(c);
    } else if (c.Take("S")) {
        c.TakeFirst({"AB", "A", "B"});
        c.TakeFirst({"(rs)", "(r)", "(s)"});
        SpiralStage(c);
    } else if (c.Take("I")) {
        c.TakeFirst({"AB", "A", "B"});
        c.Take("(s)");
        c.TakeFirst({"m", "0"});
    } else if (c.Take("P")) {
        c.Take("(r)");
    } else {
        c.Take("U");
    }
}

// One class; false when a quasar class in brackets is not closed (the text is rejected).
// quasarEnded is set when "]" closed one, which ends the text.
bool GalaxyClass(Cursor &c, bool &quasarEnded) {
    if (c.Take("[")) {
        quasarEnded = true;
        return QuasarClass(c) && c.Take("]");
    }
    c.TakeFirst({"c", "d"});
    c.TakeFirst({"(R)", "(R')", "(R?)", "(Rr)"});
    GalaxyMainType(c);
    c.TakeFirst({"P", "p"});
    c.Take("sp");
    c.Take("N");
    c.TakeFirst({"P", "p"});
    c.TakeFirst({"I-II", "II-III", "III-IV", "IV-V", "III", "II", "V", "IV", "I"});
    return true;
}

bool GalaxyNotation(std::string_view text) {
    std::string kept;
    for (const char ch : text)
        if (ch != ':' && ch != '?' && ch != ' ')
            kept += ch;
    Cursor c(kept);
    for (;;) {
        bool quasarEnded = false;
        if (!GalaxyClass(c, quasarEnded))
            return false;
        if (quasarEnded)
            break;
        if (!c.Take("/") && !c.Take("&"))
            break;
    }
    return c.AtEnd();
}

// --- the other kinds -------------------------------------------------------------------

// "Q", "BL", "Bl", "B?", "1", "2" or "-"; then "R" or "-"; then "X" or "-".
bool QuasarClass(Cursor &c) {
    const bool first = c.Take("Q") || (c.Take("B") && c.TakeFirst({"L", "l", "?"})) ||
                       c.TakeFirst({"1", "2", "-"});
    return first && c.TakeFirst({"R", "-"}) && c.TakeFirst({"X", "-"});
}

bool OpenClusterClass(Cursor &c) {
    if (c.TakeFirst({"III", "II", "IV", "I"}))
        c.Take(" ");
    if (c.TakeIn('1', '4'))
        c.Take(" ");
    if (c.TakeFirst({"p", "m", "r"}))
        c.Take(" ");
    c.Take("n");
    return true;
}

bool BrightNebulaClass(Cursor &c) {
    if (!c.TakeFirst({"E(SNR)", "E+R", "R+E", "E", "R"}))
        return false;
    c.Take("?");
    return true;
}

bool GlobularClass(Cursor &c) {
    return c.TakeFirst({"VIII", "VII", "VI", "V", "IV", "XII", "XI", "X", "IX", "III", "II", "I"});
}

bool DarkNebulaClass(Cursor &c) {
    if (c.TakeIn('1', '6')) {
        c.Take("?");
        c.Take(" ");
    }
    if (c.TakeFirst({"Ir", "Co", "E", "C", "K", "S"})) {
        c.Take("?");
        c.Take(" ");
    }
    c.Take("G");
    return true;
}

bool GalaxyClusterClass(Cursor &c) {
    if (c.TakeIn('0', '6'))
        c.Take(" ");
    c.TakeFirst({"cD", "B", "L", "C", "F", "I"});
    return true;
}

// Several classes of one kind joined by "/": the parser of one class returns false when it
// rejects the text.
template <class ClassParser> bool JoinedBySlash(std::string_view text, ClassParser parse) {
    Cursor c(text);
    do {
        if (!parse(c))
            return false;
    } while (c.Take("/"));
    return c.AtEnd();
}

bool PlanetaryNotation(std::string_view text) {
    Cursor c(text);
    for (int n = 0; n < 2 && !c.AtEnd(); ++n) {
        if (n == 1)
            c.Take("/");
        if (!c.TakeFirst({"2a", "2b", "2c", "3a", "3b"}) && !c.TakeIn('1', '6') && !c.Take("?"))
            break;
        c.Take("?");
        c.Take("+");
    }
    return c.AtEnd();
}

// One stellar class; true when its last token was a "+", which may also join the next one.
bool StellarClass(Cursor &c) {
    c.Take("d");
    if (c.TakeFirst({"Oa", "Ob", "Oc", "Od", "Oe", "O", "B", "A", "F", "G", "K", "Ma", "Mb", "Mc",
                     "M", "R", "Nb", "N"}))
        c.TakeIn('0', '9');
    c.TakeFirst({"p", "P"});
    bool plusLast = c.Take("+");
    if (c.Take("e"))
        plusLast = false;
    if (c.Take(" "))
        plusLast = false;
    if (c.TakeFirst({"VI", "V", "IV", "III", "II", "Ia", "Ib", "I", "D"}))
        plusLast = false;
    if (c.TakeFirst({"p", "P"}))
        plusLast = false;
    return plusLast;
}

bool StellarClasses(Cursor &c) {
    for (;;) {
        const size_t before = c.Position();
        const bool plusLast = StellarClass(c);
        if (c.AtEnd())
            break;
        if (c.Take("/") || c.Take("+"))
            continue;
        // "G5+K0": the "+" the class took joins the next one.
        if (!plusLast || c.Position() == before)
            break;
    }
    return c.AtEnd();
}

bool StarNotation(std::string_view text) {
    Cursor c(text);
    return StellarClasses(c);
}

bool VariableStarNotation(std::string_view text) {
    Cursor c(text);
    static const std::initializer_list<std::string_view> kVariableTypes = {
        "mir",  "eb",   "ugem", "cep",  "srv",   "rcb",       "rr", "rv",
        "zcam", "zand", "ttau", "nova", "flare", "supernova", "irr"};
    if (c.TakeFirst(kVariableTypes)) {
        while (c.Take("/") || c.Take("+"))
            if (!c.TakeFirst(kVariableTypes))
                break; // the join stood before the stellar class
    }
    return StellarClasses(c);
}

bool PlainDigits(std::string_view text) {
    for (const char ch : text)
        if (!IsDigit(ch))
            return false;
    return true;
}

bool OneOf(std::string_view type, std::initializer_list<std::string_view> types) {
    for (const std::string_view t : types)
        if (t == type)
            return true;
    return false;
}

enum class Notation {
    None,
    Galaxy,
    OpenCluster,
    BrightNebula,
    Globular,
    Planetary,
    DarkNebula,
    GalaxyCluster,
    Star,
    VariableStar,
    Quasar,
    NonExistent, // "nx": any notation, or plain digits
    GalaxyGroup, // "gg": a galaxy cluster's or a galaxy's
};

Notation NotationOf(std::string_view type) {
    if (OneOf(type, {"eg", "rs", "ag", "xs", "is", "un"}))
        return Notation::Galaxy;
    if (OneOf(type, {"oc", "so", "lo", "xo", "jc", "ob", "as", "sc"}))
        return Notation::OpenCluster;
    if (OneOf(type, {"gn", "sn", "ln", "xn"}))
        return Notation::BrightNebula;
    if (OneOf(type, {"gc", "sg", "lg", "xg"}))
        return Notation::Globular;
    if (OneOf(type, {"st", "ms", "vb"}))
        return Notation::Star;
    if (type == "pn")
        return Notation::Planetary;
    if (type == "dn")
        return Notation::DarkNebula;
    if (type == "cg")
        return Notation::GalaxyCluster;
    if (type == "vs")
        return Notation::VariableStar;
    if (type == "qs")
        return Notation::Quasar;
    // "nx" (an object that does not exist) may carry the class of what it was taken for;
    // "ja" is read the same way.
    if (type == "nx" || type == "ja")
        return Notation::NonExistent;
    if (type == "gg")
        return Notation::GalaxyGroup;
    return Notation::None;
}

bool Follows(Notation notation, std::string_view text) {
    switch (notation) {
    case Notation::None:
        return true;
    case Notation::Galaxy:
        return GalaxyNotation(text);
    case Notation::OpenCluster:
        return JoinedBySlash(text, OpenClusterClass);
    case Notation::BrightNebula:
        return JoinedBySlash(text, BrightNebulaClass);
    case Notation::Globular:
        return JoinedBySlash(text, GlobularClass);
    case Notation::Planetary:
        return PlanetaryNotation(text);
    case Notation::DarkNebula:
        return JoinedBySlash(text, DarkNebulaClass);
    case Notation::GalaxyCluster:
        return JoinedBySlash(text, GalaxyClusterClass);
    case Notation::Star:
        return StarNotation(text);
    case Notation::VariableStar:
        return VariableStarNotation(text);
    case Notation::Quasar:
        return JoinedBySlash(text, QuasarClass);
    case Notation::NonExistent:
        for (const Notation n : {Notation::Galaxy, Notation::OpenCluster, Notation::BrightNebula,
                                 Notation::Globular, Notation::Planetary, Notation::Star})
            if (Follows(n, text))
                return true;
        return PlainDigits(text);
    case Notation::GalaxyGroup:
        return Follows(Notation::GalaxyCluster, text) || Follows(Notation::Galaxy, text);
    }
    return true;
}

} // namespace

bool ClassFollowsNotation(std::string_view type, std::string_view classText) {
    if (classText.empty())
        return true;
    return Follows(NotationOf(type.substr(0, 2)), classText);
}

} // namespace vespario
