#include "TagFile.h"

#include <map>

using namespace taglet;

// A host's property store in memory.
class MemoryBag : public PropertyBag
{
public:
    std::optional<PropertyValue> read(const std::string &key) override
    {
        auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void write(const std::string &key, const PropertyValue &value) override { values[key] = value; }
    std::map<std::string, PropertyValue> values;
};

TEST(TagletState, DefaultsListsClearAndAccessRules)
{
    Taglet t;
    EXPECT_TRUE(t.Trim());
    EXPECT_EQ(t.Genres(125), u"Dance Hall");
    EXPECT_EQ(t.Genres(126), u""); // the first number without a name
    EXPECT_TAGLET_ERROR(t.Genres(256), errSubscript);
    EXPECT_TAGLET_ERROR(t.Genres(-1), errSubscript);
    EXPECT_TAGLET_ERROR(t.TextFrameNum(), errSubscript); // no lists before the first Clear
    t.setFilename(u"x.mp3");
    t.setTrim(false);
    t.setSong(u"s");
    t.setTrack(4);
    t.setPictureID(7);
    t.Clear();
    EXPECT_EQ(t.Filename(), u"x.mp3");
    EXPECT_FALSE(t.Trim());
    EXPECT_EQ(t.Song() + t.TextFrame(0) + t.UDLinkFrameDescription(0), u"");
    EXPECT_EQ(t.Track() + t.PictureID() + t.TextFrameNum(), 0);
    EXPECT_TAGLET_ERROR(t.TextFrame(1), errSubscript);
    EXPECT_TAGLET_ERROR(t.UFID(-1), errSubscript);
    t.setPictureID(20);
    EXPECT_TRUE(t.Picture().isNull()); // the last slot
    t.setPictureID(21);
    EXPECT_TAGLET_ERROR(t.Picture(), errNoSuchSlot);
    EXPECT_TAGLET_ERROR(t.PictureDescription(), errNoSuchSlot);
    // Read-only properties, and tag properties set only at run time.
    std::vector<std::string> changed;
    t.setPropertyChangedHandler([&](std::string_view name) { changed.emplace_back(name); });
    t.setSong(u"New song");
    EXPECT_TAGLET_ERROR(t.setBitrate(128), errReadOnly);
    EXPECT_TAGLET_ERROR(t.setPictureDescription(u"x"), errReadOnly);
    t.setUserMode(false);
    EXPECT_TAGLET_ERROR(t.setSong(u"Design"), errSetAtDesignTime);
    EXPECT_TAGLET_ERROR(t.setLength(5), errSetAtDesignTime);
    EXPECT_EQ(t.Song(), u"New song");
    t.setFilename(u"a.mp3");
    t.setModern(true); // settable at design time too
    EXPECT_EQ(changed, (std::vector<std::string> {"Song", "Filename", "Modern"}));
}

// Stored properties bypass the access rules; the modern mode is stored only when it is on.
TEST(TagletState, PersistenceRoundTrips)
{
    MemoryBag bag;
    bag.values["Bitrate"] = std::int32_t {192};
    bag.values["Song"] = u"Stored"s;
    bag.values["Trim"] = false;
    bag.values["Copyright"] = std::int32_t {-1}; // a host's true
    Taglet t;
    t.ReadProperties(bag);
    EXPECT_EQ(std::tuple(t.Bitrate(), t.Song(), t.Trim(), t.Copyright(), t.Modern()),
        std::tuple(192, u"Stored", false, true, false));
    MemoryBag out, again;
    t.WriteProperties(out);
    EXPECT_EQ(out.values.count("Modern"), 0u);
    t.setModern(true);
    t.WriteProperties(out);
    Taglet copy;
    copy.ReadProperties(out);
    copy.WriteProperties(again);
    EXPECT_EQ(again.values, out.values);
    EXPECT_EQ(
        std::tuple(copy.Bitrate(), copy.Song(), copy.Modern()), std::tuple(192, u"Stored", true));
    copy.InitProperties();
    EXPECT_EQ(std::tuple(copy.Bitrate(), copy.Modern()), std::tuple(0, false));
    bag.values["Track"] = std::int32_t {70000};
    EXPECT_TAGLET_ERROR(t.ReadProperties(bag), errOverflow);
}

TEST(TagletState, DecodeTCON)
{
    const std::pair<std::u16string, std::u16string> decoded[]
        = {{u"(17)(RX)", u"RockRemix"}, {u"(4)Eurodisco", u"DiscoEurodisco"}, {u"(CR)", u"Cover"},
            {u"(255)", u""}, {u"( 0 )", u"Blues"}, {u"a(1)b", u"aClassic Rockb"}, {u"(13", u"(13"}};
    Taglet t;
    for (const auto &[given, expected] : decoded) {
        std::u16string text = given;
        EXPECT_EQ(t.DecodeTCON(text), expected) << utf8(given);
        EXPECT_TRUE(text.empty());
    }
    std::u16string text = u"(17)(x)(2)";
    EXPECT_TAGLET_ERROR(t.DecodeTCON(text), errTypeMismatch);
    EXPECT_EQ(text, u"(2)"); // consumed up to the failing reference
    const std::pair<const char16_t *, int> refused[] = {{u"(256)", errSubscript},
        {u"(-1)", errSubscript}, {u"(99999999999999999999)", errSubscript},
        {u"()", errTypeMismatch}, {u"(cr)", errTypeMismatch}, {u"(1 2)", errTypeMismatch}};
    for (const auto &[bad, error] : refused) {
        text = bad;
        EXPECT_TAGLET_ERROR(t.DecodeTCON(text), error);
    }
}
