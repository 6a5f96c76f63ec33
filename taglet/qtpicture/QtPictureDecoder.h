#pragma once

#include <taglet/PictureDecoder.h>

namespace taglet {

// Decodes attached pictures with Qt's image readers (QtGui only, no widgets). The format is
// taken from the file's content, as a picture loader does; the name from the tag is only a hint.
class QtPictureDecoder : public PictureDecoder
{
public:
    std::optional<Image> loadStandardPicture(const std::string &path) override;
    std::optional<Image> loadDecodedPicture(
        const std::string &path, const std::string &format) override;
};

} // namespace taglet
