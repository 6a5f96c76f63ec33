#include "TagFile.h"

#include <unistd.h>

using namespace taglet;

using SaveTest = TagFileTest;

namespace {
void saveAs(Taglet &t, const std::string &path)
{
    t.setFilename(u16(path));
    t.Save();
}
} // namespace

// An ID3v2 tag before the audio is left as it is.
TEST_F(SaveTest, AppendsOrReplacesOnlyTheLast128Bytes)
{
    const std::string v2 = id3v2(frame("TIT2", "\0Title"s)) + Audio;
    const std::string path = write("a.mp3", v2);
    Taglet t;
    t.setSong(u"Song");
    t.setGenre(u"Rock");
    saveAs(t, path);
    EXPECT_EQ(t.HaveTag(), tagNone) << "Save does not read the file";
    EXPECT_EQ(slurp(path), v2 + "TAGSong" + std::string(120, '\0') + '\x11');
    t.setSong(u"Other");
    t.setArtist(std::u16string(30, u'a'));
    t.setYear(u"1999");
    t.setGenre(u"rock"); // names match exactly or not at all
    saveAs(t, path);
    EXPECT_EQ(slurp(path),
        v2 + "TAGOther" + std::string(25, '\0') + std::string(30, 'a') + std::string(30, '\0')
            + "1999" + std::string(30, '\0') + '\xFF');
    t.Read(); // what was written reads back, every field at its full width
    EXPECT_EQ(std::tuple(t.HaveTag(), t.Song(), t.Artist(), t.Year(), t.Genre(), t.TextFrame(1)),
        std::tuple(tagID3Both, u"Other", std::u16string(30, u'a'), u"1999", u"", u"Title"));
}

TEST_F(SaveTest, FieldsAreFittedInPlace)
{
    const std::string path = write("a.mp3", Audio);
    Taglet t;
    t.setSong(u"Five5");
    t.setYear(u"2001-02-03");
    t.setComment(std::u16string(40, u'c'));
    t.setTrack(5);
    saveAs(t, path);
    EXPECT_EQ(std::tuple(t.Song(), t.Year(), t.Comment(), t.Track()),
        std::tuple(u"Five5" + std::u16string(25, u'\0'), u"2001", std::u16string(28, u'c'), 5));
    EXPECT_EQ(slurp(path).substr(Audio.size() + 97), std::string(28, 'c') + "\0\5\xFF"s);
    // An out-of-range track makes a plain ID3v1 tag with a 30-byte comment.
    t.setTrack(300);
    t.setComment(std::u16string(40, u'd'));
    saveAs(t, path);
    EXPECT_EQ(std::tuple(t.Track(), t.Comment()), std::tuple(0, std::u16string(30, u'd')));
    EXPECT_EQ(slurp(path).substr(Audio.size() + 97), std::string(30, 'd') + '\xFF');
    // Characters without a single-byte form are written as '?'.
    t.setSong(u"a\u20ACb\u00FF");
    saveAs(t, path);
    EXPECT_EQ(slurp(path).substr(Audio.size() + 3, 5), "a?b\xFF\0"s);
}

TEST_F(SaveTest, FailuresWriteNothing)
{
    Taglet t;
    t.setSong(u"x");
    const std::string small = write("small.mp3", std::string(127, 'a'));
    EXPECT_TAGLET_ERROR(saveAs(t, small), errBadPosition);
    EXPECT_EQ(slurp(small), std::string(127, 'a'));
    // A missing file is not made up just to hold a tag.
    const std::string missing = dir / "missing.mp3";
    EXPECT_TAGLET_ERROR(saveAs(t, missing), errFileNotFound);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TAGLET_ERROR(saveAs(t, dir.path()), errFileAccess);
    if (::geteuid() != 0) { // root may write anyway
        const std::string locked = write("locked.mp3", Audio);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
        EXPECT_TAGLET_ERROR(saveAs(t, locked), errFileAccess);
        EXPECT_EQ(slurp(locked), Audio);
    }
    // Exactly 128 bytes is room for a tag.
    saveAs(t, write("room.mp3", std::string(128, 'a')));
    EXPECT_EQ(slurp(dir / "room.mp3").substr(128, 4), "TAGx");
}
