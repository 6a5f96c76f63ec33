// Read, Save and DecodeTCON: the file work of the control.
#include <taglet/Taglet.h>

#include "FileReader.h"
#include "FrameBody.h"
#include "FrameIds.h"
#include "GenreTable.h"
#include "Id3v1Tag.h"
#include "MpegHeader.h"
#include "Text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace taglet {

struct Taglet::RawFrame
{
    std::string id;
    std::int64_t size = 0;
    std::int64_t dataOffset = 0;
};

namespace {

// The encoding byte is the first byte of the data; a frame without data has none.
bool singleByteEncoding(std::string_view data)
{
    return !data.empty() && data[0] == 0;
}

void append(std::vector<std::pair<std::u16string, std::u16string>> &list, std::string_view first,
    std::string_view second)
{
    // Counts and frame numbers are 16-bit for the host.
    if (list.size() > 32767)
        throw Error(errOverflow, "Overflow: more than 32767 frames of one kind");
    list.emplace_back(bytesToText(first), bytesToText(second));
}

std::uint8_t byteOf(const std::string &s, size_t i)
{
    return static_cast<std::uint8_t>(s[i]);
}

} // namespace

// --- Read ----------------------------------------------------------------------------------

void Taglet::Read()
{
    Clear();
    FileReader file(textToUtf8(m_filename));
    if (m_modern) {
        readModern(file);
        return;
    }
    std::int64_t frameOffset = 0;
    if (file.size() >= 3 && file.read(0, 3) == "ID3") {
        if (!readId3v2(file, frameOffset))
            return;
    }
    decodeAudioHeader(file, frameOffset);
    readId3v1(file);
}

bool Taglet::readId3v2(FileReader &file, std::int64_t &frameOffset)
{
    m_haveTag = tagID3v2;
    const std::string sizeBytes = file.read(6, 4);
    // 28 bits, 7 per byte; any tag the format allows is read.
    std::int64_t tagSize = 0;
    for (size_t i = 0; i < 4; ++i)
        tagSize = (tagSize << 7) | (byteOf(sizeBytes, i) & 0x7F);

    const auto raise = [this](std::int16_t number) {
        if (m_onError)
            m_onError(number);
    };
    if (file.byteAt(3) != 3) {
        raise(100);
        return false;
    }
    if (file.byteAt(5) & 0x80) {
        raise(101);
        return false;
    }

    // Only frames that are stored or hold a picture are kept: a hostile tag of countless tiny
    // frames then costs little memory.
    std::vector<RawFrame> frames;
    RawFrame last;
    std::int64_t p = 10;
    do {
        const std::string id = file.read(p, 4);
        if (id[0] == 0)
            break;
        const std::string size = file.read(p + 4, 4);
        last.id = id;
        last.size
            = (std::int64_t {byteOf(size, 1)} << 16) | (byteOf(size, 2) << 8) | byteOf(size, 3);
        last.dataOffset = p + 10;
        p = last.dataOffset + last.size;
        if (id == "APIC" || isStoredFrame(id))
            frames.push_back(last);
    } while (p + 1 < tagSize);

    // Pictures are extracted first, then every frame's data must lie inside the file. Only the
    // last frame can reach past the end: after any other, the walk itself would have failed.
    for (const RawFrame &frame : frames) {
        if (frame.id == "APIC")
            loadAttachedPicture(file.read(frame.dataOffset, frame.size));
    }
    file.require(last.dataOffset, last.size);
    for (const RawFrame &frame : frames) {
        if (frame.id != "APIC")
            storeFrame(frame.id, file.read(frame.dataOffset, frame.size));
    }
    frameOffset = tagSize + 10;
    return true;
}

void Taglet::storeFrame(std::string_view id, std::string_view data)
{
    Lists &lists = *m_lists;
    const std::string_view body = data.empty() ? data : data.substr(1);
    if (contains(TextFrameIds, id)) {
        // Only single-byte text is kept; the frame is listed either way.
        append(lists.text, id, singleByteEncoding(data) ? body : std::string_view {});
    } else if (id == "TXXX" || id == "WXXX") {
        if (singleByteEncoding(data)) {
            const auto [description, value] = FrameBody::requireSplit(body, id);
            append(id == "TXXX" ? lists.userText : lists.userLinks, description, value);
        }
    } else if (id == "UFID") {
        const auto [owner, identifier] = FrameBody::requireSplit(data, id);
        append(lists.uniqueIds, owner, identifier);
    } else if (contains(LinkFrameIds, id)) {
        append(lists.links, id, data);
    } else if (id == "IPLS") {
        if (singleByteEncoding(data)) {
            // Only the last IPLS frame counts.
            lists.involvedPeople.resize(1);
            std::string_view rest = body;
            while (!rest.empty()) {
                const auto [involvement, afterInvolvement] = FrameBody::requireSplit(rest, id);
                const auto [person, afterPerson] = FrameBody::requireSplit(afterInvolvement, id);
                append(lists.involvedPeople, involvement, person);
                rest = afterPerson;
            }
        }
    } else if (id == "MCDI") {
        m_mcdi = bytesToText(data);
    }
}

void Taglet::loadAttachedPicture(std::string frame)
{
    const FrameBody::AttachedPicture pic = FrameBody::parseAttachedPicture(frame);
    AttachedPicture picture;
    picture.type = pic.pictureType;
    picture.mimeType = pic.mimeType;
    picture.description = bytesToText(pic.description);
    // The image runs to the end of the frame: the frame's own bytes become the picture's.
    frame.erase(0, frame.size() - pic.data.size());
    picture.data = std::move(frame);
    placePicture(std::move(picture));
}

void Taglet::decodeAudioHeader(FileReader &file, std::int64_t frameOffset)
{
    decodeHeaderFields(file, frameOffset);
    const double seconds = MpegHeader::playingTime(file.size() - frameOffset, m_bitrate);
    if (seconds > 32767)
        throw Error(errOverflow,
            "Overflow: a playing time of " + std::to_string(seconds) + " seconds does not fit");
    m_length = static_cast<std::int16_t>(seconds);
    m_lengthMs = m_length * 1000;
}

void Taglet::decodeHeaderFields(FileReader &file, std::int64_t frameOffset)
{
    const std::string b = file.read(frameOffset + 1, 3);
    const MpegHeader h = MpegHeader::decode(byteOf(b, 0), byteOf(b, 1), byteOf(b, 2));
    m_mpegVersion = static_cast<std::int16_t>(h.version);
    m_layer = static_cast<std::int16_t>(h.layer);
    m_bitrate = static_cast<std::int16_t>(h.bitrate);
    m_frequency = h.frequency;
    m_privateBit = h.privateBit;
    m_mode = static_cast<propMode>(h.mode);
    m_copyright = h.copyright;
    m_original = h.original;
    m_emphasis = static_cast<propEmphasis>(h.emphasis);
}

void Taglet::readId3v1(FileReader &file)
{
    if (file.size() < Id3v1Tag::Size)
        throw Error(errBadPosition, "Bad file position: the file is shorter than an ID3v1 tag");
    const std::string block = file.read(file.size() - Id3v1Tag::Size, Id3v1Tag::Size);
    if (Id3v1Tag::present(block)) {
        m_haveTag = static_cast<propHaveTag>(m_haveTag + 1);
        const Id3v1Tag tag = Id3v1Tag::parse(block);
        m_song = tag.song;
        m_artist = tag.artist;
        m_album = tag.album;
        m_year = tag.year;
        m_comment = tag.comment;
        m_track = static_cast<std::int16_t>(tag.track);
        m_genre = GenreTable::name(tag.genreByte);
    }
    if (m_trim) {
        m_song = trimChar(m_song, u' ');
        m_artist = trimChar(m_artist, u' ');
        m_album = trimChar(m_album, u' ');
        m_comment = trimChar(m_comment, u' ');
        m_year = trimChar(m_year, u' ');
    }
}

// --- Save ----------------------------------------------------------------------------------

namespace {

class WritableFile
{
public:
    explicit WritableFile(const std::string &path)
    {
        // An existing file only: a tag is never written into a file made up for it.
        m_fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (m_fd < 0) {
            const int err = errno;
            if (err == ENOENT || err == ENOTDIR || path.empty())
                throw Error(errFileNotFound, "File not found: " + path);
            throw Error(
                errFileAccess, "Cannot open " + path + " for writing: " + std::strerror(err));
        }
        struct stat st
        {
        };
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(m_fd);
            throw Error(errFileAccess, "Not a regular file: " + path);
        }
        m_size = st.st_size;
    }
    ~WritableFile() { ::close(m_fd); }
    WritableFile(const WritableFile &) = delete;
    WritableFile &operator=(const WritableFile &) = delete;

    std::int64_t size() const { return m_size; }

    std::string read(std::int64_t offset, size_t count)
    {
        std::string out(count, '\0');
        if (::pread(m_fd, out.data(), count, offset) != static_cast<ssize_t>(count))
            throw Error(errPastEnd, "Input past end of file");
        return out;
    }

    void write(std::int64_t offset, const std::string &bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                offset + static_cast<std::int64_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int err = errno;
                // An appended tag that did not fit is taken back; the file keeps its old bytes.
                if (offset >= m_size && ::ftruncate(m_fd, m_size) != 0) { }
                throw Error(errFileAccess, std::string("Write error: ") + std::strerror(err));
            }
            done += static_cast<size_t>(n);
        }
    }

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
};

} // namespace

void Taglet::Save()
{
    if (m_track > 255 || m_track < 0)
        m_track = 0;
    // The fitted values stay in the properties, padding included.
    m_song = padToLength(m_song, 30);
    m_artist = padToLength(m_artist, 30);
    m_album = padToLength(m_album, 30);
    m_year = padToLength(m_year, 4);
    m_comment = padToLength(m_comment, m_track == 0 ? 30 : 28);

    Id3v1Tag tag;
    tag.song = m_song;
    tag.artist = m_artist;
    tag.album = m_album;
    tag.year = m_year;
    tag.comment = m_comment;
    tag.track = m_track;
    tag.genreByte = GenreTable::index(m_genre);
    const std::string block = tag.build();

    WritableFile file(textToUtf8(m_filename));
    const std::int64_t length = file.size();
    if (length < Id3v1Tag::Size)
        throw Error(errBadPosition, "Bad file position: the file is shorter than an ID3v1 tag");
    const bool replace = file.read(length - Id3v1Tag::Size, 3) == "TAG";
    file.write(replace ? length - Id3v1Tag::Size : length, block);
}

// --- DecodeTCON ----------------------------------------------------------------------------

namespace {

// A genre reference as a decimal number (blanks around it allowed), or error 13 / 9.
int genreReference(std::u16string_view ref)
{
    size_t i = 0;
    while (i < ref.size() && ref[i] == u' ')
        ++i;
    bool negative = false;
    if (i < ref.size() && (ref[i] == u'-' || ref[i] == u'+'))
        negative = ref[i++] == u'-';
    const size_t digitsStart = i;
    long value = 0;
    while (i < ref.size() && ref[i] >= u'0' && ref[i] <= u'9') {
        value = std::min(value * 10 + (ref[i] - u'0'), 100000L);
        ++i;
    }
    const size_t digitsEnd = i;
    while (i < ref.size() && ref[i] == u' ')
        ++i;
    if (digitsEnd == digitsStart || i != ref.size())
        throw Error(errTypeMismatch,
            "Type mismatch: genre reference \"" + textToUtf8(ref) + "\" is not a number");
    if (negative)
        value = -value;
    if (value < 0 || value > 255)
        throw Error(errSubscript,
            "Subscript out of range: genre \"" + textToUtf8(ref) + "\" is not 0 to 255");
    return static_cast<int>(value);
}

} // namespace

std::u16string Taglet::DecodeTCON(std::u16string &Text) const
{
    std::u16string result;
    size_t pos = 0;
    try {
        while (pos < Text.size()) {
            if (Text[pos] != u'(') {
                result += Text[pos++];
                continue;
            }
            const size_t close = Text.find(u')', pos + 1);
            if (close == std::u16string::npos) {
                // An unclosed "(" is kept as plain text.
                result.append(Text, pos, std::u16string::npos);
                pos = Text.size();
                break;
            }
            const std::u16string_view ref(Text.data() + pos + 1, close - pos - 1);
            pos = close + 1;
            if (ref == u"CR")
                result += u"Cover";
            else if (ref == u"RX")
                result += u"Remix";
            else
                result += GenreTable::name(genreReference(ref));
        }
    } catch (...) {
        Text.erase(0, pos);
        throw;
    }
    Text.clear();
    return result;
}

} // namespace taglet
