#include "ReadReport.h"

#include <QString>

#include <cstdio>

using taglet::Taglet;

std::string jsonString(const std::u16string &text)
{
    std::string out = "\"";
    for (const char16_t c : text) {
        switch (c) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string jsonError(const taglet::Error &error)
{
    return "{\"number\": " + std::to_string(error.number())
        + ", \"message\": " + jsonString(QString::fromUtf8(error.what()).toStdU16String()) + "}";
}

namespace {

std::string boolean(bool value)
{
    return value ? "true" : "false";
}

// A frame list as [[first, second], ...], entries 1 to N.
template<class Count, class First, class Second>
std::string pairs(Count count, First first, Second second)
{
    std::string out = "[";
    const std::int16_t n = count();
    for (std::int16_t i = 1; i <= n; ++i) {
        // Appended piece by piece: GCC 12 at -O3 takes "[" + std::string for an overlapping
        // copy (-Wrestrict) and fails the build.
        out += i > 1 ? ", [" : "[";
        out += jsonString(first(i));
        out += ", ";
        out += jsonString(second(i));
        out += "]";
    }
    return out + "]";
}

// The slot's decoded size, or why it has none.
std::string pictureSize(const Taglet &probe)
{
    try {
        const taglet::Image image = probe.Picture();
        return ", \"width\": " + std::to_string(image.width)
            + ", \"height\": " + std::to_string(image.height);
    } catch (const taglet::Error &e) {
        return ", \"width\": 0, \"height\": 0, \"error\": " + jsonError(e);
    }
}

// Slots that hold a picture or a description, with the picture file as the tag holds it; the
// CLI's own instance, so PictureID may move. Sizes only on request: they take decoding.
std::string pictures(Taglet &probe, bool withSizes)
{
    const std::int16_t keep = probe.PictureID();
    std::string out = "[";
    bool first = true;
    for (std::int16_t slot = 0; slot < Taglet::PictureSlots; ++slot) {
        probe.setPictureID(slot);
        const taglet::AttachedPicture *file = probe.PictureFile();
        const std::u16string description = probe.PictureDescription();
        if (!file && description.empty())
            continue;
        out += first ? "" : ", ";
        first = false;
        out += "{\"slot\": " + std::to_string(slot)
            + ", \"description\": " + jsonString(description) + ", \"mimeType\": "
            + jsonString(file ? std::u16string(file->mimeType.begin(), file->mimeType.end()) : u"")
            + ", \"bytes\": " + std::to_string(file ? file->data.size() : 0);
        if (withSizes)
            out += pictureSize(probe);
        out += "}";
    }
    probe.setPictureID(keep);
    return out + "]";
}

} // namespace

std::string ReadReport::toJson(Taglet &tag) const
{
    std::string j = "{\"file\": " + jsonString(QString::fromUtf8(file).toStdU16String());
    j += ", \"error\": " + (error ? jsonError(*error) : std::string("null"));
    j += ", \"events\": [";
    for (size_t i = 0; i < events.size(); ++i)
        j += (i ? ", " : "") + std::to_string(events[i]);
    j += "]";
    const auto num = [&j](const char *key, long long value) {
        j += std::string(", \"") + key + "\": " + std::to_string(value);
    };
    const auto str = [&j](const char *key, const std::u16string &value) {
        j += std::string(", \"") + key + "\": " + jsonString(value);
    };
    const auto flag = [&j](const char *key, bool value) {
        j += std::string(", \"") + key + "\": " + boolean(value);
    };
    num("haveTag", tag.HaveTag());
    num("mpegVersion", tag.MPEGVersion());
    num("layer", tag.Layer());
    num("bitrate", tag.Bitrate());
    num("frequency", tag.Frequency());
    num("mode", tag.Mode());
    flag("copyright", tag.Copyright());
    flag("original", tag.Original());
    flag("privateBit", tag.PrivateBit());
    num("emphasis", tag.Emphasis());
    num("length", tag.Length());
    // The modern mode measures the stream and reads comments; the default report keeps its keys.
    if (tag.Modern())
        num("lengthMs", tag.LengthMs());
    str("song", tag.Song());
    str("artist", tag.Artist());
    str("album", tag.Album());
    str("year", tag.Year());
    str("comment", tag.Comment());
    str("genre", tag.Genre());
    num("track", tag.Track());

    const auto list = [&j](const char *key, const std::string &value) {
        j += std::string(", \"") + key + "\": " + value;
    };
    list("textFrames",
        pairs([&] { return tag.TextFrameNum(); }, [&](auto i) { return tag.TextFrameName(i); },
            [&](auto i) { return tag.TextFrame(i); }));
    list("userTextFrames",
        pairs([&] { return tag.UDTextFrameNum(); },
            [&](auto i) { return tag.UDTextFrameDescription(i); },
            [&](auto i) { return tag.UDTextFrame(i); }));
    list("uniqueIds",
        pairs([&] { return tag.UFIDNum(); }, [&](auto i) { return tag.UFIDURL(i); },
            [&](auto i) { return tag.UFID(i); }));
    list("linkFrames",
        pairs([&] { return tag.LinkFrameNum(); }, [&](auto i) { return tag.LinkFrameName(i); },
            [&](auto i) { return tag.LinkFrame(i); }));
    list("userLinkFrames",
        pairs([&] { return tag.UDLinkFrameNum(); },
            [&](auto i) { return tag.UDLinkFrameDescription(i); },
            [&](auto i) { return tag.UDLinkFrame(i); }));
    list("involvedPeople",
        pairs([&] { return tag.InvolvedPeopleNum(); },
            [&](auto i) { return tag.InvolvedPeopleInvolvement(i); },
            [&](auto i) { return tag.InvolvedPeople(i); }));
    str("mcdi", tag.MCDI());
    if (tag.Modern()) {
        std::string comments = "[";
        for (std::int16_t i = 1; i <= tag.CommentFrameNum(); ++i) {
            comments += i > 1 ? ", [" : "[";
            comments += jsonString(tag.CommentFrameLanguage(i));
            comments += ", ";
            comments += jsonString(tag.CommentFrameDescription(i));
            comments += ", ";
            comments += jsonString(tag.CommentFrame(i));
            comments += "]";
        }
        list("commentFrames", comments + "]");
    }
    list("pictures", pictures(tag, pictureSizes));
    std::string msgs = "[";
    for (size_t i = 0; i < messages.size(); ++i)
        msgs += (i ? ", " : "") + jsonString(messages[i]);
    list("messages", msgs + "]");
    return j + "}";
}
