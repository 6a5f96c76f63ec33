#include "MediaControls.h"

#include "MediaProbe.h"
#include "Mp3SectionDecoder.h"
#include "PreviewMedia.h"

#include <taglet/Taglet.h>

MediaControls::MediaControls(QObject *parent)
    : QObject(parent)
    , m_mediaPlayer1(new PreviewMedia(this))
    , m_tagletPro1(std::make_unique<taglet::Taglet>())
    , m_mediaPlayer2(std::make_unique<MediaProbe>())
    , m_mp3Play1(std::make_unique<Mp3SectionDecoder>())
{
}

MediaControls::~MediaControls() = default;

void MediaControls::releaseFiles()
{
    emit releasing();
    m_mediaPlayer1->unload();
    m_mediaPlayer2->setFileName(QString());
    // The tag reader opens its file only inside one call; forgetting the name is all it needs.
    try {
        m_tagletPro1->Clear();
    } catch (const std::exception &) {
    }
}
