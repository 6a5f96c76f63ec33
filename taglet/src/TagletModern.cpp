// Read in the modern mode: every ID3v2 version and text encoding, and the measured stream.
#include <taglet/Taglet.h>

#include "FileReader.h"
#include "FrameBody.h"
#include "FrameIds.h"
#include "Id3v2Frames.h"
#include "MpegHeader.h"
#include "MpegStream.h"
#include "Text.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace taglet {

// The text frames of one tag as they are listed: the place of each id in the list and the
// values it already holds, so that a repeated id adds only what is new.
struct Taglet::ModernFrames
{
    struct Listed
    {
        size_t index = 0;
        std::set<std::u16string> values;
    };
    std::map<std::u16string, Listed> text;
};

namespace {

using FrameList = std::vector<std::pair<std::u16string, std::u16string>>;

void append(FrameList &list, std::u16string first, std::u16string second)
{
    // Counts and frame numbers are 16-bit for the host.
    if (list.size() > 32767)
        throw Error(errOverflow, "Overflow: more than 32767 frames of one kind");
    list.emplace_back(std::move(first), std::move(second));
}

std::u16string idText(std::string_view id)
{
    return bytesToText(id);
}

// Latin-1 up to the first zero byte: URLs and owner ids have no encoding byte of their own.
std::u16string latin1Text(std::string_view bytes)
{
    return bytesToText(bytes.substr(0, bytes.find('\0')));
}

// The text up to its terminator, or to the end of the body without one.
std::u16string firstText(std::string_view body, int encoding)
{
    const auto parts = TextEncoding::splitText(body, encoding);
    return TextEncoding::decode(parts ? parts->first : body, encoding);
}

// The value of a text frame: its first text, or in v2.4 all of them joined.
std::u16string textValue(std::string_view body, int encoding, int major)
{
    if (major < 4)
        return firstText(body, encoding);
    return TextEncoding::join(TextEncoding::decodeAll(body, encoding));
}

bool isDigits(std::u16string_view text)
{
    return !text.empty() && text.size() <= 3
        && std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// v2.4 writes a genre number, "RX" or "CR" without parentheses; v2.3 puts them in.
std::u16string v24Genres(std::string_view body, int encoding)
{
    std::vector<std::u16string> genres = TextEncoding::decodeAll(body, encoding);
    for (std::u16string &genre : genres) {
        if ((isDigits(genre) && std::stoi(textToUtf8(genre)) <= 255) || genre == u"RX"
            || genre == u"CR")
            genre = u"(" + genre + u")";
    }
    return TextEncoding::join(genres);
}

// The year of a v2.4 timestamp ("2004-05-06T12:00" gives "2004").
std::u16string yearOf(std::u16string timestamp)
{
    if (timestamp.size() >= 4
        && std::all_of(timestamp.begin(), timestamp.begin() + 4,
            [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        timestamp.resize(4);
    return timestamp;
}

// v2.4 frames that v2.3 names differently (some taggers put them in v2.3 tags too).
std::string_view v23NameOfV24(std::string_view id)
{
    if (id == "TDRC")
        return "TYER";
    if (id == "TDOR")
        return "TORY";
    if (id == "TIPL")
        return "IPLS";
    return id;
}

} // namespace

void Taglet::readModern(FileReader &file)
{
    std::int64_t audioOffset = 0;
    if (file.size() >= 3 && file.read(0, 3) == "ID3")
        audioOffset = readModernId3v2(file);
    measureAudio(file, audioOffset);
    readId3v1(file);
}

std::int64_t Taglet::readModernId3v2(FileReader &file)
{
    m_haveTag = tagID3v2;
    const auto header = Id3v2Frames::Header::parse(file.read(0, 10));
    if (!header.readable()) {
        if (m_onError) {
            std::int16_t number = 100;
            m_onError(number);
        }
        return header.end();
    }
    // A tag that claims more than the file holds gives what the file has.
    Id3v2Frames::Body body(
        file, 10, static_cast<std::uint64_t>(std::min(header.size, file.size() - 10)));
    const int major = header.major;
    auto frames = Id3v2Frames::read(header, body, [](std::string_view id) {
        const std::string_view name = v23NameOfV24(id);
        return name == "APIC" || name == "COMM" || isStoredFrame(name);
    });
    // Pictures first, as in the default mode; their bytes move into the kept pictures.
    for (auto &frame : frames) {
        if (frame.id == "APIC")
            loadModernPicture(std::move(frame.data));
    }
    ModernFrames seen;
    for (const auto &frame : frames) {
        if (frame.id != "APIC")
            storeModernFrame(seen, frame.id, frame.data, major);
    }
    return header.end();
}

void Taglet::storeModernFrame(
    ModernFrames &seen, std::string_view id, std::string_view data, int major)
{
    Lists &lists = *m_lists;
    const int encoding = data.empty() ? 0 : static_cast<unsigned char>(data[0]);
    const std::string_view body = data.empty() ? data : data.substr(1);
    const bool readable = TextEncoding::known(encoding);
    const std::string_view name = v23NameOfV24(id);

    if (contains(TextFrameIds, name)) {
        // An unknown encoding still lists the frame, as the default mode does.
        std::u16string value;
        if (readable && major == 4 && name == "TCON")
            value = v24Genres(body, encoding);
        else if (readable)
            value = textValue(body, encoding, major);
        if (id == "TDRC" || id == "TDOR")
            value = yearOf(std::move(value));
        // One id, one entry: a repeated frame adds its value to the first one's.
        const auto [listed, isNew] = seen.text.try_emplace(idText(name));
        if (isNew) {
            listed->second.index = lists.text.size();
            append(lists.text, idText(name), u"");
        }
        if (value.empty() || !listed->second.values.insert(value).second)
            return;
        std::u16string &joined = lists.text[listed->second.index].second;
        joined += joined.empty() ? value : u" / " + value;
    } else if (name == "TXXX" || name == "WXXX") {
        const auto parts = readable ? TextEncoding::splitText(body, encoding) : std::nullopt;
        if (!parts)
            return;
        std::u16string value = name == "TXXX" ? textValue(parts->second, encoding, major)
                                              : latin1Text(parts->second);
        append(name == "TXXX" ? lists.userText : lists.userLinks,
            TextEncoding::decode(parts->first, encoding), std::move(value));
    } else if (name == "UFID") {
        if (const auto parts = FrameBody::splitAtZero(data))
            append(lists.uniqueIds, bytesToText(parts->first), bytesToText(parts->second));
    } else if (contains(LinkFrameIds, name)) {
        append(lists.links, idText(name), latin1Text(data));
    } else if (name == "IPLS") {
        if (!readable)
            return;
        // Pairs of involvement and person; only the last such frame counts.
        const std::vector<std::u16string> texts = TextEncoding::decodeAll(body, encoding);
        lists.involvedPeople.resize(1);
        for (size_t i = 0; i + 1 < texts.size(); i += 2)
            append(lists.involvedPeople, texts[i], texts[i + 1]);
    } else if (name == "MCDI") {
        m_mcdi = bytesToText(data);
    } else if (name == "COMM") {
        // Encoding, language, description, text.
        if (!readable || body.size() < 3)
            return;
        const auto parts = TextEncoding::splitText(body.substr(3), encoding);
        if (!parts)
            return;
        if (lists.comments.size() > 32767)
            throw Error(errOverflow, "Overflow: more than 32767 frames of one kind");
        lists.comments.push_back({latin1Text(body.substr(0, 3)),
            TextEncoding::decode(parts->first, encoding), firstText(parts->second, encoding)});
    }
}

void Taglet::loadModernPicture(std::string frame)
{
    const std::string_view data = frame;
    if (data.empty())
        return;
    const int encoding = static_cast<unsigned char>(data[0]);
    const auto mime = FrameBody::splitAtZero(data.substr(1));
    if (!mime || mime->second.empty())
        return;
    const int type = static_cast<unsigned char>(mime->second[0]);
    const auto description = TextEncoding::splitText(mime->second.substr(1), encoding);
    if (!description)
        return;
    AttachedPicture picture;
    picture.type = type;
    picture.mimeType = mime->first;
    picture.description = TextEncoding::decode(description->first, encoding);
    // The image runs to the end of the frame: the frame's own bytes become the picture's.
    frame.erase(0, frame.size() - description->second.size());
    picture.data = std::move(frame);
    placePicture(std::move(picture));
}

void Taglet::measureAudio(FileReader &file, std::int64_t audioOffset)
{
    // Some files carry a second tag right after the first.
    while (
        audioOffset >= 0 && audioOffset + 10 <= file.size() && file.read(audioOffset, 3) == "ID3")
        audioOffset += Id3v2Frames::Header::parse(file.read(audioOffset, 10)).end();

    const auto stream = MpegStream::measure(file, audioOffset, MpegStream::audioEnd(file));
    if (!stream) {
        // No frame to follow: the header where the audio should start, and the estimate.
        decodeAudioHeader(file, audioOffset);
        return;
    }
    decodeHeaderFields(file, stream->firstFrame);
    m_frequency = stream->header.sampleRate;
    if (stream->seconds > 32767)
        throw Error(errOverflow,
            "Overflow: a playing time of " + std::to_string(stream->seconds)
                + " seconds does not fit");
    m_length = static_cast<std::int16_t>(std::nearbyint(stream->seconds));
    m_lengthMs = static_cast<std::int32_t>(std::llround(stream->seconds * 1000));
    m_bitrate = static_cast<std::int16_t>(
        stream->variable ? std::lround(stream->kbitPerSecond) : stream->audioBitrate);
}

} // namespace taglet
