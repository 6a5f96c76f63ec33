#include "MpegStream.h"

#include "FileReader.h"

#include <algorithm>
#include <string>

namespace taglet::MpegStream {

namespace {

// How far past the tag the first frame may lie.
constexpr std::int64_t SearchDistance = 64 * 1024;
// Frame headers are walked through blocks of this size.
constexpr std::int64_t ScanBlock = 256 * 1024;

// [MPEG 1, MPEG 2/2.5][layer - 1][index], kbit/s.
constexpr int Bitrates[2][3][16] = {
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
};
constexpr int SampleRates[3] = {44100, 48000, 32000};

std::uint32_t bigEndian(const std::string &b, size_t at)
{
    if (at + 4 > b.size())
        return 0;
    std::uint32_t n = 0;
    for (size_t i = at; i < at + 4; ++i)
        n = (n << 8) | static_cast<unsigned char>(b[i]);
    return n;
}

const unsigned char *bytesOf(std::string_view s, size_t at)
{
    return reinterpret_cast<const unsigned char *>(s.data() + at);
}

// The frame count and byte count of a Xing/Info or VBRI header in the first frame. The frame
// that carries such a header holds no audio.
struct VbrHeader
{
    std::int64_t frames = 0; // 0 when not given
    std::int64_t bytes = 0; // 0 when not given
    bool variable = false;
};

std::optional<VbrHeader> vbrHeader(const std::string &frame, const FrameHeader &h)
{
    // The Xing header follows the side information, whose size depends on version and mode.
    const size_t sideInfo = h.version == 10 ? (h.mono ? 17 : 32) : (h.mono ? 9 : 17);
    for (size_t at : {4 + sideInfo, 4 + sideInfo + 2}) {
        const std::string_view tag = std::string_view(frame).substr(std::min(at, frame.size()), 4);
        if (tag != "Xing" && tag != "Info")
            continue;
        const std::uint32_t flags = bigEndian(frame, at + 4);
        VbrHeader v;
        // Without a frame count (flag 1) only a scan can tell the length.
        if (flags & 0x01)
            v.frames = bigEndian(frame, at + 8);
        if (flags & 0x02)
            v.bytes = bigEndian(frame, at + (flags & 0x01 ? 12 : 8));
        v.variable = tag == "Xing";
        return v;
    }
    if (frame.size() >= 36 + 18 && frame.compare(36, 4, "VBRI") == 0) {
        VbrHeader v;
        v.bytes = bigEndian(frame, 36 + 10);
        v.frames = bigEndian(frame, 36 + 14);
        v.variable = true;
        return v;
    }
    return std::nullopt;
}

// The first frame header in `bytes` (which start at file offset `pos`) that the header after
// its frame confirms.
std::optional<std::pair<std::int64_t, FrameHeader>> firstConfirmedFrame(
    const FileReader &file, std::string_view bytes, std::int64_t pos, std::int64_t end)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) != 0xFF)
            continue;
        const auto h = FrameHeader::parse(bytesOf(bytes, i));
        if (!h)
            continue;
        const std::int64_t at = pos + static_cast<std::int64_t>(i);
        const std::int64_t next = at + h->frameSize();
        // A stream of one frame has no successor to ask, but must end where the audio does.
        if (next == end)
            return std::make_pair(at, *h);
        if (next > end - 4)
            continue;
        const auto n = FrameHeader::parse(bytesOf(file.read(next, 4), 0));
        if (n && n->sameStream(*h))
            return std::make_pair(at, *h);
    }
    return std::nullopt;
}

// Up to `count` (at least 4) bytes at `at`: the part already fetched at the open when it starts
// there, so that most files are walked without reading anything again.
std::string_view chunk(
    const FileReader &file, std::int64_t at, std::int64_t count, std::string &buffer)
{
    if (at + 4 <= file.cached())
        count = std::min(count, file.cached() - at);
    return file.view(at, count, buffer);
}

// The first frame at or after `from` that the next frame header confirms.
std::optional<std::pair<std::int64_t, FrameHeader>> findFirstFrame(
    const FileReader &file, std::int64_t from, std::int64_t end)
{
    if (from < 0 || from + 4 > end)
        return std::nullopt;
    const std::int64_t limit = std::min(end, from + SearchDistance + 4);
    std::string buffer;
    for (std::int64_t pos = from; pos + 4 <= limit;) {
        const std::string_view bytes = chunk(file, pos, limit - pos, buffer);
        if (const auto found = firstConfirmedFrame(file, bytes, pos, end))
            return found;
        // A header may straddle two chunks.
        pos += static_cast<std::int64_t>(bytes.size()) - 3;
    }
    return std::nullopt;
}

// Walks frame headers from `at` until one is missing; counts frames, bytes and samples.
void scan(
    const FileReader &file, std::int64_t at, std::int64_t end, const FrameHeader &first, Measure &m)
{
    std::int64_t frames = 0;
    std::int64_t samples = 0;
    std::int64_t bytes = 0;
    int bitrate = 0;
    std::string buffer;
    std::string_view block;
    std::int64_t blockAt = 0;
    // Most frames repeat the header before them: its decoding is kept, keyed by its bytes
    // 1 and 2 (byte 3 changes no size).
    int lastKey = -1;
    std::optional<FrameHeader> h;
    std::int64_t size = 0;
    while (at + 4 <= end) {
        if (at < blockAt || at + 4 > blockAt + static_cast<std::int64_t>(block.size())) {
            blockAt = at;
            block = chunk(file, at, std::min(ScanBlock, end - at), buffer);
        }
        const unsigned char *b = bytesOf(block, static_cast<size_t>(at - blockAt));
        const int key = b[0] == 0xFF ? (b[1] << 8) | b[2] : -2;
        if (key != lastKey) {
            h = FrameHeader::parse(b);
            if (!h || !h->sameStream(first))
                break;
            lastKey = key;
            size = h->frameSize();
        }
        if (at + size > end)
            break; // a cut-off last frame does not play
        if (frames == 0)
            m.audioBitrate = h->bitrate;
        else if (h->bitrate != bitrate)
            m.variable = true;
        bitrate = h->bitrate;
        ++frames;
        samples += h->samplesPerFrame();
        bytes += size;
        at += size;
    }
    m.seconds = static_cast<double>(samples) / first.sampleRate;
    if (m.seconds > 0)
        m.kbitPerSecond = static_cast<double>(bytes) * 8 / m.seconds / 1000;
}

} // namespace

std::optional<FrameHeader> FrameHeader::parse(const unsigned char *b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (b[1] >> 3) & 0x03;
    const int layerBits = (b[1] >> 1) & 0x03;
    const int bitrateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 0x03;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15
        || rateIndex == 3)
        return std::nullopt;
    FrameHeader h;
    h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    h.layer = 4 - layerBits;
    h.bitrate = Bitrates[h.version == 10 ? 0 : 1][h.layer - 1][bitrateIndex];
    h.sampleRate = SampleRates[rateIndex] / (h.version == 10 ? 1 : h.version == 20 ? 2 : 4);
    h.padding = b[2] & 0x02;
    h.protectedByCrc = !(b[1] & 0x01);
    h.mono = (b[3] >> 6) == 3;
    return h;
}

std::int64_t FrameHeader::frameSize() const
{
    const std::int64_t bits = std::int64_t {bitrate} * 1000;
    if (layer == 1)
        return (12 * bits / sampleRate + (padding ? 1 : 0)) * 4;
    // Layer III of MPEG 2 and 2.5 has half as many samples per frame.
    const int factor = layer == 3 && version != 10 ? 72 : 144;
    return factor * bits / sampleRate + (padding ? 1 : 0);
}

int FrameHeader::samplesPerFrame() const
{
    if (layer == 1)
        return 384;
    return layer == 3 && version != 10 ? 576 : 1152;
}

bool FrameHeader::sameStream(const FrameHeader &other) const
{
    return version == other.version && layer == other.layer && sampleRate == other.sampleRate;
}

std::int64_t audioEnd(const FileReader &file)
{
    std::int64_t end = file.size();
    if (end >= 128 && file.read(end - 128, 3) == "TAG")
        end -= 128;
    if (end >= 32) {
        const std::string footer = file.read(end - 32, 32);
        if (footer.compare(0, 8, "APETAGEX") == 0) {
            const auto le = [&footer](size_t at) {
                std::uint32_t n = 0;
                for (size_t i = at + 4; i-- > at;)
                    n = (n << 8) | static_cast<unsigned char>(footer[i]);
                return std::int64_t {n};
            };
            // The size counts the footer; bit 31 of the flags announces a header of 32 bytes.
            const std::int64_t tag = le(12) + ((le(20) & 0x80000000) ? 32 : 0);
            if (tag <= end)
                end -= tag;
        }
    }
    return end;
}

std::optional<Measure> measure(const FileReader &file, std::int64_t from, std::int64_t end)
{
    const auto found = findFirstFrame(file, from, end);
    if (!found)
        return std::nullopt;
    Measure m;
    m.firstFrame = found->first;
    m.header = found->second;
    const std::int64_t firstSize = m.header.frameSize();
    const std::string frame = file.read(m.firstFrame, std::min(firstSize, end - m.firstFrame));
    const auto vbr = vbrHeader(frame, m.header);
    m.audioBitrate = m.header.bitrate;
    if (vbr && vbr->frames > 0) {
        if (m.firstFrame + firstSize + 4 <= end) {
            const std::string next = file.read(m.firstFrame + firstSize, 4);
            if (const auto h = FrameHeader::parse(bytesOf(next, 0)))
                m.audioBitrate = h->bitrate;
        }
        m.seconds
            = static_cast<double>(vbr->frames) * m.header.samplesPerFrame() / m.header.sampleRate;
        const std::int64_t bytes = vbr->bytes > 0 ? vbr->bytes : end - m.firstFrame;
        m.kbitPerSecond = static_cast<double>(bytes) * 8 / m.seconds / 1000;
        m.variable = vbr->variable;
        return m;
    }
    scan(file, vbr ? m.firstFrame + firstSize : m.firstFrame, end, m.header, m);
    return m;
}

} // namespace taglet::MpegStream
