// Feeds arbitrary bytes to the conversation layer's frame reader, in pieces of sizes the
// input chooses, as they would arrive from a socket. Besides memory errors it checks that
// every frame taken keeps the limits, that reading in pieces gives the same frames as
// reading at once, that a frame written back reads back the same, and that a broken stream
// stays broken.

#include "link/ddeframe.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using vespario::link::Frame;
using vespario::link::FrameReader;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Same(const Frame &a, const Frame &b) {
    return a.kind == b.kind && a.topic == b.topic && a.item == b.item && a.format == b.format &&
           a.data == b.data;
}

// Every frame the reader gives for the bytes, fed in pieces of the given sizes (cycled).
std::vector<Frame> ReadAll(const uint8_t *data, size_t size, const std::vector<size_t> &pieces,
                           bool &broken) {
    FrameReader reader;
    std::vector<Frame> frames;
    size_t offset = 0;
    for (size_t piece = 0; offset < size; ++piece) {
        const size_t length = std::min(size - offset, pieces[piece % pieces.size()]);
        reader.Feed(reinterpret_cast<const char *>(data + offset), length);
        offset += length;
        Frame frame;
        FrameReader::Status status;
        while ((status = reader.Next(frame)) == FrameReader::Status::Ready) {
            Check(frame.topic.size() <= vespario::link::kMaxNameBytes);
            Check(frame.item.size() <= vespario::link::kMaxNameBytes);
            Check(frame.data.size() <= vespario::link::kMaxDataBytes);
            frames.push_back(frame);
        }
        if (status == FrameReader::Status::Broken) {
            Check(!reader.Error().empty() && reader.Pending() == 0);
            reader.Feed("VDDE", 4);
            Check(reader.Next(frame) == FrameReader::Status::Broken);
            broken = true;
            return frames;
        }
    }
    broken = false;
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the pieces: 1 to 8 bytes, or 64 and up.
    const uint8_t choice = data[0];
    const std::vector<size_t> pieces = {static_cast<size_t>(choice % 8 + 1),
                                        static_cast<size_t>(64 + choice), 3};
    ++data;
    --size;
    bool brokenAtOnce = false;
    bool brokenInPieces = false;
    const std::vector<Frame> atOnce = ReadAll(data, size, {size + 1}, brokenAtOnce);
    const std::vector<Frame> inPieces = ReadAll(data, size, pieces, brokenInPieces);
    Check(brokenAtOnce == brokenInPieces && atOnce.size() == inPieces.size());
    for (size_t i = 0; i < atOnce.size(); ++i) {
        Check(Same(atOnce[i], inPieces[i]));
        const std::string bytes = vespario::link::EncodeFrame(atOnce[i]);
        FrameReader again;
        again.Feed(bytes.data(), bytes.size());
        Frame back;
        Check(again.Next(back) == FrameReader::Status::Ready && Same(back, atOnce[i]));
        Check(again.Pending() == 0);
    }
    return 0;
}
