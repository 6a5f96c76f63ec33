#pragma once

#include <cstdint>
#include <vector>

namespace taglet {

// A decoded picture: 32-bit ARGB pixels, row by row. An image without pixels is the empty
// picture that every slot holds after Clear.
struct Image
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
    bool operator==(const Image &) const = default;
};

} // namespace taglet
