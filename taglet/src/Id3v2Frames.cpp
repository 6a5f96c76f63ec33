#include "Id3v2Frames.h"

#include "FileReader.h"

#include <algorithm>
#include <optional>

namespace taglet::Id3v2Frames {

namespace {

// v2.2's three-letter ids and the v2.3 frames they became.
constexpr std::pair<std::string_view, std::string_view> V22Names[] = {
    {"BUF", "RBUF"},
    {"CNT", "PCNT"},
    {"COM", "COMM"},
    {"CRA", "AENC"},
    {"ETC", "ETCO"},
    {"GEO", "GEOB"},
    {"IPL", "IPLS"},
    {"LNK", "LINK"},
    {"MCI", "MCDI"},
    {"MLL", "MLLT"},
    {"PIC", "APIC"},
    {"POP", "POPM"},
    {"REV", "RVRB"},
    {"SLT", "SYLT"},
    {"STC", "SYTC"},
    {"TAL", "TALB"},
    {"TBP", "TBPM"},
    {"TCM", "TCOM"},
    {"TCO", "TCON"},
    {"TCR", "TCOP"},
    {"TDA", "TDAT"},
    {"TDY", "TDLY"},
    {"TEN", "TENC"},
    {"TFT", "TFLT"},
    {"TIM", "TIME"},
    {"TKE", "TKEY"},
    {"TLA", "TLAN"},
    {"TLE", "TLEN"},
    {"TMT", "TMED"},
    {"TOA", "TOPE"},
    {"TOF", "TOFN"},
    {"TOL", "TOLY"},
    {"TOR", "TORY"},
    {"TOT", "TOAL"},
    {"TP1", "TPE1"},
    {"TP2", "TPE2"},
    {"TP3", "TPE3"},
    {"TP4", "TPE4"},
    {"TPA", "TPOS"},
    {"TPB", "TPUB"},
    {"TRC", "TSRC"},
    {"TRD", "TRDA"},
    {"TRK", "TRCK"},
    {"TSI", "TSIZ"},
    {"TSS", "TSSE"},
    {"TT1", "TIT1"},
    {"TT2", "TIT2"},
    {"TT3", "TIT3"},
    {"TXT", "TEXT"},
    {"TXX", "TXXX"},
    {"TYE", "TYER"},
    {"UFI", "UFID"},
    {"ULT", "USLT"},
    {"WAF", "WOAF"},
    {"WAR", "WOAR"},
    {"WAS", "WOAS"},
    {"WCM", "WCOM"},
    {"WCP", "WCOP"},
    {"WPB", "WPUB"},
    {"WXX", "WXXX"},
};

std::uint32_t bigEndian(std::string_view b, size_t count)
{
    std::uint32_t n = 0;
    for (size_t i = 0; i < count; ++i)
        n = (n << 8) | static_cast<unsigned char>(b[i]);
    return n;
}

std::uint32_t syncsafe(std::string_view b)
{
    std::uint32_t n = 0;
    for (size_t i = 0; i < 4; ++i)
        n = (n << 7) | (static_cast<unsigned char>(b[i]) & 0x7F);
    return n;
}

bool isFrameId(std::string_view id)
{
    return std::all_of(id.begin(), id.end(),
        [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// True when a frame (or padding, or the end of the body) starts at `pos`.
bool frameStartsAt(Body &body, std::uint64_t pos)
{
    if (pos > body.size())
        return false;
    const std::string_view next = body.view(pos, 4);
    return next.empty() || next[0] == 0 || (next.size() == 4 && isFrameId(next));
}

// v2.4 sizes are syncsafe, but some writers stored plain numbers: the reading after which the
// next frame starts wins.
std::uint64_t v24FrameSize(Body &body, std::uint64_t headerAt, std::string_view bytes)
{
    const std::uint32_t plain = bigEndian(bytes, 4);
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; }))
        return plain;
    const std::uint32_t safe = syncsafe(bytes);
    if (safe == plain || frameStartsAt(body, headerAt + 10 + std::uint64_t {safe}))
        return safe;
    if (frameStartsAt(body, headerAt + 10 + std::uint64_t {plain}))
        return plain;
    return safe;
}

// Where the frames start when the header's flag announces an extended header: after it, as
// its size field says (v2.3 counts the bytes after that field, v2.4 the whole header). Some
// writers set the flag without writing the header; then a frame id stands where the size
// should be, and no real extended header is that large (it would outgrow any tag), so the
// frames are read from the start as if the flag were clear.
std::optional<std::uint64_t> framesAfterExtendedHeader(const Header &header, Body &body)
{
    const std::string_view sizeField = body.view(0, 4);
    if (sizeField.size() < 4)
        return std::nullopt;
    if (isFrameId(sizeField))
        return 0;
    const std::uint64_t skip
        = header.major == 3 ? 4 + std::uint64_t {bigEndian(sizeField, 4)} : syncsafe(sizeField);
    if (skip > body.size())
        return std::nullopt;
    return skip;
}

// A v2.2 picture names its format with three letters; v2.3 gives a MIME type.
std::string pictureFromV22(std::string data)
{
    if (data.size() < 4)
        return {};
    std::string format = data.substr(1, 3);
    std::transform(format.begin(), format.end(), format.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return data.replace(1, 3, "image/" + format + '\0');
}

// The body of one frame as written, or nothing for a frame this library cannot decode.
std::optional<std::string> frameData(const Header &header, std::string stored, std::uint8_t format)
{
    size_t skip = 0;
    if (header.major == 3) {
        if (format & 0xC0) // compressed or encrypted
            return std::nullopt;
        if (format & 0x20) // group identifier byte
            skip = 1;
    } else {
        if (format & 0x0C) // compressed or encrypted
            return std::nullopt;
        if (format & 0x40) // group identifier byte
            skip += 1;
        if (format & 0x01) // data-length indicator
            skip += 4;
    }
    if (stored.size() < skip)
        return std::nullopt;
    stored.erase(0, skip);
    if (header.major == 4 && ((format & 0x02) || header.unsynchronised()))
        return undoUnsynchronisation(stored);
    return stored;
}

std::vector<Frame> walk(
    const Header &header, Body &body, const std::function<bool(std::string_view id)> &wanted)
{
    std::vector<Frame> frames;
    const bool v22 = header.major == 2;
    std::uint64_t p = 0;
    if (!v22 && (header.flags & 0x40)) {
        const auto start = framesAfterExtendedHeader(header, body);
        if (!start)
            return frames;
        p = *start;
    }

    const size_t idSize = v22 ? 3 : 4;
    const size_t headerSize = v22 ? 6 : 10;
    while (body.size() - p >= headerSize) {
        // A copy: looking ahead for the next frame may move the body's window.
        const std::string frameHeader(body.view(p, headerSize));
        const std::string_view id = std::string_view(frameHeader).substr(0, idSize);
        if (!isFrameId(id))
            break;
        const std::string_view sizeBytes = std::string_view(frameHeader).substr(idSize);
        const std::uint64_t size = v22 ? bigEndian(sizeBytes, 3)
            : header.major == 3        ? bigEndian(sizeBytes, 4)
                                       : v24FrameSize(body, p, sizeBytes.substr(0, 4));
        const std::uint64_t dataAt = p + headerSize;
        if (size > body.size() - dataAt)
            break;
        const auto format = v22 ? std::uint8_t {0} : static_cast<std::uint8_t>(frameHeader[9]);
        p = dataAt + size;

        const std::string_view name = v22 ? v23Name(id) : id;
        if (name.empty() || !wanted(name))
            continue;
        std::string stored = body.copy(dataAt, static_cast<size_t>(size));
        if (v22 && name == "APIC") {
            frames.push_back({std::string(name), pictureFromV22(std::move(stored))});
            continue;
        }
        if (auto data = frameData(header, std::move(stored), format))
            frames.push_back({std::string(name), std::move(*data)});
    }
    return frames;
}

} // namespace

Header Header::parse(std::string_view bytes)
{
    Header h;
    h.major = static_cast<unsigned char>(bytes[3]);
    h.flags = static_cast<unsigned char>(bytes[5]);
    h.size = syncsafe(bytes.substr(6, 4));
    return h;
}

std::string_view v23Name(std::string_view v22Id)
{
    for (const auto &[v22, v23] : V22Names) {
        if (v22 == v22Id)
            return v23;
    }
    return {};
}

std::string undoUnsynchronisation(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == 0)
            ++i;
    }
    return out;
}

Body::Body(std::string_view bytes)
    : m_size(bytes.size())
    , m_window(bytes)
{
}

Body::Body(const FileReader &file, std::int64_t offset, std::uint64_t size)
    : m_file(&file)
    , m_offset(offset)
    , m_size(size)
{
}

std::string_view Body::view(std::uint64_t at, size_t count)
{
    at = std::min(at, m_size);
    count = static_cast<size_t>(std::min<std::uint64_t>(count, m_size - at));
    if (at >= m_windowAt && at - m_windowAt + count <= m_window.size())
        return m_window.substr(static_cast<size_t>(at - m_windowAt), count);
    // Within the bytes the reader fetched at the open, the window is the rest of them, seen
    // without a copy; elsewhere a window's worth is read.
    const std::int64_t start = m_offset + static_cast<std::int64_t>(at);
    const std::int64_t fetched = m_file->cached() - start;
    const std::uint64_t length = fetched >= static_cast<std::int64_t>(count)
        ? std::min<std::uint64_t>(static_cast<std::uint64_t>(fetched), m_size - at)
        : std::min<std::uint64_t>(std::max(count, WindowSize), m_size - at);
    m_window = m_file->view(start, static_cast<std::int64_t>(length), m_buffer);
    m_windowAt = at;
    return m_window.substr(0, count);
}

std::string Body::copy(std::uint64_t at, size_t count)
{
    if (!m_file || count <= WindowSize)
        return std::string(view(at, count));
    return m_file->read(m_offset + static_cast<std::int64_t>(at), static_cast<std::int64_t>(count));
}

std::vector<Frame> read(
    const Header &header, Body &body, const std::function<bool(std::string_view id)> &wanted)
{
    if (!header.readable())
        return {};
    // v2.2's bit 6 means a compression scheme that was never defined.
    if (header.major == 2 && (header.flags & 0x40))
        return {};
    // Before v2.4 unsynchronisation covers the whole tag, extended header included.
    if (header.major < 4 && header.unsynchronised()) {
        const std::string whole = undoUnsynchronisation(body.copy(0, body.size()));
        Body undone(whole);
        return walk(header, undone, wanted);
    }
    return walk(header, body, wanted);
}

} // namespace taglet::Id3v2Frames
