#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taglet {

class FileReader;

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

// The bytes of a tag body (after its header) as the walk reads them: from memory, or from the
// file a window at a time, so that a large frame (a picture) is read once, straight into the
// string that keeps it, and never copied with the rest of the tag.
class Body
{
public:
    explicit Body(std::string_view bytes);
    // `size` bytes of `file` from `offset` on, all inside the file.
    Body(const FileReader &file, std::int64_t offset, std::uint64_t size);

    std::uint64_t size() const { return m_size; }
    // Up to `count` bytes at `at`, fewer at the end; valid until the next call.
    std::string_view view(std::uint64_t at, size_t count);
    // `count` bytes at `at`, inside the body, as a string of their own.
    std::string copy(std::uint64_t at, size_t count);

private:
    static constexpr size_t WindowSize = 64 * 1024;
    const FileReader *m_file = nullptr;
    std::int64_t m_offset = 0;
    std::uint64_t m_size = 0;
    std::string_view m_window; // the bytes from m_windowAt on at hand
    std::uint64_t m_windowAt = 0;
    std::string m_buffer;
};

// The v2.3 name of a v2.2 frame id, or "" for an id v2.3 has no frame for.
std::string_view v23Name(std::string_view v22Id);

// Walks the frames of a tag body (the bytes after the header, as far as the file has them).
// The walk ends at padding, at an id that is not one, or at a frame reaching past the body.
// An extended header is skipped; when the header's flag announces one that is not there, the
// walk starts at the first byte of the body.
// Frames `wanted` rejects (asked with the v2.3 name) are passed over without a copy, and so
// are compressed and encrypted frames, which this library does not decode.
std::vector<Frame> read(
    const Header &header, Body &body, const std::function<bool(std::string_view id)> &wanted);

// The bytes with every 0xFF 0x00 pair turned back into 0xFF.
std::string undoUnsynchronisation(std::string_view bytes);

} // namespace Id3v2Frames
} // namespace taglet
