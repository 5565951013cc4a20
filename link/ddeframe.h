#pragma once
// The frames that the conversation layer sends over its local sockets, and the reader that
// takes them out of a byte stream. One frame is one transaction or one answer:
//
//   offset  size  field
//   0       4     "VDDE"
//   4       2     kind: a transaction type (DdeTransaction) or an answer (DdeAnswer)
//   6       2     topic length, 0 to 255
//   8       2     item length, 0 to 255
//   10      2     0
//   12      4     clipboard format (1: text)
//   16      4     data length, 0 to 1,048,576
//   20            topic bytes, item bytes, data bytes
//
// Numbers are little-endian. A frame that breaks these rules cannot be resynchronised: the
// reader reports it and the connection is cut.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vespario::link {

inline constexpr size_t kFrameHeaderBytes = 20;
inline constexpr size_t kMaxNameBytes = 255; // a string handle's text, as on the other platform
inline constexpr size_t kMaxDataBytes = 1u << 20;
inline constexpr uint32_t kCfText = 1;

// The transaction types keep the numbers of the other platform's DDE library, so that the
// log line "Callback %4.4XH" reads the same.
enum class DdeTransaction : uint16_t {
    AdviseData = 0x4010,
    AdviseRequest = 0x2022,
    AdviseStart = 0x1030,
    AdviseStop = 0x8040,
    Execute = 0x4050,
    Connect = 0x1062,
    ConnectConfirm = 0x8072,
    Poke = 0x4090,
    Request = 0x20B0,
    Disconnect = 0x80C2,
    WildConnect = 0x20E2,
};

// Answers from the side that received a transaction.
enum class DdeAnswer : uint16_t {
    Ack = 0x0001,  // acknowledged (the acknowledge flag 0x8000 of the other platform)
    Nack = 0x0002, // refused or not processed
    Data = 0x0003, // the data of a request or a wild connect
};

struct Frame {
    uint16_t kind = 0;
    std::string topic;
    std::string item;
    uint32_t format = kCfText;
    std::string data;
};

// The bytes of a frame; topic and item are cut to kMaxNameBytes and data to kMaxDataBytes,
// so that everything written can be read back.
std::string EncodeFrame(const Frame &frame);
std::string EncodeFrame(uint16_t kind, std::string_view topic, std::string_view item,
                        uint32_t format, std::string_view data);

// Takes frames out of the bytes received so far. Feed what arrives, then call Next until it
// says NeedMore. After Broken the reader stays broken and Error() says why.
class FrameReader {
public:
    enum class Status { NeedMore, Ready, Broken };

    void Feed(const char *bytes, size_t size);
    [[nodiscard]] Status Next(Frame &frame);

    const std::string &Error() const { return m_error; }
    // Bytes received and not yet taken as frames: a partial frame waits here.
    size_t Pending() const { return m_buffer.size() - m_start; }
    bool Broken() const { return !m_error.empty(); }

private:
    Status Fail(std::string error);

    std::string m_buffer;
    size_t m_start = 0; // the first byte not yet taken
    std::string m_error;
};

} // namespace vespario::link
