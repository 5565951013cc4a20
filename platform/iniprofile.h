#pragma once
// The profile "Vespario.ini": an ini file read and written with the other platform's
// private-profile rules. Section and key names compare case-insensitively (ASCII) and keep
// their spelling and order; values are read trimmed of blanks and of one pair of enclosing
// quotes; everything the profile does not understand (comments, blank lines, lines without
// "=") is written back unchanged. Files are read with LF or CR LF line ends and written with
// CR LF.
//
// Look-ups go through a hash index of the section and key names, so that each one costs the
// same in a profile of any size; reading, writing and saving stay linear in its size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::platform {

class IniProfile {
public:
    // Larger files are refused rather than read into memory.
    static constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

    // Reads path. A missing file gives an empty profile and true (it is created on Save);
    // an unreadable one gives an empty profile without a file name, false and Error().
    [[nodiscard]] bool Load(const std::string &path);
    // Writes the profile to its file through a temporary file, so that a failed write leaves
    // the old file as it was. False, with Error(), when there is no file name or on failure.
    [[nodiscard]] bool Save();
    // Like Save to another file, which becomes the profile's file when written.
    bool SaveAs(const std::string &path);

    // The profile's content as file text, and replacing it from such text (the file name
    // stays).
    std::string Text() const;
    void SetText(std::string_view text);
    void Clear();

    const std::string &Path() const { return m_path; }
    const std::string &Error() const { return m_error; }

    // The value of a key, or defaultValue when the key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;
    // The value's leading decimal number (optional sign; beyond the range of int it saturates):
    // defaultValue when the key is missing or its value empty, 0 when the value does not
    // begin with a number.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Stores a value; nullopt deletes the key. A new key goes after the last key of its
    // section, a new section at the end. A value is cut at its first line break; a key or
    // section name that cannot be written in the file format (empty key, "=", "]" or a line
    // break in a name) is ignored.
    void WriteString(std::string_view section, std::string_view key,
                     std::optional<std::string_view> value);
    void WriteInt(std::string_view section, std::string_view key, int value);
    // Removes the section with all its lines.
    void DeleteSection(std::string_view section);

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Names in file order, each once, in the spelling of their first appearance.
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

    // $XDG_CONFIG_HOME/Vespario/Vespario.ini (by default ~/.config/Vespario/Vespario.ini).
    static std::string DefaultProfilePath();
    // Creates the folder that is to hold the file at path; true when it exists afterwards.
    static bool CreateFolderFor(const std::string &path);

private:
    struct Line {
        std::string text;      // the line as in the file, without its line end
        std::string key;       // trimmed key name; empty for anything but a key line
        size_t valueStart = 0; // where the value begins in text (after "=")
    };
    struct Section {
        bool hasHeader = true; // false only for the lines before the first section
        std::string name;
        std::string header;
        std::vector<Line> lines;
    };

    // One entry of an open-addressing table: the hash of a name and where it stands. The
    // first of several equal names (ASCII case ignored) in file order is the one entered.
    struct Slot {
        uint32_t hash = 0;
        uint32_t section = kEmptySlot;
        uint32_t line = 0;
    };
    static constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;

    static Line ParseLine(std::string text);
    static std::string ValueOf(const Line &line);
    const Line *FindKey(std::string_view section, std::string_view key) const;
    // The first section of that name, or -1.
    long FindSection(std::string_view section) const;
    Section *FirstSection(std::string_view section);
    Section &AddSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);
    bool WriteTo(const std::string &path);
    // The index: entering a section header or key line (kept when its name is new), and
    // building it anew after lines were removed.
    void IndexSection(uint32_t section);
    void IndexKey(uint32_t section, uint32_t line);
    void RebuildIndex();
    bool SameKeySlot(const Slot &slot, std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
    std::vector<Slot> m_sectionSlots; // size 0 or a power of two, at most half full
    std::vector<Slot> m_keySlots;
    size_t m_sectionCount = 0;
    size_t m_keyCount = 0;
    bool m_byteOrderMark = false;
    std::string m_path;
    std::string m_error;
};

} // namespace vespario::platform
