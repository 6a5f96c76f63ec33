#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taglet {

// The frames of ID3v2.2, v2.3 and v2.4 tags, undone from their storage forms
// (unsynchronisation, syncsafe sizes, data-length indicators, grouping bytes) and named in the
// v2.3 vocabulary, so that one dispatch serves every version.
namespace Id3v2Frames {

struct Header
{
    int major = 0;
    int flags = 0;
    std::int64_t size = 0; // the bytes after the 10-byte header, any footer excluded

    // From the first 10 bytes of a tag ("ID3", version, flags, 28-bit size).
    static Header parse(std::string_view bytes);
    bool readable() const { return major >= 2 && major <= 4; }
    bool unsynchronised() const { return flags & 0x80; }
    bool hasFooter() const { return major == 4 && (flags & 0x10); }
    // Offset of the first byte after the tag, footer included.
    std::int64_t end() const { return 10 + size + (hasFooter() ? 10 : 0); }
};

struct Frame
{
    std::string id; // v2.3 name (v2.4 names that v2.3 lacks stay as they are)
    std::string data; // the frame body as written before any storage form
};

// The v2.3 name of a v2.2 frame id, or "" for an id v2.3 has no frame for.
std::string_view v23Name(std::string_view v22Id);

// Walks the frames of a tag body (the bytes after the header, as far as the file has them).
// The walk ends at padding, at an id that is not one, or at a frame reaching past the body.
// Frames `wanted` rejects (asked with the v2.3 name) are passed over without a copy, and so
// are compressed and encrypted frames, which this library does not decode.
std::vector<Frame> read(const Header &header, std::string_view body,
    const std::function<bool(std::string_view id)> &wanted);

// The bytes with every 0xFF 0x00 pair turned back into 0xFF.
std::string undoUnsynchronisation(std::string_view bytes);

} // namespace Id3v2Frames
} // namespace taglet
