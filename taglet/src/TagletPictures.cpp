// Attached pictures: kept as the tag holds them by Read, decoded when a slot is looked at.
#include <taglet/Taglet.h>

#include "FrameIds.h"
#include "TempFile.h"
#include "Text.h"

#include <array>

namespace taglet {

namespace {

// Formats the platform's own picture loader handles; a picture that fails here is an error.
constexpr std::array<std::string_view, 11> StandardFormats = {
    "bmp",
    "dib",
    "gif",
    "jpg",
    "jpeg",
    "jif",
    "pcx",
    "wmf",
    "emf",
    "ico",
    "cur",
};
// Formats left to the optional picture decoder; failing here costs only the picture.
constexpr std::array<std::string_view, 13> DecodedFormats = {
    "ai",
    "eps",
    "pct",
    "png",
    "ps",
    "tga",
    "tif",
    "tiff",
    "icb",
    "vda",
    "vst",
    "att",
    "fax",
};

// The format name a MIME type gives ("image/jpeg" gives "jpeg"), exact and case-sensitive.
std::string_view formatOf(std::string_view mimeType)
{
    return mimeType.starts_with("image/") ? mimeType.substr(6) : mimeType;
}

bool slotsTake(std::string_view format)
{
    return contains(StandardFormats, format) || contains(DecodedFormats, format);
}

} // namespace

void Taglet::placePicture(AttachedPicture picture)
{
    if (picture.type >= PictureSlots)
        throw Error(errNoSuchSlot,
            "No such picture slot: attached picture of type " + std::to_string(picture.type));
    m_pictures.push_back(std::move(picture));
    const AttachedPicture &kept = m_pictures.back();
    const std::string_view format = formatOf(kept.mimeType);
    if (slotsTake(format)) {
        PictureSlot &slot = m_slots[static_cast<size_t>(kept.type)];
        slot.description = kept.description;
        slot.sources.push_back(m_pictures.size() - 1);
        slot.picture.reset();
        slot.failure.reset();
    } else if (m_onMessage) {
        // A format the slots do not take: the host is shown where the picture lies, for the
        // length of the call.
        const TempFile file(format, kept.data);
        m_onMessage(utf8ToText(file.path()));
    }
}

const Taglet::PictureSlot &Taglet::selectedSlot() const
{
    if (m_pictureId < 0 || m_pictureId >= PictureSlots)
        throw Error(errNoSuchSlot, "No such picture slot: " + std::to_string(m_pictureId));
    return m_slots[static_cast<size_t>(m_pictureId)];
}

Image Taglet::decodeSlot(const PictureSlot &slot) const
{
    if (slot.failure)
        throw *slot.failure;
    if (slot.picture)
        return *slot.picture;
    if (slot.sources.empty() || !m_decoder)
        return Image {};
    // The newest picture shows; one of a less common format that does not decode leaves the
    // slot with what the picture before it gave.
    for (auto it = slot.sources.rbegin(); it != slot.sources.rend(); ++it) {
        const AttachedPicture &source = m_pictures[*it];
        const std::string format(formatOf(source.mimeType));
        const TempFile file(format, source.data); // the decoders read files
        if (contains(StandardFormats, format)) {
            auto image = m_decoder->loadStandardPicture(file.path());
            if (!image) {
                slot.failure = Error(errInvalidPicture,
                    "Invalid picture: the attached " + format + " picture cannot be decoded");
                throw *slot.failure;
            }
            slot.picture = std::move(*image);
            return *slot.picture;
        }
        if (auto image = m_decoder->loadDecodedPicture(file.path(), format)) {
            slot.picture = std::move(*image);
            return *slot.picture;
        }
    }
    slot.picture = Image {};
    return *slot.picture;
}

Image Taglet::Picture() const
{
    return decodeSlot(selectedSlot());
}

void Taglet::setPicture(const Image &)
{
}

std::u16string Taglet::PictureDescription() const
{
    return selectedSlot().description;
}

const AttachedPicture *Taglet::PictureFile() const
{
    const PictureSlot &slot = selectedSlot();
    return slot.sources.empty() ? nullptr : &m_pictures[slot.sources.back()];
}

const AttachedPicture *Taglet::FrontCover() const
{
    for (const AttachedPicture &picture : m_pictures) {
        if (picture.type == 3)
            return &picture;
    }
    return m_pictures.empty() ? nullptr : &m_pictures.front();
}

} // namespace taglet
