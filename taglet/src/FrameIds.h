#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace taglet {

// The ID3v2.3 frames the control keeps, by kind.
inline constexpr std::array<std::string_view, 38> TextFrameIds = {
    "TALB",
    "TBPM",
    "TCOM",
    "TCOP",
    "TDAT",
    "TDLY",
    "TENC",
    "TEXT",
    "TFLT",
    "TIME",
    "TIT1",
    "TIT2",
    "TIT3",
    "TKEY",
    "TLAN",
    "TLEN",
    "TMED",
    "TOAL",
    "TOFN",
    "TOLY",
    "TOPE",
    "TORY",
    "TOWN",
    "TPE1",
    "TPE2",
    "TPE3",
    "TPE4",
    "TPOS",
    "TPUB",
    "TRCK",
    "TRDA",
    "TRSN",
    "TRSO",
    "TSIZ",
    "TSRC",
    "TSSE",
    "TYER",
    "TCON",
};
inline constexpr std::array<std::string_view, 8> LinkFrameIds = {
    "WCOM",
    "WCOP",
    "WOAF",
    "WOAR",
    "WOAS",
    "WORS",
    "WPAY",
    "WPUB",
};
template<size_t N>
inline bool contains(const std::array<std::string_view, N> &set, std::string_view id)
{
    return std::find(set.begin(), set.end(), id) != set.end();
}

inline bool isStoredFrame(std::string_view id)
{
    return contains(TextFrameIds, id) || contains(LinkFrameIds, id) || id == "TXXX" || id == "UFID"
        || id == "WXXX" || id == "IPLS" || id == "MCDI";
}

} // namespace taglet
