#pragma once

#include <string>

namespace taglet {

// One attached picture (APIC) as the tag holds it: the image file itself, never decoded, so
// that a host can show it or copy it into another file unchanged.
struct AttachedPicture
{
    int type = 0; // the picture type byte, 0 to 20; 3 is the front cover
    std::string mimeType; // as written, e.g. "image/jpeg"; v2.2's "JPG" becomes "image/jpg"
    std::u16string description;
    std::string data; // the bytes of the image file
};

} // namespace taglet
