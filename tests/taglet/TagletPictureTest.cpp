// Attached pictures: kept byte for byte by Read, decoded only when a slot is looked at.
#include "TagFile.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <random>

using namespace taglet;

namespace {

// The real decoder, counting how often it is asked.
class CountingDecoder : public QtPictureDecoder
{
public:
    std::optional<Image> loadStandardPicture(const std::string &path) override
    {
        ++calls;
        return QtPictureDecoder::loadStandardPicture(path);
    }
    std::optional<Image> loadDecodedPicture(
        const std::string &path, const std::string &format) override
    {
        ++calls;
        return QtPictureDecoder::loadDecodedPicture(path, format);
    }

    int calls = 0;
};

// A square PNG of noise, so that it does not compress.
std::string noisePng(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    std::mt19937 random(7);
    std::generate_n(reinterpret_cast<quint32 *>(image.bits()), side * side,
        [&] { return random() | 0xFF000000u; });
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string apic(
    int type, const std::string &mime, const char *description, const std::string &image)
{
    return frame(
        "APIC", "\0"s + mime + '\0' + static_cast<char>(type) + description + '\0' + image);
}

} // namespace

using PictureTest = TagFileTest;

TEST_F(PictureTest, ReadKeepsTheBytesAndDecodesOnlyWhenAPictureIsAskedFor)
{
    // Larger than the bytes a reader fetches at the start of a file, with frames after it.
    const std::string png = noisePng(200);
    ASSERT_GT(png.size(), 100'000u);
    const std::string broken = "\xFF\xD8 not really a JPEG";
    const std::string path = write("cover.mp3",
        id3v2(frame("TIT2", "\0Before"s) + apic(3, "image/png", "Cover", png)
            + frame("TPE1", "\0After"s) + apic(5, "image/jpeg", "Bad", broken))
            + Audio);
    Taglet t;
    auto decoder = std::make_shared<CountingDecoder>();
    t.setPictureDecoder(decoder);
    t.setFilename(u16(path));
    ASSERT_NO_THROW(t.Read()); // the broken JPEG fails only when shown
    EXPECT_EQ(t.TextFrameNum(), 2) << "the frame after a large picture";
    const auto &pictures = t.AttachedPictures();
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(std::tie(pictures[0].type, pictures[0].mimeType, pictures[0].description),
        std::tuple(3, "image/png", u"Cover"));
    EXPECT_TRUE(pictures[0].data == png) << "the picture's bytes, exactly";
    t.setPictureID(3);
    EXPECT_EQ(t.PictureFile(), &pictures[0]);
    EXPECT_EQ(decoder->calls, 0);
    EXPECT_EQ(std::tuple(t.Picture().width, t.Picture().height), std::tuple(200, 200));
    EXPECT_EQ(decoder->calls, 1) << "decoded once, then kept";
    t.setPictureID(5);
    EXPECT_TAGLET_ERROR(t.Picture(), errInvalidPicture);
    EXPECT_TAGLET_ERROR(t.Picture(), errInvalidPicture);
    EXPECT_EQ(decoder->calls, 2) << "a failure is kept too";
    t.setPictureID(4);
    EXPECT_EQ(t.PictureFile(), nullptr);
    // A new decoder decodes again; a new Read forgets the pictures.
    t.setPictureDecoder(decoder);
    t.setPictureID(3);
    EXPECT_FALSE(t.Picture().isNull());
    EXPECT_EQ(decoder->calls, 3);
    t.setFilename(u16(fixture("tone.mp3")));
    t.Read();
    EXPECT_EQ(t.FrontCover(), nullptr);
    EXPECT_TRUE(t.Picture().isNull());
    EXPECT_EQ(decoder->calls, 3);
}

// What Read ends with (an error number), what slot 3 shows (its width, -1 for error 481, and
// description) and the front cover's description. A slot shows the last picture of its type; one
// of a less common format that does not decode leaves the picture before it, while a standard
// format that does not decode is an error.
TEST_F(PictureTest, SlotsShowTheLastPictureOfATypeAndTheFrontCoverIsTheFirst)
{
    const std::string png = noisePng(4), cover = apic(3, "image/png", "A", png);
    const auto raw = [](const std::string &data) {
        return frame("APIC", data);
    };
    // A format without a signature loads by the name its MIME type gives: a 2x2 TGA.
    const std::string tga = "\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\x20"s + std::string(12, '\x7F')
        + std::string(8, '\0') + "TRUEVISION-XFILE.\0"s;
    const std::tuple<std::string, int, int, std::u16string, std::u16string> cases[] = {
        {raw(""), errInvalidArgument, 0, u"", u"-"},
        {raw("\0image/png"s), errInvalidArgument, 0, u"", u"-"}, // MIME without its zero
        {raw("\0image/png\0"s), errInvalidArgument, 0, u"", u"-"}, // no picture type
        {raw("\0image/png\0\3Desc"s), errInvalidArgument, 0, u"", u"-"}, // description without zero
        {raw("\1image/png\0\3D\0e\0"s), errInvalidArgument, 0, u"", u"-"}, // UTF-16, no zero pair
        {raw("\1image/png\0\3D\0\0\0xyz"s), 0, 0, u"D", u"D"}, // pair at an even offset
        {raw("\2image/png\0\3\0D\0\0xyz"s), 0, 0, u"", u""}, // big-endian UTF-16
        {raw("\3image/png\0\3Desc\0xyz"s), 0, 0, u"Desc", u"Desc"}, // UTF-8: one zero byte
        {raw("\0image/png\0\x15"s + "Desc\0xyz"s), errNoSuchSlot, 0, u"", u"-"}, // type 21
        {apic(3, "image/tga", "Targa", tga), 0, 2, u"Targa", u"Targa"},
        {cover + apic(3, "image/png", "B", noisePng(6)), 0, 6, u"B", u"A"}, // a later cover
        {cover + apic(3, "image/png", "B", "junk"), 0, 4, u"B", u"A"},
        {cover + apic(3, "image/jpeg", "B", "junk"), 0, -1, u"B", u"A"},
        // No cover: the first picture stands for the file; a later cover wins over it.
        {apic(4, "image/png", "Back", png) + apic(6, "image/png", "Media", png), 0, 0, u"",
            u"Back"},
        {apic(4, "image/png", "Back", png) + apic(3, "image/png", "Front", png), 0, 4, u"Front",
            u"Front"},
        // A format no slot takes is kept all the same.
        {apic(3, "image/x-new", "New", "bytes"), 0, 0, u"", u"New"},
    };
    int row = 0;
    for (const auto &[frames, error, width, description, frontCover] : cases) {
        SCOPED_TRACE(row++);
        Taglet t;
        EXPECT_EQ(readFile(t, write("p.mp3", id3v2(frames) + Audio)).error, error);
        t.setPictureID(3);
        if (width < 0)
            EXPECT_TAGLET_ERROR(t.Picture(), errInvalidPicture);
        else
            EXPECT_EQ(t.Picture().width, width);
        EXPECT_EQ(t.PictureDescription(), description);
        EXPECT_EQ(t.FrontCover() ? t.FrontCover()->description : u"-", frontCover);
    }
}
