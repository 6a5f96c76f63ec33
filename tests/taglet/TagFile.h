#pragma once

#include <QtPictureDecoder.h>
#include <taglet/Taglet.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// A throwaway folder per test for byte files written by the test itself.
class TagFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir = std::filesystem::temp_directory_path()
            / ("taglet-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string write(const std::string &name, const std::string &bytes)
    {
        const auto path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string slurp(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static std::string fixture(const std::string &name)
    {
        return std::string(TONVERA_TEST_DATA) + "/taglet/" + name;
    }

    static std::u16string u16(const std::string &s) { return {s.begin(), s.end()}; }

    // Bytes of an ID3v2 tag around `frames` (size in 7-bit bytes).
    static std::string id3v2(const std::string &frames, int major = 3, int flags = 0)
    {
        const size_t n = frames.size();
        std::string tag = "ID3";
        tag += static_cast<char>(major);
        tag += '\0';
        tag += static_cast<char>(flags);
        for (int shift : {21, 14, 7, 0})
            tag += static_cast<char>((n >> shift) & 0x7F);
        return tag + frames;
    }

    static std::string frame(const std::string &id, const std::string &data)
    {
        std::string f = id;
        const size_t n = data.size();
        for (int shift : {24, 16, 8, 0})
            f += static_cast<char>((n >> shift) & 0xFF);
        return f + std::string(2, '\0') + data;
    }

    std::filesystem::path dir;
};

#define EXPECT_TAGLET_ERROR(statement, errorNumber)                                                \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "expected error " << (errorNumber);                                   \
        } catch (const taglet::Error &e) {                                                         \
            EXPECT_EQ(e.number(), (errorNumber)) << e.what();                                      \
        }                                                                                          \
    } while (0)

// What a read reports: the error number it ended with (0 for none), the events and messages.
struct Observed
{
    int error = 0;
    std::vector<int> events;
    std::vector<std::u16string> messages;
};

inline Observed readFile(
    taglet::Taglet &t, const std::string &path, bool withDecoder = true, bool modern = false)
{
    Observed seen;
    if (modern)
        t.setModern(true);
    if (withDecoder)
        t.setPictureDecoder(std::make_shared<taglet::QtPictureDecoder>());
    t.setErrorHandler([&](std::int16_t &n) { seen.events.push_back(n); });
    t.setMessageHandler([&](const std::u16string &m) { seen.messages.push_back(m); });
    t.setFilename(std::u16string(path.begin(), path.end()));
    try {
        t.Read();
    } catch (const taglet::Error &e) {
        seen.error = e.number();
    }
    return seen;
}
