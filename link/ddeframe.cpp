#include "link/ddeframe.h"

#include <algorithm>
#include <cstring>

namespace vespario::link {
namespace {

constexpr char kMagic[4] = {'V', 'D', 'D', 'E'};

void PutU16(std::string &out, uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t GetU(const char *bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

std::string EncodeFrame(uint16_t kind, std::string_view topic, std::string_view item,
                        uint32_t format, std::string_view data) {
    topic = topic.substr(0, kMaxNameBytes);
    item = item.substr(0, kMaxNameBytes);
    data = data.substr(0, kMaxDataBytes);
    std::string out;
    out.reserve(kFrameHeaderBytes + topic.size() + item.size() + data.size());
    out.append(kMagic, sizeof kMagic);
    PutU16(out, kind);
    PutU16(out, static_cast<uint16_t>(topic.size()));
    PutU16(out, static_cast<uint16_t>(item.size()));
    PutU16(out, 0);
    PutU32(out, format);
    PutU32(out, static_cast<uint32_t>(data.size()));
    out.append(topic);
    out.append(item);
    out.append(data);
    return out;
}

std::string EncodeFrame(const Frame &frame) {
    return EncodeFrame(frame.kind, frame.topic, frame.item, frame.format, frame.data);
}

void FrameReader::Feed(const char *bytes, size_t size) {
    if (Broken())
        return;
    // Drop what was taken before growing, so a long conversation does not keep its history.
    if (m_start > 0 && m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    } else if (m_start > 64 * 1024) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes, size);
}

FrameReader::Status FrameReader::Fail(std::string error) {
    m_error = std::move(error);
    m_buffer.clear();
    m_start = 0;
    return Status::Broken;
}

FrameReader::Status FrameReader::Next(Frame &frame) {
    if (Broken())
        return Status::Broken;
    const size_t available = m_buffer.size() - m_start;
    if (available < kFrameHeaderBytes) {
        // A wrong start is reported at once rather than after a whole header has arrived.
        const size_t check = std::min(available, sizeof kMagic);
        if (std::memcmp(m_buffer.data() + m_start, kMagic, check) != 0)
            return Fail("frame does not begin with VDDE");
        return Status::NeedMore;
    }
    const char *header = m_buffer.data() + m_start;
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return Fail("frame does not begin with VDDE");
    const uint32_t topicSize = GetU(header + 6, 2);
    const uint32_t itemSize = GetU(header + 8, 2);
    const uint32_t dataSize = GetU(header + 16, 4);
    if (GetU(header + 10, 2) != 0)
        return Fail("frame header's reserved field is not 0");
    if (topicSize > kMaxNameBytes || itemSize > kMaxNameBytes)
        return Fail("topic or item of " + std::to_string(std::max(topicSize, itemSize)) +
                    " bytes is longer than 255");
    if (dataSize > kMaxDataBytes)
        return Fail("data of " + std::to_string(dataSize) + " bytes is longer than " +
                    std::to_string(kMaxDataBytes));
    const size_t total = kFrameHeaderBytes + topicSize + itemSize + dataSize;
    if (available < total)
        return Status::NeedMore;
    frame.kind = static_cast<uint16_t>(GetU(header + 4, 2));
    frame.format = GetU(header + 12, 4);
    const char *body = header + kFrameHeaderBytes;
    frame.topic.assign(body, topicSize);
    frame.item.assign(body + topicSize, itemSize);
    frame.data.assign(body + topicSize + itemSize, dataSize);
    m_start += total;
    return Status::Ready;
}

} // namespace vespario::link
