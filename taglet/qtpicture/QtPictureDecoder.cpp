#include "QtPictureDecoder.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace taglet {

namespace {
QImage readImage(const std::string &path, const QByteArray &format, bool fromContent)
{
    QImageReader reader(QString::fromStdString(path), format);
    reader.setDecideFormatFromContent(fromContent);
    return reader.read();
}

std::optional<Image> load(const std::string &path, const QByteArray &hint)
{
    // The named format first: formats without a signature (TGA) are misjudged by content
    // sniffing. Then by content, for pictures whose MIME type names the wrong format.
    QImage image;
    if (!hint.isEmpty())
        image = readImage(path, hint, false);
    if (image.isNull())
        image = readImage(path, QByteArray(), true);
    if (image.isNull())
        return std::nullopt;
    image = image.convertToFormat(QImage::Format_ARGB32);
    Image out;
    out.width = image.width();
    out.height = image.height();
    out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto *row = reinterpret_cast<const std::uint32_t *>(image.constScanLine(y));
        std::copy(
            row, row + out.width, out.pixels.begin() + static_cast<std::ptrdiff_t>(y) * out.width);
    }
    return out;
}
} // namespace

std::optional<Image> QtPictureDecoder::loadStandardPicture(const std::string &path)
{
    return load(path, QByteArray());
}

std::optional<Image> QtPictureDecoder::loadDecodedPicture(
    const std::string &path, const std::string &format)
{
    // Qt knows "tif" as "tiff".
    return load(path, format == "tif" ? QByteArray("tiff") : QByteArray::fromStdString(format));
}

} // namespace taglet
