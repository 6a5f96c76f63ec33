#pragma once

#include <string>
#include <string_view>

namespace taglet {

// The ID3v1 genre names by genre byte.
class GenreTable
{
public:
    static constexpr int Named = 126; // bytes 0 to 125 have a name
    static constexpr int Slots = 256;

    // "" for 126 to 255 and for anything outside the byte range.
    static std::u16string_view name(int index);
    // The first genre byte whose name equals `name` exactly, or 255.
    static int index(std::u16string_view name);
};

} // namespace taglet
