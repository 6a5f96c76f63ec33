#include "TagFile.h"

#include <map>
#include <vector>

using namespace taglet;

TEST(TagletState, FreshInstanceHasDefaultsAndNoLists)
{
    Taglet t;
    EXPECT_TRUE(t.Trim());
    EXPECT_EQ(t.Filename(), u"");
    EXPECT_EQ(t.HaveTag(), tagNone);
    EXPECT_EQ(t.Bitrate(), 0);
    EXPECT_EQ(t.Song(), u"");
    EXPECT_EQ(t.Genres(0), u"Blues");
    EXPECT_EQ(t.Genres(125), u"Dance Hall");
    EXPECT_EQ(t.Genres(126), u"");
    EXPECT_TAGLET_ERROR(t.Genres(256), errSubscript);
    // Lists exist only after the first Clear.
    EXPECT_TAGLET_ERROR(t.TextFrameNum(), errSubscript);
    EXPECT_TAGLET_ERROR(t.InvolvedPeople(0), errSubscript);
    t.Clear();
    EXPECT_EQ(t.TextFrameNum(), 0);
    EXPECT_EQ(t.TextFrame(0), u"");
    EXPECT_EQ(t.UDLinkFrameDescription(0), u"");
    EXPECT_TAGLET_ERROR(t.TextFrame(1), errSubscript);
    EXPECT_TAGLET_ERROR(t.UFID(-1), errSubscript);
}

TEST(TagletState, AccessRulesAtRunAndDesignTime)
{
    Taglet t;
    std::vector<std::string> changed;
    t.setPropertyChangedHandler([&](std::string_view name) { changed.emplace_back(name); });

    t.setSong(u"New song");
    EXPECT_EQ(t.Song(), u"New song");
    EXPECT_TAGLET_ERROR(t.setBitrate(128), errReadOnly);
    EXPECT_EQ(t.Bitrate(), 0);
    EXPECT_TAGLET_ERROR(t.setHaveTag(tagID3v1), errReadOnly);
    EXPECT_TAGLET_ERROR(t.setPictureDescription(u"x"), errReadOnly);

    t.setUserMode(false);
    EXPECT_TAGLET_ERROR(t.setSong(u"Design"), errSetAtDesignTime);
    EXPECT_TAGLET_ERROR(t.setPictureID(3), errSetAtDesignTime);
    EXPECT_TAGLET_ERROR(t.setLength(5), errSetAtDesignTime);
    EXPECT_EQ(t.Song(), u"New song");
    t.setFilename(u"a.mp3");
    t.setTrim(false);
    EXPECT_EQ(changed, (std::vector<std::string> {"Song", "Filename", "Trim"}));

    t.Resize(1000, 10);
    EXPECT_EQ(t.Width(), Taglet::SizeTwips);
    EXPECT_EQ(t.Height(), Taglet::SizeTwips);
}

TEST(TagletState, ClearKeepsFilenameAndTrim)
{
    Taglet t;
    t.setFilename(u"x.mp3");
    t.setTrim(false);
    t.setSong(u"s");
    t.setTrack(4);
    t.setPictureID(7);
    t.Clear();
    EXPECT_EQ(t.Filename(), u"x.mp3");
    EXPECT_FALSE(t.Trim());
    EXPECT_EQ(t.Song(), u"");
    EXPECT_EQ(t.Track(), 0);
    EXPECT_EQ(t.PictureID(), 0);
    t.setPictureID(21);
    EXPECT_TAGLET_ERROR(t.Picture(), errNoSuchSlot);
    EXPECT_TAGLET_ERROR(t.PictureDescription(), errNoSuchSlot);
}

// Records what the control stores, in order.
class MemoryBag : public PropertyBag
{
public:
    std::optional<PropertyValue> read(const std::string &key) override
    {
        auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void write(const std::string &key, const PropertyValue &value) override
    {
        order.push_back(key);
        values[key] = value;
    }
    std::map<std::string, PropertyValue> values;
    std::vector<std::string> order;
};

TEST(TagletState, PersistenceRoundTripsAndBypassesAccessRules)
{
    MemoryBag bag;
    bag.values["Bitrate"] = std::int32_t {192};
    bag.values["Song"] = std::u16string(u"Stored");
    bag.values["Trim"] = false;
    Taglet t;
    t.ReadProperties(bag);
    EXPECT_EQ(t.Bitrate(), 192);
    EXPECT_EQ(t.Song(), u"Stored");
    EXPECT_FALSE(t.Trim());
    EXPECT_EQ(t.Frequency(), 0);

    MemoryBag out;
    t.WriteProperties(out);
    const std::vector<std::string> keys = {"Filename", "MPEGVersion", "Layer", "Bitrate",
        "Frequency", "Mode", "Copyright", "Original", "PrivateBit", "Emphasis", "HaveTag", "Artist",
        "Song", "Album", "Year", "Comment", "Genre", "Track", "Length", "Trim", "Picture",
        "PictureDescription", "PictureID"};
    EXPECT_EQ(out.order, keys);
    Taglet copy;
    copy.ReadProperties(out);
    EXPECT_EQ(copy.Bitrate(), 192);
    EXPECT_EQ(copy.Song(), u"Stored");

    bag.values["Track"] = std::int32_t {70000};
    EXPECT_TAGLET_ERROR(t.ReadProperties(bag), errOverflow);
}

TEST(TagletState, DecodeTCON)
{
    struct Case
    {
        std::u16string text, expected;
    };
    const Case cases[] = {
        {u"(17)(RX)", u"RockRemix"}, {u"(4)Eurodisco", u"DiscoEurodisco"},
        {u"Plain text", u"Plain text"}, {u"(CR)", u"Cover"}, {u"(126)", u""}, {u"(255)", u""},
        {u"( 0 )", u"Blues"}, {u"a(1)b", u"aClassic Rockb"}, {u"", u""},
        {u"(13", u"(13"}, // an unclosed reference stays as text
    };
    Taglet t;
    for (const Case &c : cases) {
        std::u16string text = c.text;
        EXPECT_EQ(t.DecodeTCON(text), c.expected);
        EXPECT_TRUE(text.empty());
    }

    std::u16string text = u"(17)(x)(2)";
    EXPECT_TAGLET_ERROR(t.DecodeTCON(text), errTypeMismatch);
    EXPECT_EQ(text, u"(2)"); // consumed up to the failing reference
    for (const char16_t *bad : {u"(256)", u"(-1)", u"(99999999999999999999)"}) {
        text = bad;
        EXPECT_TAGLET_ERROR(t.DecodeTCON(text), errSubscript);
    }
    for (const char16_t *bad : {u"()", u"(cr)", u"(1.5)", u"(1 2)"}) {
        text = bad;
        EXPECT_TAGLET_ERROR(t.DecodeTCON(text), errTypeMismatch);
    }
}
