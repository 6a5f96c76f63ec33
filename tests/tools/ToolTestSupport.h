#pragma once

// Running the tool programs from build/bin, WAV bytes built by hand, and what lands on disk.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tooltest {

// A throwaway folder; `dir / "name"` is a path in it.
class TempDir
{
public:
    std::string path() const { return m_dir.path().toStdString(); }
    std::string operator/(const std::string &name) const { return path() + "/" + name; }
    // Names in the folder, hidden ones and pipes included, so leftover temporaries show up.
    std::vector<std::string> names() const
    {
        std::vector<std::string> list;
        for (const QString &name :
            QDir(m_dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDir::Name))
            list.push_back(name.toStdString());
        return list;
    }

private:
    QTemporaryDir m_dir;
};

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string toolPath(const std::string &name)
{
    return std::string(TONVERA_BIN_DIR) + "/" + name;
}

struct RunResult
{
    int exitCode = -1; // -1 when it crashed or did not start
    std::string out, err;
};

// Runs a program with an argument list (no shell), collecting its output and status.
inline RunResult run(const std::vector<std::string> &args)
{
    QStringList arguments;
    for (std::size_t i = 1; i < args.size(); ++i)
        arguments << QString::fromStdString(args[i]);
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QString::fromStdString(args[0]), arguments);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

// A failing tool exits with an error, says why in exactly one line and leaves the folder as it was.
inline void expectRefused(const TempDir &dir, const std::vector<std::string> &args)
{
    const auto before = dir.names();
    const RunResult r = run(args);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(!r.err.empty() && r.err.find('\n') == r.err.size() - 1) << r.err;
    EXPECT_EQ(dir.names(), before);
}

inline std::uint32_t le(const std::string &s, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

inline void put32(std::string &s, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string chunk(const std::string &id, const std::string &body)
{
    std::string c = id + "    " + body;
    put32(c, 4, static_cast<std::uint32_t>(body.size()));
    if (body.size() % 2)
        c.push_back('\0');
    return c;
}

// A WAV assembled from a fmt body and chunks placed around it.
inline std::string wavOf(
    const std::string &fmtBody, const std::string &before, const std::string &data)
{
    std::string w = "RIFF    WAVE" + before + chunk("fmt ", fmtBody) + chunk("data", data);
    put32(w, 4, static_cast<std::uint32_t>(w.size() - 8));
    return w;
}

inline std::string pcmFmt(int channels, int rate, int bits = 16, int tag = 1)
{
    std::string f(16, '\0');
    put32(f, 0, std::uint32_t(tag | channels << 16));
    put32(f, 4, std::uint32_t(rate));
    put32(f, 8, std::uint32_t(rate * channels * bits / 8));
    put32(f, 12, std::uint32_t(channels * bits / 8 | bits << 16));
    return f;
}

// The 44 bytes a canonical 16-bit PCM WAV of `dataBytes` starts with.
inline std::string wavHeader(int channels, int rate, std::size_t dataBytes)
{
    return wavOf(pcmFmt(channels, rate), "", std::string(dataBytes, '\0')).substr(0, 44);
}

// The samples of one channel of 16-bit PCM from `offset` on (44: a canonical WAV's samples).
inline std::vector<std::int16_t> channelOf(
    const std::string &bytes, std::size_t offset, int channel, int channels)
{
    std::vector<std::int16_t> samples;
    for (std::size_t at = offset + 2 * channel; at + 1 < bytes.size(); at += 2 * channels)
        samples.push_back(static_cast<std::int16_t>(le(bytes, at, 2)));
    return samples;
}

// Canonical 16-bit (or 8-bit) PCM WAV bytes with a tone and a little noise, for encoder inputs.
inline std::string makeWav(int channels, int rate, double seconds, int bits = 16)
{
    std::string samples;
    std::uint32_t seed = 1;
    for (int i = 0; i < int(seconds * rate) * channels; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const auto v = std::uint32_t(
            std::int32_t(8000.0
                * std::sin(2 * M_PI * (440.0 + 220 * (i % channels)) * (i / channels) / rate))
            + std::int32_t(seed >> 22) - 512);
        for (int b = 0; b < bits / 8; ++b)
            samples.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
    }
    return wavOf(pcmFmt(channels, rate, bits), "", samples);
}

} // namespace tooltest
