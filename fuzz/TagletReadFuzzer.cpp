// Fuzzes Read in both modes over an in-memory file, and DecodeTCON over the input's first bytes.
#include <taglet/Taglet.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Decodes nothing for real: fails or succeeds by the picture file's size, so that both the
// failing and the loading path of attached pictures are reached.
class AlternatingDecoder : public taglet::PictureDecoder
{
public:
    std::optional<taglet::Image> loadStandardPicture(const std::string &path) override
    {
        return decide(path);
    }
    std::optional<taglet::Image> loadDecodedPicture(
        const std::string &path, const std::string &) override
    {
        return decide(path);
    }

private:
    static std::optional<taglet::Image> decide(const std::string &path)
    {
        FILE *f = std::fopen(path.c_str(), "rb");
        if (!f)
            return std::nullopt;
        std::fseek(f, 0, SEEK_END);
        const long size = std::ftell(f);
        std::fclose(f);
        if (size % 2)
            return std::nullopt;
        return taglet::Image {1, 1, {0xFF000000u}};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const int fd = ::memfd_create("taglet-fuzz", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);

    taglet::Taglet tag;
    tag.setPictureDecoder(std::make_shared<AlternatingDecoder>());
    tag.setErrorHandler([](std::int16_t &) {});
    tag.setMessageHandler([](const std::u16string &) {});
    tag.setFilename(std::u16string(path.begin(), path.end()));
    // Both reading modes over the same bytes.
    for (const bool modern : {false, true}) {
        tag.setModern(modern);
        try {
            tag.Read();
        } catch (const taglet::Error &) {
        }
        // Whatever Read left must be readable.
        for (std::int16_t i = 0; i <= tag.TextFrameNum(); ++i)
            (void)tag.TextFrame(i);
        for (std::int16_t i = 0; i <= tag.UDTextFrameNum(); ++i)
            (void)tag.UDTextFrame(i);
        for (std::int16_t i = 0; i <= tag.InvolvedPeopleNum(); ++i)
            (void)tag.InvolvedPeople(i);
        for (std::int16_t i = 0; i <= tag.CommentFrameNum(); ++i)
            (void)tag.CommentFrame(i);
        if (tag.LengthMs() < 0)
            __builtin_trap();
        // Pictures are decoded only when a slot is looked at.
        for (std::int16_t slot = 0; slot < taglet::Taglet::PictureSlots; ++slot) {
            tag.setPictureID(slot);
            try {
                (void)tag.Picture();
            } catch (const taglet::Error &) {
            }
            const taglet::AttachedPicture *file = tag.PictureFile();
            if (file && file->type != slot)
                __builtin_trap();
        }
        if (const taglet::AttachedPicture *cover = tag.FrontCover(); cover && cover->type > 20)
            __builtin_trap();
    }

    std::u16string text(data, data + std::min<std::size_t>(size, 64));
    try {
        (void)tag.DecodeTCON(text);
    } catch (const taglet::Error &) {
    }
    return 0;
}
