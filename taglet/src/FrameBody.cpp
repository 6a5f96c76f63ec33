#include "FrameBody.h"

#include <taglet/Error.h>

#include <string>

namespace taglet::FrameBody {

std::optional<std::pair<std::string_view, std::string_view>> splitAtZero(std::string_view body)
{
    const size_t zero = body.find('\0');
    if (zero == std::string_view::npos)
        return std::nullopt;
    return std::make_pair(body.substr(0, zero), body.substr(zero + 1));
}

std::pair<std::string_view, std::string_view> requireSplit(
    std::string_view body, std::string_view frameId)
{
    auto parts = splitAtZero(body);
    if (!parts)
        throw Error(errInvalidArgument,
            "Malformed " + std::string(frameId) + " frame: a text lacks its zero byte");
    return *parts;
}

AttachedPicture parseAttachedPicture(std::string_view frame)
{
    AttachedPicture pic;
    if (frame.empty())
        throw Error(errInvalidArgument, "Malformed APIC frame: empty");
    pic.encoding = static_cast<unsigned char>(frame[0]);
    auto [mime, rest] = requireSplit(frame.substr(1), "APIC");
    pic.mimeType = mime;
    if (rest.empty())
        throw Error(errInvalidArgument, "Malformed APIC frame: no picture type");
    pic.pictureType = static_cast<unsigned char>(rest[0]);
    const std::string_view text = rest.substr(1);
    auto [description, after] = requireSplit(text, "APIC");
    pic.description = description;
    if (pic.encoding == 1 || pic.encoding == 2) {
        size_t i = 0;
        while (i + 1 < text.size() && !(text[i] == 0 && text[i + 1] == 0))
            i += 2;
        if (i + 1 >= text.size())
            throw Error(errInvalidArgument,
                "Malformed APIC frame: the UTF-16 description lacks its terminator");
        pic.data = text.substr(i + 2);
    } else {
        pic.data = after;
    }
    return pic;
}

} // namespace taglet::FrameBody
