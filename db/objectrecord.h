#pragma once
// One deep-sky object: its 23 stored text fields and the values cached from them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vespario {

inline constexpr int kStoredFieldCount = 23;
inline constexpr int kFirstLongField = 12; // fields 12..22 are the tagged long fields
inline constexpr int16_t kConstellationUnknown = 32767;
inline constexpr double kDeclinationUnparsed = 101.0; // any value above 100 means "not parsed"

class ObjectRecord {
public:
    ObjectRecord() { ResetComputed(); }
    virtual ~ObjectRecord() = default;

    // The stored fields live in one packed text: a record costs one allocation, not 23.
    std::string_view Field(int n) const {
        const uint32_t begin = n == 0 ? 0 : End(n - 1);
        return std::string_view(m_text).substr(begin, End(n) - begin);
    }
    void SetField(int n, std::string_view text);
    void SetAllFields(const std::array<std::string_view, kStoredFieldCount> &fields);
    void ClearFields();

    // Forget everything derived from RaDec (the right ascension is only read after a parse).
    void ResetComputed() {
        m_constellation = kConstellationUnknown;
        m_skyAtlas = m_astroAtlasB = m_astroAtlasC = 0;
        m_uranometria = 0;
        m_dec = kDeclinationUnparsed;
    }
    bool PositionParsed() const { return m_dec <= 100.0; }

    int32_t m_deleted = 0;
    int32_t m_parsed = 0;
    const char *m_rawText = nullptr; // start of the record in the load buffer, or none
    int32_t m_listPosition = -1;     // position in the selection list; trusted only if it agrees
    int32_t m_identity = 0;          // positive handle, fixed for the record's life

    int16_t m_constellation;
    uint8_t m_skyAtlas;
    uint8_t m_astroAtlasB;
    uint8_t m_astroAtlasC;
    uint16_t m_uranometria;
    double m_ra = 0.0; // radians, J2000
    double m_dec;      // radians, J2000; kDeclinationUnparsed until parsed

private:
    uint32_t End(int n) const { return m_wideEnds ? m_wideEnds[n] : m_ends[n]; }
    void StoreEnds(const std::array<uint32_t, kStoredFieldCount> &ends);

    // Field ends as 16-bit offsets: a database holds many records and nearly all are short.
    // A record of more than 65535 bytes keeps 32-bit ends beside it instead.
    std::string m_text;
    std::array<uint16_t, kStoredFieldCount> m_ends{};
    std::unique_ptr<uint32_t[]> m_wideEnds;
};

} // namespace vespario
