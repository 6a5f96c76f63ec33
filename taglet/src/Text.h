#pragma once

#include <string>
#include <string_view>

namespace taglet {

// File bytes and control text map one to one: byte b is the character with code b.
std::u16string bytesToText(std::string_view bytes);
// Back to bytes; a character above 255 has no single-byte form and becomes '?'.
std::string textToBytes(std::u16string_view text);
// A file name as the platform wants it (UTF-8; UTF-16 pairs combined).
std::string textToUtf8(std::u16string_view text);
// Decodes UTF-8; a byte that is not part of valid UTF-8 is taken as the character of its code.
std::u16string utf8ToText(std::string_view utf8);

} // namespace taglet

namespace taglet {

// Removes every leading and every trailing occurrence of c; inner ones stay.
std::u16string trimChar(std::u16string_view text, char16_t c);
// Pads with code 0 on the right or cuts to exactly `width` characters.
std::u16string padToLength(std::u16string_view text, size_t width);

} // namespace taglet
