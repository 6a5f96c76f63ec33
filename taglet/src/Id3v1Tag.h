#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taglet {

// The 128-byte ID3v1/ID3v1.1 block at the end of a file.
struct Id3v1Tag
{
    static constexpr std::int64_t Size = 128;

    std::u16string song, artist, album, year, comment;
    int genreByte = 255;
    int track = 0; // 0 = plain ID3v1 with a 30-byte comment

    static bool present(std::string_view block);
    // Fields as stored, with leading and trailing zero bytes removed.
    static Id3v1Tag parse(std::string_view block);
    // Fields cut or zero-padded to their widths; a track of 1 to 255 makes an ID3v1.1 block.
    std::string build() const;
};

} // namespace taglet
