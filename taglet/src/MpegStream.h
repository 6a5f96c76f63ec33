#pragma once

#include <cstdint>
#include <optional>

namespace taglet {

class FileReader;

// The MPEG audio stream of a file measured frame by frame: where its first frame is, and how
// long it plays, from a Xing/Info or VBRI header when the first frame carries one, otherwise
// by walking every frame header.
namespace MpegStream {

// A frame header that passed every validity check.
struct FrameHeader
{
    int version = 0; // 10 for MPEG 1, 20 for MPEG 2, 25 for MPEG 2.5
    int layer = 0;
    int bitrate = 0; // kbit/s
    int sampleRate = 0; // Hz
    bool padding = false;
    bool protectedByCrc = false;
    bool mono = false;

    // Nothing unless the four bytes start a frame this reader can follow (free format and
    // reserved codes cannot be).
    static std::optional<FrameHeader> parse(const unsigned char *bytes);
    std::int64_t frameSize() const;
    int samplesPerFrame() const;
    // The same stream: a frame that differs in these is not the next one of this stream.
    bool sameStream(const FrameHeader &other) const;
};

struct Measure
{
    std::int64_t firstFrame = 0; // offset of the first frame header
    FrameHeader header; // of that frame
    double seconds = 0;
    double kbitPerSecond = 0; // average over the stream
    bool variable = false; // the bit rate changes from frame to frame
    int audioBitrate = 0; // kbit/s of the first audio frame (a header frame has its own)
};

// The offset just past the audio: the file's end less an ID3v1 tag and an APEv2 tag.
std::int64_t audioEnd(const FileReader &file);

// Looks for the first frame from `from` on (within a short distance, as tags and junk before
// the audio are short) whose successor confirms it, and measures the stream from there.
// Nothing when no frame is found.
std::optional<Measure> measure(const FileReader &file, std::int64_t from, std::int64_t end);

} // namespace MpegStream
} // namespace taglet
