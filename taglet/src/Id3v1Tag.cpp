#include "Id3v1Tag.h"

#include "Text.h"

namespace taglet {

namespace {
std::u16string field(std::string_view block, size_t offset, size_t width)
{
    return trimChar(bytesToText(block.substr(offset, width)), u'\0');
}

void put(std::string &block, size_t offset, size_t width, const std::u16string &text)
{
    block.replace(offset, width, textToBytes(padToLength(text, width)));
}
} // namespace

bool Id3v1Tag::present(std::string_view block)
{
    return block.size() == Size && block.substr(0, 3) == "TAG";
}

Id3v1Tag Id3v1Tag::parse(std::string_view block)
{
    Id3v1Tag tag;
    tag.song = field(block, 3, 30);
    tag.artist = field(block, 33, 30);
    tag.album = field(block, 63, 30);
    tag.year = field(block, 93, 4);
    if (block[125] == 0) {
        tag.comment = field(block, 97, 28);
        tag.track = static_cast<unsigned char>(block[126]);
    } else {
        tag.comment = field(block, 97, 30);
    }
    tag.genreByte = static_cast<unsigned char>(block[127]);
    return tag;
}

std::string Id3v1Tag::build() const
{
    std::string block(Size, '\0');
    block.replace(0, 3, "TAG");
    put(block, 3, 30, song);
    put(block, 33, 30, artist);
    put(block, 63, 30, album);
    put(block, 93, 4, year);
    if (track >= 1 && track <= 255) {
        put(block, 97, 28, comment);
        block[125] = 0;
        block[126] = static_cast<char>(track);
    } else {
        put(block, 97, 30, comment);
    }
    block[127] = static_cast<char>(genreByte);
    return block;
}

} // namespace taglet
