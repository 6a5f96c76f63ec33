#include "tags/Mp3TagSave.h"

#include "core/AppState.h"
#include "playback/MediaControls.h"

#include <taglet/Taglet.h>

#include <QFile>

namespace {

std::u16string u16(const QString &text)
{
    return text.toStdU16String();
}

} // namespace

QString SaveMp3Tag(const QString &path, const AppState &s, MediaControls &media)
{
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    media.releaseFiles();
    taglet::Taglet &tag = media.TagletPro1();
    QString failure;
    try {
        tag.setFilename(u16(path));
        try {
            tag.Read();
        } catch (const taglet::Error &) {
        }
        tag.setGenre(u16(s.TagGenre));
        tag.setYear(u16(s.TagYear));
        tag.setArtist(u16(s.TagArtist));
        tag.setAlbum(u16(s.TagAlbum));
        tag.setSong(u16(s.TagTitle));
        tag.setComment(u16(s.TagDescription));
        tag.Save();
    } catch (const taglet::Error &error) {
        failure = QString::fromStdString(error.what());
    }
    tag.Clear();
    tag.setFilename(std::u16string());
    return failure;
}
