#pragma once

// Running the tool programs from build/bin, WAV bytes built by hand, and what lands on disk.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace tooltest {

namespace fs = std::filesystem;

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "tonvera-tools-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path &path() const { return m_path; }
    std::string operator/(const std::string &name) const { return (m_path / name).string(); }

    // Names in the folder, hidden ones included, so leftover temporaries show up.
    std::vector<std::string> names() const
    {
        std::vector<std::string> list;
        for (const auto &entry : fs::directory_iterator(m_path))
            list.push_back(entry.path().filename().string());
        std::sort(list.begin(), list.end());
        return list;
    }

private:
    fs::path m_path;
};

struct RunResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
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

// Runs a program with an argument list (no shell), collecting its output and status.
inline RunResult run(const std::vector<std::string> &args)
{
    TempDir io;
    const std::string outPath = io / "out", errPath = io / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<char *> argv;
    for (const auto &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    RunResult result;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

// A failing tool must say why in exactly one line.
inline bool isOneLine(const std::string &text)
{
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
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
    f[0] = static_cast<char>(tag & 0xFF);
    f[1] = static_cast<char>(tag >> 8);
    f[2] = static_cast<char>(channels);
    put32(f, 4, static_cast<std::uint32_t>(rate));
    put32(f, 8, static_cast<std::uint32_t>(rate * channels * bits / 8));
    f[12] = static_cast<char>(channels * bits / 8);
    f[14] = static_cast<char>(bits);
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

// Canonical PCM WAV bytes with a tone and a little noise, for encoder inputs.
inline std::string makeWav(int channels, int rate, double seconds, int bits = 16, int tag = 1)
{
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    std::string samples;
    std::uint32_t seed = 1;
    for (std::uint32_t i = 0; i < frames; ++i) {
        for (int ch = 0; ch < channels; ++ch) {
            seed = seed * 1664525u + 1013904223u;
            const double tone
                = 8000.0 * std::sin(2 * 3.14159265358979 * (440.0 + 220 * ch) * i / rate);
            const auto v = static_cast<std::uint32_t>(
                static_cast<std::int32_t>(tone) + static_cast<std::int32_t>(seed >> 22) - 512);
            for (int b = 0; b < bits / 8; ++b)
                samples.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
        }
    }
    return wavOf(pcmFmt(channels, rate, bits, tag), "", samples);
}

} // namespace tooltest
