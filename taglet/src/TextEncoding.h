#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace taglet {

// The four text encodings of ID3v2 frames, by the encoding byte that starts a frame's data.
namespace TextEncoding {

enum : int {
    Latin1 = 0,
    Utf16 = 1, // with a byte-order mark
    Utf16BE = 2,
    Utf8 = 3,
};

bool known(int encoding);

// The bytes before the first terminator of the encoding and the bytes after it; nothing when
// there is no terminator. A UTF-16 terminator is a zero pair at an even offset.
std::optional<std::pair<std::string_view, std::string_view>> splitText(
    std::string_view body, int encoding);

// One text, without its terminator, as 16-bit characters. A UTF-16 text follows its own
// byte-order mark; without one it takes `littleEndian`, which is left as the mark said.
// Invalid UTF-8 bytes become the characters of their codes, as Latin-1 would read them.
std::u16string decode(std::string_view bytes, int encoding, bool &littleEndian);
std::u16string decode(std::string_view bytes, int encoding);

// Every text of a body of terminated texts (a last one may lack its terminator), decoded.
// A terminator at the very end closes the last text and adds no empty one.
std::vector<std::u16string> decodeAll(std::string_view body, int encoding);

// The texts that are not empty, joined as one value with " / " between them.
std::u16string join(const std::vector<std::u16string> &texts);

} // namespace TextEncoding
} // namespace taglet
