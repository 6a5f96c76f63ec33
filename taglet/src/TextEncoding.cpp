#include "TextEncoding.h"

#include "Text.h"

namespace taglet::TextEncoding {

namespace {

bool isUtf16(int encoding)
{
    return encoding == Utf16 || encoding == Utf16BE;
}

std::u16string decodeUtf16(std::string_view bytes, bool littleEndian)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(littleEndian ? a | (b << 8) : (a << 8) | b);
    }
    return text;
}

} // namespace

bool known(int encoding)
{
    return encoding >= Latin1 && encoding <= Utf8;
}

std::optional<std::pair<std::string_view, std::string_view>> splitText(
    std::string_view body, int encoding)
{
    if (!isUtf16(encoding)) {
        const size_t zero = body.find('\0');
        if (zero == std::string_view::npos)
            return std::nullopt;
        return std::make_pair(body.substr(0, zero), body.substr(zero + 1));
    }
    for (size_t i = 0; i + 1 < body.size(); i += 2) {
        if (body[i] == 0 && body[i + 1] == 0)
            return std::make_pair(body.substr(0, i), body.substr(i + 2));
    }
    return std::nullopt;
}

std::u16string decode(std::string_view bytes, int encoding, bool &littleEndian)
{
    switch (encoding) {
    case Utf16:
        if (bytes.size() >= 2) {
            const auto a = static_cast<unsigned char>(bytes[0]);
            const auto b = static_cast<unsigned char>(bytes[1]);
            if ((a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF)) {
                littleEndian = a == 0xFF;
                bytes.remove_prefix(2);
            }
        }
        return decodeUtf16(bytes, littleEndian);
    case Utf16BE:
        return decodeUtf16(bytes, false);
    case Utf8:
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        return utf8ToText(bytes);
    default:
        return bytesToText(bytes);
    }
}

std::u16string decode(std::string_view bytes, int encoding)
{
    // Writers that leave out the mark are Windows programs: little-endian.
    bool littleEndian = true;
    return decode(bytes, encoding, littleEndian);
}

std::vector<std::u16string> decodeAll(std::string_view body, int encoding)
{
    std::vector<std::u16string> texts;
    bool littleEndian = true;
    while (!body.empty()) {
        const auto parts = splitText(body, encoding);
        const std::string_view bytes = parts ? parts->first : body;
        texts.push_back(decode(bytes, encoding, littleEndian));
        if (!parts)
            break;
        body = parts->second;
    }
    return texts;
}

std::u16string join(const std::vector<std::u16string> &texts)
{
    std::u16string joined;
    for (const std::u16string &text : texts) {
        if (text.empty())
            continue;
        if (!joined.empty())
            joined += u" / ";
        joined += text;
    }
    return joined;
}

} // namespace taglet::TextEncoding
