#pragma once

#include <taglet/Image.h>

#include <optional>
#include <string>

namespace taglet {

// Turns the picture file that Read extracted from a tag into pixels. The host supplies it so
// that the library itself stays free of image code. Both calls return nothing when the file
// cannot be decoded; they must not throw.
class PictureDecoder
{
public:
    virtual ~PictureDecoder() = default;

    // The common formats (bmp, gif, jpeg, ico, ...): a failure here fails Read.
    virtual std::optional<Image> loadStandardPicture(const std::string &path) = 0;

    // The less common formats (png, tiff, tga, ...), named by `format` in lower case: a
    // failure only leaves the slot's picture as it was.
    virtual std::optional<Image> loadDecodedPicture(
        const std::string &path, const std::string &format)
        = 0;
};

} // namespace taglet
