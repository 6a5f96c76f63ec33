#pragma once

#include <taglet/AttachedPicture.h>
#include <taglet/Error.h>
#include <taglet/Image.h>
#include <taglet/PictureDecoder.h>
#include <taglet/PropertyBag.h>
#include <taglet/taglet_export.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace taglet {

class FileReader;

enum propMode : std::int32_t {
    modeStereo = 0,
    modeJointStereo = 1,
    modeDualChannel = 2,
    modeMono = 3,
};

enum propEmphasis : std::int32_t {
    emphasisNone = 0,
    emphasis5015ms = 1,
    emphasisCCITTj17 = 2,
};

enum propHaveTag : std::int32_t {
    tagNone = 0,
    tagID3v1 = 1,
    tagID3v2 = 2,
    tagID3Both = 3,
};

// Reads the ID3v1/ID3v1.1/ID3v2.3 tags and the first MPEG audio header of one MP3 file and
// writes ID3v1/ID3v1.1 tags back. Text is held as 16-bit characters; a file byte becomes the
// character with the same code (0-255) and back.
//
// The modern reading mode (off by default) reads MP3s as current taggers write them: ID3v2.2
// (frame ids given their v2.3 names), v2.3 and v2.4 tags, unsynchronised or not, with texts
// in any of the four ID3v2 encodings decoded to Unicode, and the exact playing time and
// average bit rate of the stream. See setModern.
//
// One instance serves one file at a time and keeps the file open only inside Read and Save.
// Every failure throws taglet::Error; the file is closed before the error leaves the call.
// Attached pictures are kept as the tag holds them and decoded only when a slot's Picture is
// asked for, so a large cover costs Read no more than reading its bytes. Not thread-safe, not
// even for const calls: Picture decodes on first access.
class TAGLET_EXPORT Taglet
{
public:
    // Fixed size of the control on its host's window, width and height.
    static constexpr int SizeTwips = 570;
    static constexpr int PictureSlots = 21;
    static constexpr int GenreSlots = 256;

    Taglet();
    ~Taglet();
    Taglet(const Taglet &) = delete;
    Taglet &operator=(const Taglet &) = delete;

    // --- Host wiring -------------------------------------------------------------------
    // Error event of Read (ErrNum 100: ID3v2 major version not 3; 101: unsynchronised tag;
    // the modern mode raises only 100, for versions other than 2 to 4).
    using ErrorHandler = std::function<void(std::int16_t &ErrNum)>;
    void setErrorHandler(ErrorHandler handler);
    // Texts the control asks its host to show in a message box (OK button only).
    using MessageHandler = std::function<void(const std::u16string &text)>;
    void setMessageHandler(MessageHandler handler);
    // Called with the property name after every stored property set.
    using PropertyChangedHandler = std::function<void(std::string_view name)>;
    void setPropertyChangedHandler(PropertyChangedHandler handler);
    // Shows the about box; given the text to show.
    using AboutHandler = std::function<void(const std::u16string &text)>;
    void setAboutHandler(AboutHandler handler);
    // Picture decoding for attached pictures, used when Picture is first asked for a slot;
    // without one, the slots show only their descriptions.
    void setPictureDecoder(std::shared_ptr<PictureDecoder> decoder);
    // True when the host runs (the default), false while the host designs its form.
    void setUserMode(bool runTime);
    bool UserMode() const;

    // --- Persistence -------------------------------------------------------------------
    void InitProperties();
    void ReadProperties(PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;
    // The host asks for a size; the control keeps its fixed one.
    void Resize(int widthTwips, int heightTwips);
    int Width() const;
    int Height() const;

    // --- Methods -----------------------------------------------------------------------
    void Clear();
    void Read();
    void Save();
    std::u16string DecodeTCON(std::u16string &Text) const;
    void ShowAbout();
    static std::u16string AboutText();

    std::int16_t TextFrameNum() const;
    std::u16string TextFrame(std::int16_t FrameNumber) const;
    std::u16string TextFrameName(std::int16_t FrameNumber) const;
    std::int16_t UDTextFrameNum() const;
    std::u16string UDTextFrame(std::int16_t FrameNumber) const;
    std::u16string UDTextFrameDescription(std::int16_t FrameNumber) const;
    std::int16_t UFIDNum() const;
    std::u16string UFID(std::int16_t FrameNumber) const;
    std::u16string UFIDURL(std::int16_t FrameNumber) const;
    std::int16_t LinkFrameNum() const;
    std::u16string LinkFrame(std::int16_t FrameNumber) const;
    std::u16string LinkFrameName(std::int16_t FrameNumber) const;
    std::int16_t UDLinkFrameNum() const;
    std::u16string UDLinkFrame(std::int16_t FrameNumber) const;
    std::u16string UDLinkFrameDescription(std::int16_t FrameNumber) const;
    std::int16_t InvolvedPeopleNum() const;
    std::u16string InvolvedPeople(std::int16_t FrameNumber) const;
    std::u16string InvolvedPeopleInvolvement(std::int16_t FrameNumber) const;
    std::u16string MCDI() const;
    // COMM frames in the order of the tag (modern mode only): the comment text, its
    // description and its three-letter language; numbered like the lists above.
    std::int16_t CommentFrameNum() const;
    std::u16string CommentFrame(std::int16_t FrameNumber) const;
    std::u16string CommentFrameDescription(std::int16_t FrameNumber) const;
    std::u16string CommentFrameLanguage(std::int16_t FrameNumber) const;
    // Genre name by ID3v1 genre byte; slots 126 to 255 are empty.
    std::u16string Genres(int index) const;

    // --- Properties --------------------------------------------------------------------
    std::u16string Filename() const { return m_filename; }
    void setFilename(const std::u16string &value);
    bool Trim() const { return m_trim; }
    void setTrim(bool value);
    // Settable at any time; kept by the property bag only when on. When on, Read differs so:
    // - ID3v2.2, v2.3 and v2.4 tags are read, unsynchronised or not, extended headers skipped;
    //   events 100 and 101 are not raised for them (100 still for other versions, whose tag
    //   is then passed over while the audio and ID3v1 are read). A tag whose header announces
    //   an extended header that is not there (a known writer bug) is read as if it had none.
    // - v2.2 frames are listed under their v2.3 ids (TT2 as TIT2, PIC as APIC, ...); the v2.4
    //   frames TDRC and TDOR are listed as TYER and TORY with their year, TIPL as IPLS.
    // - Texts of every encoding are decoded and end at their terminator; several v2.4 values
    //   are joined with " / "; v2.4 genre numbers are written "(n)" for DecodeTCON.
    // - A text frame id that occurs more than once is listed once, at its first place, with
    //   its different values joined with " / " (writers repeat TPE1 for several artists).
    // - COMM frames fill the comment list (CommentFrameNum ...), which stays empty otherwise.
    // - A malformed frame is passed over instead of failing Read; an attached picture whose
    //   type is above 20 fails it as in the default mode.
    // - The audio is measured from its first real frame: Length and LengthMs from a Xing/Info
    //   or VBRI header, or else from counting every frame; Bitrate is the average of a
    //   variable stream and Frequency the true rate of MPEG 2.5.
    // ID3v1 fields and Save are the same in both modes.
    bool Modern() const { return m_modern; }
    void setModern(bool value);

    std::int16_t MPEGVersion() const { return m_mpegVersion; }
    std::int16_t Layer() const { return m_layer; }
    std::int16_t Bitrate() const { return m_bitrate; }
    std::int32_t Frequency() const { return m_frequency; }
    propMode Mode() const { return m_mode; }
    bool Copyright() const { return m_copyright; }
    bool Original() const { return m_original; }
    bool PrivateBit() const { return m_privateBit; }
    propEmphasis Emphasis() const { return m_emphasis; }
    propHaveTag HaveTag() const { return m_haveTag; }
    std::int16_t Length() const { return m_length; }
    // The playing time in milliseconds: exact in the modern mode, Length x 1000 otherwise.
    std::int32_t LengthMs() const { return m_lengthMs; }
    // These are read-only: every call fails (382 at design time, 393 at run time).
    void setMPEGVersion(std::int16_t value);
    void setLayer(std::int16_t value);
    void setBitrate(std::int16_t value);
    void setFrequency(std::int32_t value);
    void setMode(propMode value);
    void setCopyright(bool value);
    void setOriginal(bool value);
    void setPrivateBit(bool value);
    void setEmphasis(propEmphasis value);
    void setHaveTag(propHaveTag value);
    void setLength(std::int16_t value);
    void setPictureDescription(const std::u16string &value);

    std::u16string Artist() const { return m_artist; }
    std::u16string Song() const { return m_song; }
    std::u16string Album() const { return m_album; }
    std::u16string Year() const { return m_year; }
    std::u16string Comment() const { return m_comment; }
    std::u16string Genre() const { return m_genre; }
    std::int16_t Track() const { return m_track; }
    // Settable at run time only (382 at design time).
    void setArtist(const std::u16string &value);
    void setSong(const std::u16string &value);
    void setAlbum(const std::u16string &value);
    void setYear(const std::u16string &value);
    void setComment(const std::u16string &value);
    void setGenre(const std::u16string &value);
    void setTrack(std::int16_t value);

    // The slot selected by PictureID (0-20; anything else fails with 340). The slot's picture
    // is decoded on the first call; a picture of a standard format (bmp, gif, jpeg, ...) that
    // does not decode fails every call with 481, while the other formats leave the picture
    // placed in the slot before, or the empty picture.
    Image Picture() const;
    void setPicture(const Image &value); // accepted and ignored
    std::u16string PictureDescription() const;
    std::int16_t PictureID() const { return m_pictureId; }
    void setPictureID(std::int16_t value); // run time only

    // The picture persisted with the control (not filled by Read).
    Image StoredPicture() const { return m_storedPicture; }

    // Every attached picture Read kept, in the order of the tag, undecoded: also those of a
    // format the slots do not take, and those a later picture of the same type replaced.
    const std::vector<AttachedPicture> &AttachedPictures() const { return m_pictures; }
    // The picture that stands for the file: the first front cover (type 3), else the first
    // picture; nullptr when the tag has none.
    const AttachedPicture *FrontCover() const;
    // The undecoded picture the slot selected by PictureID shows (the last one Read placed
    // there), or nullptr for an empty slot. Fails like Picture for a bad PictureID.
    const AttachedPicture *PictureFile() const;

private:
    struct PictureSlot
    {
        std::u16string description;
        // Indexes into m_pictures of the pictures Read placed here, oldest first: when the
        // newest does not decode, an older one may still show.
        std::vector<size_t> sources;
        // What decoding gave, once it has been done.
        mutable std::optional<Image> picture;
        mutable std::optional<Error> failure;
    };
    using Pair = std::pair<std::u16string, std::u16string>;
    using FrameList = std::vector<Pair>;
    struct CommentEntry
    {
        std::u16string language, description, text;
    };
    struct Lists
    {
        FrameList text, userText, uniqueIds, links, userLinks, involvedPeople;
        std::vector<CommentEntry> comments;
    };
    struct RawFrame;
    struct ModernFrames;

    void requireRunTime() const;
    void refuseReadOnly() const;
    void changed(std::string_view name);
    void resetValues();
    const PictureSlot &selectedSlot() const;
    const Lists &lists() const;
    const Pair &entry(const FrameList &list, std::int16_t n) const;
    const CommentEntry &commentAt(std::int16_t n) const;
    Image decodeSlot(const PictureSlot &slot) const;

    bool readId3v2(FileReader &file, std::int64_t &frameOffset);
    void storeFrame(std::string_view id, std::string_view data);
    void loadAttachedPicture(std::string frame);
    void placePicture(AttachedPicture picture);
    void decodeAudioHeader(FileReader &file, std::int64_t frameOffset);
    void decodeHeaderFields(FileReader &file, std::int64_t frameOffset);
    void readId3v1(FileReader &file);

    void readModern(FileReader &file);
    std::int64_t readModernId3v2(FileReader &file);
    void storeModernFrame(
        ModernFrames &seen, std::string_view id, std::string_view data, int major);
    void loadModernPicture(std::string frame);
    void measureAudio(FileReader &file, std::int64_t audioOffset);

    std::u16string m_filename;
    bool m_trim = true;
    bool m_modern = false;
    bool m_userMode = true;
    std::int16_t m_mpegVersion = 0;
    std::int16_t m_layer = 0;
    std::int16_t m_bitrate = 0;
    std::int32_t m_frequency = 0;
    propMode m_mode = modeStereo;
    bool m_copyright = false;
    bool m_original = false;
    bool m_privateBit = false;
    propEmphasis m_emphasis = emphasisNone;
    propHaveTag m_haveTag = tagNone;
    std::int16_t m_length = 0;
    std::int32_t m_lengthMs = 0;
    std::u16string m_artist, m_song, m_album, m_year, m_comment, m_genre;
    std::int16_t m_track = 0;
    std::array<PictureSlot, PictureSlots> m_slots;
    std::vector<AttachedPicture> m_pictures;
    std::int16_t m_pictureId = 0;
    Image m_storedPicture;
    std::u16string m_storedPictureDescription;
    std::u16string m_mcdi;
    std::optional<Lists> m_lists; // absent until the first Clear
    int m_width = SizeTwips;
    int m_height = SizeTwips;

    ErrorHandler m_onError;
    MessageHandler m_onMessage;
    PropertyChangedHandler m_onChanged;
    AboutHandler m_onAbout;
    std::shared_ptr<PictureDecoder> m_decoder;
};

} // namespace taglet
