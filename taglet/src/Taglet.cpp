#include <taglet/Taglet.h>

#include "GenreTable.h"
#include "Text.h"

namespace taglet {

Taglet::Taglet()
{
    InitProperties();
}

Taglet::~Taglet() = default;

void Taglet::setErrorHandler(ErrorHandler handler)
{
    m_onError = std::move(handler);
}

void Taglet::setMessageHandler(MessageHandler handler)
{
    m_onMessage = std::move(handler);
}

void Taglet::setPropertyChangedHandler(PropertyChangedHandler handler)
{
    m_onChanged = std::move(handler);
}

void Taglet::setAboutHandler(AboutHandler handler)
{
    m_onAbout = std::move(handler);
}

void Taglet::setPictureDecoder(std::shared_ptr<PictureDecoder> decoder)
{
    m_decoder = std::move(decoder);
    // Pictures decoded by the old decoder (or by none) are decoded again when asked for.
    for (const PictureSlot &slot : m_slots) {
        slot.picture.reset();
        slot.failure.reset();
    }
}

void Taglet::setUserMode(bool runTime)
{
    m_userMode = runTime;
}

bool Taglet::UserMode() const
{
    return m_userMode;
}

// --- Access rules --------------------------------------------------------------------------

void Taglet::requireRunTime() const
{
    if (!m_userMode)
        throw Error(errSetAtDesignTime, "This property can be set only at run time");
}

void Taglet::refuseReadOnly() const
{
    requireRunTime();
    throw Error(errReadOnly, "This property is read-only");
}

void Taglet::changed(std::string_view name)
{
    if (m_onChanged)
        m_onChanged(name);
}

void Taglet::setFilename(const std::u16string &value)
{
    m_filename = value;
    changed("Filename");
}

void Taglet::setTrim(bool value)
{
    m_trim = value;
    changed("Trim");
}

void Taglet::setModern(bool value)
{
    m_modern = value;
    changed("Modern");
}

void Taglet::setMPEGVersion(std::int16_t)
{
    refuseReadOnly();
}
void Taglet::setLayer(std::int16_t)
{
    refuseReadOnly();
}
void Taglet::setBitrate(std::int16_t)
{
    refuseReadOnly();
}
void Taglet::setFrequency(std::int32_t)
{
    refuseReadOnly();
}
void Taglet::setMode(propMode)
{
    refuseReadOnly();
}
void Taglet::setCopyright(bool)
{
    refuseReadOnly();
}
void Taglet::setOriginal(bool)
{
    refuseReadOnly();
}
void Taglet::setPrivateBit(bool)
{
    refuseReadOnly();
}
void Taglet::setEmphasis(propEmphasis)
{
    refuseReadOnly();
}
void Taglet::setHaveTag(propHaveTag)
{
    refuseReadOnly();
}
void Taglet::setLength(std::int16_t)
{
    refuseReadOnly();
}
void Taglet::setPictureDescription(const std::u16string &)
{
    refuseReadOnly();
}

#define TAGLET_RUNTIME_SETTER(Name, member, Type)                                                  \
    void Taglet::set##Name(Type value)                                                             \
    {                                                                                              \
        requireRunTime();                                                                          \
        member = value;                                                                            \
        changed(#Name);                                                                            \
    }

TAGLET_RUNTIME_SETTER(Artist, m_artist, const std::u16string &)
TAGLET_RUNTIME_SETTER(Song, m_song, const std::u16string &)
TAGLET_RUNTIME_SETTER(Album, m_album, const std::u16string &)
TAGLET_RUNTIME_SETTER(Year, m_year, const std::u16string &)
TAGLET_RUNTIME_SETTER(Comment, m_comment, const std::u16string &)
TAGLET_RUNTIME_SETTER(Genre, m_genre, const std::u16string &)
TAGLET_RUNTIME_SETTER(Track, m_track, std::int16_t)
TAGLET_RUNTIME_SETTER(PictureID, m_pictureId, std::int16_t)
#undef TAGLET_RUNTIME_SETTER

// --- Frame lists ---------------------------------------------------------------------------

const Taglet::Lists &Taglet::lists() const
{
    if (!m_lists)
        throw Error(errSubscript, "Subscript out of range: no file has been read yet");
    return *m_lists;
}

const Taglet::Pair &Taglet::entry(const FrameList &list, std::int16_t n) const
{
    if (n < 0 || static_cast<size_t>(n) >= list.size())
        throw Error(errSubscript,
            "Subscript out of range: frame " + std::to_string(n) + " of "
                + std::to_string(list.size() - 1));
    return list[static_cast<size_t>(n)];
}

static std::int16_t count(const std::vector<std::pair<std::u16string, std::u16string>> &list)
{
    return static_cast<std::int16_t>(list.size() - 1);
}

std::int16_t Taglet::TextFrameNum() const
{
    return count(lists().text);
}
std::u16string Taglet::TextFrame(std::int16_t n) const
{
    return entry(lists().text, n).second;
}
std::u16string Taglet::TextFrameName(std::int16_t n) const
{
    return entry(lists().text, n).first;
}
std::int16_t Taglet::UDTextFrameNum() const
{
    return count(lists().userText);
}
std::u16string Taglet::UDTextFrame(std::int16_t n) const
{
    return entry(lists().userText, n).second;
}
std::u16string Taglet::UDTextFrameDescription(std::int16_t n) const
{
    return entry(lists().userText, n).first;
}
std::int16_t Taglet::UFIDNum() const
{
    return count(lists().uniqueIds);
}
std::u16string Taglet::UFID(std::int16_t n) const
{
    return entry(lists().uniqueIds, n).second;
}
std::u16string Taglet::UFIDURL(std::int16_t n) const
{
    return entry(lists().uniqueIds, n).first;
}
std::int16_t Taglet::LinkFrameNum() const
{
    return count(lists().links);
}
std::u16string Taglet::LinkFrame(std::int16_t n) const
{
    return entry(lists().links, n).second;
}
std::u16string Taglet::LinkFrameName(std::int16_t n) const
{
    return entry(lists().links, n).first;
}
std::int16_t Taglet::UDLinkFrameNum() const
{
    return count(lists().userLinks);
}
std::u16string Taglet::UDLinkFrame(std::int16_t n) const
{
    return entry(lists().userLinks, n).second;
}
std::u16string Taglet::UDLinkFrameDescription(std::int16_t n) const
{
    return entry(lists().userLinks, n).first;
}
std::int16_t Taglet::InvolvedPeopleNum() const
{
    return count(lists().involvedPeople);
}
std::u16string Taglet::InvolvedPeople(std::int16_t n) const
{
    return entry(lists().involvedPeople, n).second;
}
std::u16string Taglet::InvolvedPeopleInvolvement(std::int16_t n) const
{
    return entry(lists().involvedPeople, n).first;
}
std::u16string Taglet::MCDI() const
{
    return m_mcdi;
}

const Taglet::CommentEntry &Taglet::commentAt(std::int16_t n) const
{
    const std::vector<CommentEntry> &list = lists().comments;
    if (n < 0 || static_cast<size_t>(n) >= list.size())
        throw Error(errSubscript,
            "Subscript out of range: comment " + std::to_string(n) + " of "
                + std::to_string(list.size() - 1));
    return list[static_cast<size_t>(n)];
}
std::int16_t Taglet::CommentFrameNum() const
{
    return static_cast<std::int16_t>(lists().comments.size() - 1);
}
std::u16string Taglet::CommentFrame(std::int16_t n) const
{
    return commentAt(n).text;
}
std::u16string Taglet::CommentFrameDescription(std::int16_t n) const
{
    return commentAt(n).description;
}
std::u16string Taglet::CommentFrameLanguage(std::int16_t n) const
{
    return commentAt(n).language;
}

std::u16string Taglet::Genres(int index) const
{
    if (index < 0 || index >= GenreSlots)
        throw Error(errSubscript, "Subscript out of range: genre " + std::to_string(index));
    return std::u16string(GenreTable::name(index));
}

// --- State ---------------------------------------------------------------------------------

// The header and tag values both Clear and InitProperties start over from.
void Taglet::resetValues()
{
    m_mpegVersion = m_layer = m_bitrate = 0;
    m_frequency = 0;
    m_mode = modeStereo;
    m_copyright = m_original = m_privateBit = false;
    m_emphasis = emphasisNone;
    m_haveTag = tagNone;
    m_artist.clear();
    m_song.clear();
    m_album.clear();
    m_year.clear();
    m_comment.clear();
    m_genre.clear();
    m_track = 0;
    m_length = 0;
    m_lengthMs = 0;
    m_storedPictureDescription.clear();
    m_pictureId = 0;
}

void Taglet::Clear()
{
    resetValues();
    for (auto &slot : m_slots)
        slot = PictureSlot {};
    m_pictures.clear();
    m_mcdi.clear();
    const FrameList empty(1); // slot 0 always holds an empty pair
    m_lists = Lists {empty, empty, empty, empty, empty, empty, std::vector<CommentEntry>(1)};
}

void Taglet::InitProperties()
{
    resetValues();
    m_filename.clear();
    m_trim = true;
    m_modern = false;
    m_storedPicture = Image {};
}

namespace {
template<class T>
T bagValue(PropertyBag &bag, const char *key, T fallback)
{
    const auto value = bag.read(key);
    if (!value)
        return fallback;
    if (const auto *v = std::get_if<T>(&*value))
        return *v;
    if constexpr (std::is_same_v<T, std::int32_t>) {
        if (const auto *b = std::get_if<bool>(&*value))
            return *b ? -1 : 0;
    }
    if constexpr (std::is_same_v<T, bool>) {
        if (const auto *i = std::get_if<std::int32_t>(&*value))
            return *i != 0;
    }
    throw Error(errTypeMismatch, std::string("Type mismatch in stored property ") + key);
}

std::int16_t integer(std::int32_t value, const char *key)
{
    if (value < -32768 || value > 32767)
        throw Error(errOverflow, std::string("Overflow in stored property ") + key);
    return static_cast<std::int16_t>(value);
}
} // namespace

void Taglet::ReadProperties(PropertyBag &bag)
{
    // The bag bypasses the access rules: read-only fields take whatever it holds.
    m_filename = bagValue<std::u16string>(bag, "Filename", u"");
    m_mpegVersion = integer(bagValue<std::int32_t>(bag, "MPEGVersion", 0), "MPEGVersion");
    m_layer = integer(bagValue<std::int32_t>(bag, "Layer", 0), "Layer");
    m_bitrate = integer(bagValue<std::int32_t>(bag, "Bitrate", 0), "Bitrate");
    m_frequency = bagValue<std::int32_t>(bag, "Frequency", 0);
    m_mode = static_cast<propMode>(bagValue<std::int32_t>(bag, "Mode", 0));
    m_copyright = bagValue<bool>(bag, "Copyright", false);
    m_original = bagValue<bool>(bag, "Original", false);
    m_privateBit = bagValue<bool>(bag, "PrivateBit", false);
    m_emphasis = static_cast<propEmphasis>(bagValue<std::int32_t>(bag, "Emphasis", 0));
    m_haveTag = static_cast<propHaveTag>(bagValue<std::int32_t>(bag, "HaveTag", 0));
    m_artist = bagValue<std::u16string>(bag, "Artist", u"");
    m_song = bagValue<std::u16string>(bag, "Song", u"");
    m_album = bagValue<std::u16string>(bag, "Album", u"");
    m_year = bagValue<std::u16string>(bag, "Year", u"");
    m_comment = bagValue<std::u16string>(bag, "Comment", u"");
    m_genre = bagValue<std::u16string>(bag, "Genre", u"");
    m_track = integer(bagValue<std::int32_t>(bag, "Track", 0), "Track");
    m_length = integer(bagValue<std::int32_t>(bag, "Length", 0), "Length");
    m_lengthMs = m_length * 1000;
    m_trim = bagValue<bool>(bag, "Trim", true);
    m_storedPicture = bagValue<Image>(bag, "Picture", Image {});
    m_storedPictureDescription = bagValue<std::u16string>(bag, "PictureDescription", u"");
    m_pictureId = integer(bagValue<std::int32_t>(bag, "PictureID", 0), "PictureID");
    m_modern = bagValue<bool>(bag, "Modern", false);
}

void Taglet::WriteProperties(PropertyBag &bag) const
{
    bag.write("Filename", m_filename);
    bag.write("MPEGVersion", std::int32_t {m_mpegVersion});
    bag.write("Layer", std::int32_t {m_layer});
    bag.write("Bitrate", std::int32_t {m_bitrate});
    bag.write("Frequency", m_frequency);
    bag.write("Mode", std::int32_t {m_mode});
    bag.write("Copyright", m_copyright);
    bag.write("Original", m_original);
    bag.write("PrivateBit", m_privateBit);
    bag.write("Emphasis", std::int32_t {m_emphasis});
    bag.write("HaveTag", std::int32_t {m_haveTag});
    bag.write("Artist", m_artist);
    bag.write("Song", m_song);
    bag.write("Album", m_album);
    bag.write("Year", m_year);
    bag.write("Comment", m_comment);
    bag.write("Genre", m_genre);
    bag.write("Track", std::int32_t {m_track});
    bag.write("Length", std::int32_t {m_length});
    bag.write("Trim", m_trim);
    bag.write("Picture", m_storedPicture);
    bag.write("PictureDescription", m_storedPictureDescription);
    bag.write("PictureID", std::int32_t {m_pictureId});
    // Written only when on, so that a control in the default mode stores what it always did.
    if (m_modern)
        bag.write("Modern", m_modern);
}

void Taglet::Resize(int, int)
{
    m_width = SizeTwips;
    m_height = SizeTwips;
}

int Taglet::Width() const
{
    return m_width;
}

int Taglet::Height() const
{
    return m_height;
}

std::u16string Taglet::AboutText()
{
    return u"taglet - ID3 tag library\nVersion 1.0\nReads ID3v1, ID3v1.1 and ID3v2.3 tags and "
           u"MPEG audio headers; writes ID3v1 tags.";
}

void Taglet::ShowAbout()
{
    if (m_onAbout)
        m_onAbout(AboutText());
}

} // namespace taglet
