#pragma once
// Shared by the taglet tests: a throwaway folder, ID3v2 bytes built by hand, and what a read
// reports, rendered so that a whole result compares in one assertion.

#include "ToolTestSupport.h"

#include <QString>
#include <QtPictureDecoder.h>
#include <taglet/Taglet.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace std::string_literals;

inline std::u16string u16(const std::string &s)
{
    return {s.begin(), s.end()};
}

// Not through QString::fromUtf16, which would swallow a byte order mark the reader left in.
inline std::string utf8(const std::u16string &s)
{
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size())).toStdString();
}

// One MPEG 1 layer III header (128 kbit/s, 44.1 kHz) and silence: the audio after a tag.
inline const std::string Audio = "\xFF\xFB\x90\x64"s + std::string(500, '\0');

// A frame as version `major` stores it: v2.2 has three-byte sizes, v2.4 syncsafe ones.
inline std::string frame(const std::string &id, const std::string &data, int major = 3)
{
    std::string f = id;
    const int bits = major == 4 ? 7 : 8;
    for (int i = major == 2 ? 2 : 3; i >= 0; --i)
        f += static_cast<char>((data.size() >> (bits * i)) & ((1 << bits) - 1));
    return f + std::string(major == 2 ? 0 : 2, '\0') + data;
}

// Bytes of an ID3v2 tag around `frames` (size in 7-bit bytes).
inline std::string id3v2(const std::string &frames, int major = 3, int flags = 0)
{
    std::string tag = "ID3"s + char(major) + '\0' + char(flags);
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((frames.size() >> shift) & 0x7F);
    return tag + frames;
}

// A throwaway folder per test for byte files written by the test itself.
class TagFileTest : public ::testing::Test
{
protected:
    std::string write(const std::string &name, const std::string &bytes)
    {
        tooltest::writeFile(dir / name, bytes);
        return dir / name;
    }
    static std::string slurp(const std::string &path) { return tooltest::readFile(path); }
    static std::string fixture(const std::string &name)
    {
        return std::string(TONVERA_TEST_DATA) + "/taglet/" + name;
    }

    tooltest::TempDir dir;
};

// The error number a call raises, 0 for none.
inline int errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const taglet::Error &e) {
        return e.number();
    }
    return 0;
}
#define EXPECT_TAGLET_ERROR(statement, n) EXPECT_EQ(errorOf([&] { statement; }), n)

// What a read reports: the error number it ended with (0 for none) and the events.
struct Observed
{
    int error = 0;
    std::vector<int> events;
};

inline Observed readFile(
    taglet::Taglet &t, const std::string &path, bool withDecoder = true, bool modern = false)
{
    Observed seen;
    t.setModern(modern);
    if (withDecoder)
        t.setPictureDecoder(std::make_shared<taglet::QtPictureDecoder>());
    t.setErrorHandler([&](std::int16_t &n) { seen.events.push_back(n); });
    t.setFilename(u16(path));
    seen.error = errorOf([&] { t.Read(); });
    return seen;
}

// The text frames listed, as "TIT2=Title|TPE1=Artist".
inline std::string textFrames(const taglet::Taglet &t)
{
    std::string out;
    for (std::int16_t i = 1; i <= t.TextFrameNum(); ++i)
        out += (i > 1 ? "|" : "") + utf8(t.TextFrameName(i)) + "=" + utf8(t.TextFrame(i));
    return out;
}
