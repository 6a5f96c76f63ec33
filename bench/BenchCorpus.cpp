#include "BenchCorpus.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace {

std::string frame(const std::string &id, const std::string &data)
{
    std::string f = id;
    for (int shift : {24, 16, 8, 0})
        f += static_cast<char>((data.size() >> shift) & 0xFF);
    return f + std::string(2, '\0') + data;
}

std::string text(const std::string &s)
{
    return std::string(1, '\0') + s;
}

std::string id3v2(const std::string &frames, size_t padding)
{
    const size_t n = frames.size() + padding;
    std::string tag = "ID3\x03";
    tag += std::string(2, '\0');
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((n >> shift) & 0x7F);
    return tag + frames + std::string(padding, '\0');
}

std::string field(const std::string &s, size_t width)
{
    std::string f = s.substr(0, width);
    f.resize(width, '\0');
    return f;
}

std::string frontCover(const std::string &jpeg)
{
    return frame("APIC", std::string(1, '\0') + "image/jpeg" + '\0' + '\3' + "Front" + '\0' + jpeg);
}

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes {std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty())
        throw std::runtime_error("bench: " + path + " is missing");
    return bytes;
}

} // namespace

std::vector<std::string> makeBenchCorpus(
    const std::string &folder, int count, const std::string &cover)
{
    const std::string tone = slurp(TONVERA_TEST_DATA "/taglet/tone.mp3");
    std::string audio;
    while (audio.size() < 64 * 1024)
        audio += tone;

    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::string frames = frame("TIT2", text("Title number " + n))
            + frame("TPE1", text("Artist " + n))
            + frame("TALB", text("Album " + std::to_string(i / 10))) + frame("TYER", text("2004"))
            + frame("TRCK", text(std::to_string(i % 20 + 1))) + frame("TCON", text("(17)"))
            + frame("TXXX", text("Mood") + '\0' + "Calm")
            + frame("WOAR", "http://artist.example/" + n)
            + frame("UFID", "http://ids.example" + std::string(1, '\0') + n)
            + frame("COMM", text("eng") + '\0' + "A comment on file " + n)
            + (!cover.empty() && i % 10 == 0 ? frontCover(cover) : std::string());
        std::string tag1 = "TAG" + field("Title number " + n, 30) + field("Artist " + n, 30)
            + field("Album", 30) + "2004" + field("Comment", 28) + '\0'
            + static_cast<char>(i % 20 + 1) + static_cast<char>(17);
        const std::string path = folder + "/track" + n + ".mp3";
        std::ofstream(path, std::ios::binary) << id3v2(frames, 1024) << audio << tag1;
        paths.push_back(path);
    }
    return paths;
}

std::vector<std::string> makeMixedBenchCorpus(
    const std::string &folder, int count, const std::string &cover)
{
    std::vector<std::string> taggerFiles;
    for (const auto &entry :
        std::filesystem::directory_iterator(TONVERA_TEST_DATA "/taglet/modern")) {
        if (entry.path().extension() == ".mp3")
            taggerFiles.push_back(entry.path().string());
    }
    if (taggerFiles.empty())
        throw std::runtime_error("bench: tests/data/taglet/modern holds no MP3");
    std::sort(taggerFiles.begin(), taggerFiles.end());

    // Every other file is a generated ID3v2.3 one, the rest the tagger files in turn.
    const std::vector<std::string> generated = makeBenchCorpus(folder, (count + 1) / 2, cover);
    std::vector<std::string> paths = generated;
    for (int i = 0; static_cast<int>(paths.size()) < count; ++i) {
        const std::string path = folder + "/tagger" + std::to_string(i) + ".mp3";
        std::filesystem::copy_file(taggerFiles[static_cast<size_t>(i) % taggerFiles.size()], path,
            std::filesystem::copy_options::overwrite_existing);
        paths.push_back(path);
    }
    return paths;
}

void makeCoverPair(const std::string &folder, const std::string &cover)
{
    // lame's VBR fixture: no tag of its own, a Xing header in its first frame.
    const std::string audio = slurp(TONVERA_TEST_DATA "/taglet/modern/lame_v0.mp3");
    const std::string texts = frame("TIT2", text("Better Living Through Chemistry"))
        + frame("TPE1", text("Artist")) + frame("TALB", text("Album")) + frame("TYER", text("2004"))
        + frame("TRCK", text("3")) + frame("COMM", text("eng") + '\0' + "A comment");
    const std::string tag1 = "TAG" + field("Better Living Through Chemistr", 30)
        + field("Artist", 30) + field("Album", 30) + "2004" + field("A comment", 28) + '\0' + '\3'
        + '\x11';
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/plain.mp3", std::ios::binary) << id3v2(texts, 1024) << audio << tag1;
    std::ofstream(folder + "/cover.mp3", std::ios::binary)
        << id3v2(texts + frontCover(cover), 1024) << audio << tag1;
}

std::string makeCoverJpeg()
{
    constexpr int Side = 1500;
    QImage image(Side, Side, QImage::Format_RGB32);
    std::mt19937 random(1500);
    for (int y = 0; y < Side; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < Side; ++x) {
            // Colour bars with a gradient, and grain that keeps the JPEG as large as a scan.
            const int bar = x * 7 / Side;
            const int grain = static_cast<int>(random() % 32);
            const int r = (bar & 1 ? 200 : 40) + grain;
            const int g = (bar & 2 ? 200 : 40) + grain;
            const int b = y * 160 / Side + grain;
            row[x] = qRgb(r, g, b);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 90))
        throw std::runtime_error("bench: Qt cannot write a JPEG here");
    return bytes.toStdString();
}
