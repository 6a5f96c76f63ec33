#include "FrontCover.h"

#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tonvera {

namespace {

using TagLib::ID3v2::AttachedPictureFrame;

const AttachedPictureFrame *frontCover(TagLib::ID3v2::Tag &tag)
{
    const AttachedPictureFrame *first = nullptr;
    for (TagLib::ID3v2::Frame *frame : tag.frameList("APIC")) {
        const auto *picture = dynamic_cast<const AttachedPictureFrame *>(frame);
        if (!picture || picture->picture().isEmpty())
            continue;
        if (picture->type() == AttachedPictureFrame::FrontCover)
            return picture;
        if (!first)
            first = picture;
    }
    return first;
}

// The file size that the File Properties object records, set to the file's real size. TagLib
// grows the header for the picture but leaves that field as it was, and FFmpeg's reader, as
// players built on it, then distrusts the recorded play time and guesses the length from the
// bit rate instead.
void recordFileSize(const std::string &path)
{
    static constexpr unsigned char filePropertiesId[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF,
        0x11, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    const auto readUnsigned = [&file](std::uint64_t at, int bytes) {
        unsigned char raw[8] = {};
        file.seekg(static_cast<std::streamoff>(at));
        file.read(reinterpret_cast<char *>(raw), bytes);
        std::uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | raw[i];
        return file ? value : 0;
    };
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    const std::uint64_t headerSize = readUnsigned(16, 8);
    const std::uint64_t objects = readUnsigned(24, 4);
    std::uint64_t at = 30;
    for (std::uint64_t n = 0; n < objects && at + 24 <= headerSize && headerSize <= size; ++n) {
        unsigned char id[16];
        file.seekg(static_cast<std::streamoff>(at));
        file.read(reinterpret_cast<char *>(id), sizeof id);
        const std::uint64_t objectSize = readUnsigned(at + 16, 8);
        if (!file || objectSize < 24)
            break;
        if (std::equal(std::begin(id), std::end(id), std::begin(filePropertiesId))) {
            if (objectSize < 24 + 16 + 8)
                break;
            unsigned char raw[8];
            for (int i = 0; i < 8; ++i)
                raw[i] = static_cast<unsigned char>(size >> (8 * i));
            file.seekp(static_cast<std::streamoff>(at + 24 + 16));
            file.write(reinterpret_cast<const char *>(raw), sizeof raw);
            if (!file.flush())
                throw std::runtime_error("cannot complete the output's header");
            return;
        }
        at += objectSize;
    }
    throw std::runtime_error("the output's header has no file properties");
}

// The front cover of a WMA source: its WM/Picture of type 3, else the first.
TagLib::ASF::Picture frontCover(TagLib::ASF::Tag &tag)
{
    TagLib::ASF::Picture first = TagLib::ASF::Picture::fromInvalid();
    for (const TagLib::ASF::Attribute &attribute : tag.attribute("WM/Picture")) {
        const TagLib::ASF::Picture picture = attribute.toPicture();
        if (!picture.isValid() || picture.picture().isEmpty())
            continue;
        if (picture.type() == TagLib::ASF::Picture::FrontCover)
            return picture;
        if (!first.isValid())
            first = picture;
    }
    return first;
}

TagLib::ASF::Picture coverOf(const std::string &source)
{
    // Only the tags are read; the audio is not measured.
    TagLib::ASF::File wma(source.c_str(), false);
    if (wma.isValid())
        return wma.tag() ? frontCover(*wma.tag()) : TagLib::ASF::Picture::fromInvalid();
    TagLib::MPEG::File mp3(source.c_str(), false);
    TagLib::ID3v2::Tag *tag = mp3.isValid() ? mp3.ID3v2Tag() : nullptr;
    const AttachedPictureFrame *cover = tag ? frontCover(*tag) : nullptr;
    if (!cover)
        return TagLib::ASF::Picture::fromInvalid();
    TagLib::ASF::Picture picture;
    picture.setType(static_cast<TagLib::ASF::Picture::Type>(cover->type()));
    picture.setMimeType(cover->mimeType());
    picture.setDescription(cover->description());
    picture.setPicture(cover->picture());
    return picture;
}

} // namespace

bool CopyFrontCover(const std::string &source, const std::string &wma)
{
    const TagLib::ASF::Picture picture = coverOf(source);
    if (!picture.isValid())
        return false;

    {
        TagLib::ASF::File output(wma.c_str(), false);
        TagLib::ASF::Tag *asf = output.isValid() ? output.tag() : nullptr;
        if (!asf)
            throw std::runtime_error("cannot read back the output to add its cover");
        // The muxer keeps the description among the extended attributes; saving writes the content
        // description in full, where an empty description would stand before the real one. It
        // moves there instead, once.
        if (asf->comment().isEmpty() && asf->contains("Description")) {
            asf->setComment(asf->attribute("Description").front().toString());
            asf->removeItem("Description");
        }
        asf->setAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
        if (!output.save())
            throw std::runtime_error("cannot add the cover to the output");
    }
    recordFileSize(wma);
    return true;
}

} // namespace tonvera
