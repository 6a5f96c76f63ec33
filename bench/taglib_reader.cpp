// The peer side of taglet_vs_taglib.sh: reads every file of a folder with TagLib, the same
// fields taglet's reader touches, and prints files per second.
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: taglib_reader DIR PASSES\n");
        return 2;
    }
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(argv[1]))
        files.push_back(entry.path().string());
    const int passes = std::atoi(argv[2]);
    size_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int p = 0; p < passes; ++p) {
        for (const std::string &f : files) {
            TagLib::MPEG::File file(f.c_str());
            sink += file.tag()->title().size() + file.tag()->artist().size();
            if (auto *props = file.audioProperties())
                sink += static_cast<size_t>(props->bitrate() + props->lengthInSeconds());
            if (auto *v2 = file.ID3v2Tag())
                sink += v2->frameList().size();
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.0f\n", static_cast<double>(files.size()) * passes / took.count());
    return sink == 0 ? 1 : 0;
}
