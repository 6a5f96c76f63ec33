#pragma once

#include <optional>
#include <string_view>
#include <utility>

namespace taglet {

// Splitting of ID3v2 frame bodies. A malformed body fails with error 5.
namespace FrameBody {

// The bytes before the first zero byte and those after it; nothing when there is no zero.
std::optional<std::pair<std::string_view, std::string_view>> splitAtZero(std::string_view body);

// Like splitAtZero, but a body without a zero byte fails with error 5 naming `frameId`.
std::pair<std::string_view, std::string_view> requireSplit(
    std::string_view body, std::string_view frameId);

struct AttachedPicture
{
    int encoding = 0;
    std::string_view mimeType;
    int pictureType = 0;
    std::string_view description; // single-byte text up to the first zero byte
    std::string_view data;
};

// An APIC frame: encoding, MIME type, 0, picture type, description, terminator, data. With
// UTF-16 encodings (1 and 2) the terminator is a zero pair at an even offset from the start
// of the description; the description itself still ends at its first zero byte.
AttachedPicture parseAttachedPicture(std::string_view frame);

} // namespace FrameBody
} // namespace taglet
