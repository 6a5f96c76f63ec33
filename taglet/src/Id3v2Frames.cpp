#include "Id3v2Frames.h"

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
bool frameStartsAt(std::string_view body, std::uint64_t pos)
{
    if (pos > body.size())
        return false;
    const std::string_view next = body.substr(static_cast<size_t>(pos), 4);
    return next.empty() || next[0] == 0 || (next.size() == 4 && isFrameId(next));
}

// v2.4 sizes are syncsafe, but some writers stored plain numbers: the reading after which the
// next frame starts wins.
std::uint64_t v24FrameSize(std::string_view body, size_t headerAt)
{
    const std::string_view bytes = body.substr(headerAt + 4, 4);
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

// A v2.2 picture names its format with three letters; v2.3 gives a MIME type.
std::string pictureFromV22(std::string_view data)
{
    if (data.size() < 4)
        return {};
    std::string format(data.substr(1, 3));
    std::transform(format.begin(), format.end(), format.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return std::string(1, data[0]) + "image/" + format + '\0' + std::string(data.substr(4));
}

// The body of one frame as written, or nothing for a frame this library cannot decode.
std::optional<std::string> frameData(
    const Header &header, std::string_view stored, std::uint8_t format)
{
    if (header.major == 3) {
        if (format & 0xC0) // compressed or encrypted
            return std::nullopt;
        if (format & 0x20) { // group identifier byte
            if (stored.empty())
                return std::nullopt;
            stored.remove_prefix(1);
        }
        return std::string(stored);
    }
    if (format & 0x0C) // compressed or encrypted
        return std::nullopt;
    if (format & 0x40) {
        if (stored.empty())
            return std::nullopt;
        stored.remove_prefix(1);
    }
    if (format & 0x01) { // data-length indicator
        if (stored.size() < 4)
            return std::nullopt;
        stored.remove_prefix(4);
    }
    if ((format & 0x02) || header.unsynchronised())
        return undoUnsynchronisation(stored);
    return std::string(stored);
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

std::vector<Frame> read(const Header &header, std::string_view body,
    const std::function<bool(std::string_view id)> &wanted)
{
    std::vector<Frame> frames;
    if (!header.readable())
        return frames;
    const bool v22 = header.major == 2;
    // v2.2's bit 6 means a compression scheme that was never defined.
    if (v22 && (header.flags & 0x40))
        return frames;
    // Before v2.4 unsynchronisation covers the whole tag, extended header included.
    std::string whole;
    if (header.major < 4 && header.unsynchronised()) {
        whole = undoUnsynchronisation(body);
        body = whole;
    }

    size_t p = 0;
    if (!v22 && (header.flags & 0x40)) {
        if (body.size() < 4)
            return frames;
        // v2.3 counts the bytes after its size field; v2.4 counts the whole extended header.
        const std::uint64_t skip
            = header.major == 3 ? 4 + std::uint64_t {bigEndian(body, 4)} : syncsafe(body);
        if (skip > body.size())
            return frames;
        p = static_cast<size_t>(skip);
    }

    const size_t idSize = v22 ? 3 : 4;
    const size_t headerSize = v22 ? 6 : 10;
    while (body.size() - p >= headerSize) {
        const std::string_view id = body.substr(p, idSize);
        if (!isFrameId(id))
            break;
        const std::uint64_t size = v22 ? bigEndian(body.substr(p + 3), 3)
            : header.major == 3        ? bigEndian(body.substr(p + 4), 4)
                                       : v24FrameSize(body, p);
        const size_t dataAt = p + headerSize;
        if (size > body.size() - dataAt)
            break;
        const std::string_view stored = body.substr(dataAt, static_cast<size_t>(size));
        const auto format = v22 ? std::uint8_t {0} : static_cast<std::uint8_t>(body[p + 9]);
        p = dataAt + static_cast<size_t>(size);

        const std::string_view name = v22 ? v23Name(id) : id;
        if (name.empty() || !wanted(name))
            continue;
        if (v22 && name == "APIC") {
            frames.push_back({std::string(name), pictureFromV22(stored)});
            continue;
        }
        if (auto data = frameData(header, stored, format))
            frames.push_back({std::string(name), std::move(*data)});
    }
    return frames;
}

} // namespace taglet::Id3v2Frames
