#include "WavHeaderReader.h"
#include "ToolTestSupport.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

using tonvera::WavError;
using tonvera::WavFormat;
using tonvera::WavHeaderReader;
using namespace tooltest;

namespace {

WavFormat readBytes(const std::string &bytes)
{
    return WavHeaderReader::read(
        [&bytes](std::uint64_t at, unsigned char *buf, std::size_t n) {
            return bytes.copy(
                reinterpret_cast<char *>(buf), n, std::min<std::size_t>(at, bytes.size()));
        },
        bytes.size());
}

std::string extensibleFmt(char extension = 22, char subFormat = 1)
{
    return pcmFmt(2, 48000, 16, 0xFFFE) + extension + std::string("\x00\x10\x00\x03\x00\x00\x00", 7)
        + subFormat
        + std::string("\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 15);
}

TEST(WavHeaderReader, ReadsWhatTheDecoderWrites)
{
    for (int channels : {1, 2}) {
        const auto header = tonvera::WavWriter::header(channels, 22050, 4000);
        const WavFormat f
            = readBytes(std::string(header.begin(), header.end()) + std::string(4000, '\x01'));
        EXPECT_EQ(std::tuple(f.channels, f.sampleRate, f.dataOffset, f.frameCount),
            std::tuple(channels, 22050, 44u, 4000u / (2 * channels)));
    }
    EXPECT_THROW(tonvera::WavWriter::header(2, 44100, 0x100000000ull), std::length_error);
}

TEST(WavHeaderReader, FindsSamplesInFilesFromOtherWriters)
{
    const std::string data(400, '\x02');
    std::string streamed = wavOf(pcmFmt(2, 44100), "", data);
    put32(streamed, 40, 0xFFFFFFFF);
    std::string overlong = wavOf(pcmFmt(2, 44100), "", data);
    put32(overlong, 40, 100000);
    const std::tuple<const char *, std::string, std::uint64_t, std::uint64_t> cases[] = {
        // name, bytes, offset of the samples, frames
        {"list chunk with odd size before fmt", wavOf(pcmFmt(1, 8000), chunk("LIST", "abc"), data),
            12 + 12 + 24 + 8, 200},
        {"extensible PCM", wavOf(extensibleFmt(), "", data), 12 + 48 + 8, 100},
        {"streamed size, all ones", streamed, 44, 100},
        {"streamed size, zero", wavOf(pcmFmt(2, 44100), "", "") + data, 44, 100},
        {"size past the end of the file", overlong, 44, 100},
        {"half a frame of eight channels at the end",
            wavOf(pcmFmt(8, 44100), "", std::string(408, '\0')), 44, 25},
    };
    for (const auto &[name, bytes, offset, frames] : cases) {
        const WavFormat f = readBytes(bytes);
        EXPECT_EQ(std::tuple(f.dataOffset, f.frameCount), std::tuple(offset, frames)) << name;
    }
}

TEST(WavHeaderReader, RefusesAllButSixteenBitPcm)
{
    const std::string data(64, '\0');
    std::string badAlign = pcmFmt(2, 44100), eightBit = pcmFmt(1, 8000, 8);
    badAlign[12] = eightBit[12] = 2;
    std::string manyChunks = "RIFF    WAVE";
    for (int i = 0; i < 5000; ++i)
        manyChunks += chunk("junk", "");
    const std::pair<const char *, std::string> cases[] = {
        {"empty", ""},
        {"MP3 bytes", "ID3\x03\x00\x00\x00\x00\x00\x00\xFF\xFB\x90\x64"},
        {"RIFF but not WAVE", wavOf(pcmFmt(2, 44100), "", data).replace(8, 4, "AVI ")},
        {"8-bit, block size as for 16", wavOf(eightBit, "", data)},
        {"24-bit", wavOf(pcmFmt(2, 44100, 24), "", data)},
        {"float", wavOf(pcmFmt(2, 44100, 32, 3), "", data)},
        {"ADPCM", wavOf(pcmFmt(2, 44100, 16, 2), "", data)},
        {"extensible float", wavOf(extensibleFmt(22, 3), "", data)},
        {"extensible with too short an extension", wavOf(extensibleFmt(0), "", data)},
        {"no channels", wavOf(pcmFmt(0, 44100), "", data)},
        {"absurd rate", wavOf(pcmFmt(2, 10), "", data)},
        {"inconsistent block size", wavOf(badAlign, "", data)},
        {"short fmt chunk", wavOf(pcmFmt(2, 44100).substr(0, 12), "", data)},
        {"data before fmt", "RIFF    WAVE" + chunk("data", data) + chunk("fmt ", pcmFmt(2, 44100))},
        {"no data chunk", "RIFF    WAVE" + chunk("fmt ", pcmFmt(2, 44100))},
        {"chunk size past the end",
            "RIFF    WAVE" + chunk("fmt ", pcmFmt(2, 44100)) + "LIST\xFF\xFF\xFF\x7F"},
        {"endless tiny chunks", manyChunks},
    };
    for (const auto &[name, bytes] : cases)
        EXPECT_THROW(readBytes(bytes), WavError) << name;
}

} // namespace
