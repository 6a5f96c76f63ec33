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
    for (const bool modern : {false, true}) {
        SCOPED_TRACE(modern ? "modern" : "default");
        Taglet t;
        auto decoder = std::make_shared<CountingDecoder>();
        t.setPictureDecoder(decoder);
        t.setModern(modern);
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
}

// A slot shows the last picture of its type; one of a less common format that does not decode
// leaves the picture before it, while a standard format that does not decode is an error.
TEST_F(PictureTest, TheLastPictureOfATypeShowsAndTheFrontCoverIsTheFirst)
{
    const std::string png = noisePng(4), cover = apic(3, "image/png", "A", png);
    // name, frames, width of slot 3 (-1: error 481), its description, the front cover's
    const std::tuple<const char *, std::string, int, std::u16string, std::u16string> cases[] = {
        {"a later cover replaces", cover + apic(3, "image/png", "B", noisePng(6)), 6, u"B", u"A"},
        {"an undecodable later png leaves the first", cover + apic(3, "image/png", "B", "junk"), 4,
            u"B", u"A"},
        {"an undecodable later jpeg fails", cover + apic(3, "image/jpeg", "B", "junk"), -1, u"B",
            u"A"},
        {"no cover: the first picture stands for the file",
            apic(4, "image/png", "Back", png) + apic(6, "image/png", "Media", png), 0, u"",
            u"Back"},
        {"a later cover wins over an earlier other picture",
            apic(4, "image/png", "Back", png) + apic(3, "image/png", "Front", png), 4, u"Front",
            u"Front"},
        {"an unknown format is kept but shown in no slot", apic(3, "image/x-new", "New", "bytes"),
            0, u"", u"New"},
    };
    for (const auto &[name, frames, width, description, frontCover] : cases) {
        SCOPED_TRACE(name);
        Taglet t;
        ASSERT_EQ(readFile(t, write("p.mp3", id3v2(frames) + Audio)).error, 0);
        t.setPictureID(3);
        if (width < 0)
            EXPECT_TAGLET_ERROR(t.Picture(), errInvalidPicture);
        else
            EXPECT_EQ(t.Picture().width, width);
        EXPECT_EQ(t.PictureDescription(), description);
        ASSERT_NE(t.FrontCover(), nullptr);
        EXPECT_EQ(t.FrontCover()->description, frontCover);
    }
}
