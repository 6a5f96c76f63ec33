// Read over a corpus of tagged MP3 files, every tenth with a 1500x1500 JPEG front cover.
//   taglet_read_bench                      Google Benchmark run (corpora in a temporary folder)
//   taglet_read_bench --make-corpus DIR N  writes the corpus for the side-by-side script
//   taglet_read_bench --make-mixed-corpus DIR N
//                                          the same with tagger-made files mixed in
//   taglet_read_bench --rate DIR PASSES [--modern]
//                                          prints files read per second over DIR
//   taglet_read_bench --make-cover-pair DIR
//                                          writes DIR/plain.mp3 and DIR/cover.mp3, the same
//                                          file without and with a front cover
//   taglet_read_bench --cover-ratio DIR PASSES
//                                          times Read of that pair side by side
// Every Read has a picture decoder, as the program and the command line have: a cover must
// cost nothing until its picture is asked for.
#include "BenchCorpus.h"

#include <QtPictureDecoder.h>
#include <taglet/Taglet.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A control wired as a host wires it.
void wire(taglet::Taglet &tag, bool modern)
{
    tag.setPictureDecoder(std::make_shared<taglet::QtPictureDecoder>());
    tag.setModern(modern);
}

const std::string &cover()
{
    static const std::string jpeg = makeCoverJpeg();
    return jpeg;
}

// Reads one file and touches what a host would show.
size_t readOne(taglet::Taglet &tag, const std::string &path)
{
    tag.setFilename(std::u16string(path.begin(), path.end()));
    tag.Read();
    size_t sink = tag.Song().size() + tag.Artist().size() + static_cast<size_t>(tag.Bitrate())
        + static_cast<size_t>(tag.Length());
    for (std::int16_t i = 1; i <= tag.TextFrameNum(); ++i)
        sink += tag.TextFrame(i).size();
    return sink;
}

std::vector<std::string> filesIn(const std::string &folder)
{
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().string());
    return files;
}

void BM_TagletRead(benchmark::State &state)
{
    const auto folder
        = std::filesystem::temp_directory_path() / ("taglet-bench-" + std::to_string(::getpid()));
    const std::vector<std::string> files
        = makeBenchCorpus(folder.string(), static_cast<int>(state.range(0)), cover());
    taglet::Taglet tag;
    wire(tag, false);
    for (auto _ : state) {
        for (const std::string &f : files)
            benchmark::DoNotOptimize(readOne(tag, f));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TagletRead)->Arg(300)->Unit(benchmark::kMillisecond);

// The modern mode over the mixed corpus, whose streams it measures frame by frame.
void BM_TagletReadModern(benchmark::State &state)
{
    const auto folder = std::filesystem::temp_directory_path()
        / ("taglet-bench-mixed-" + std::to_string(::getpid()));
    const std::vector<std::string> files
        = makeMixedBenchCorpus(folder.string(), static_cast<int>(state.range(0)), cover());
    taglet::Taglet tag;
    wire(tag, true);
    for (auto _ : state) {
        for (const std::string &f : files)
            benchmark::DoNotOptimize(readOne(tag, f));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TagletReadModern)->Arg(300)->Unit(benchmark::kMillisecond);

// One file without (0) and with (1) a front cover, in the modern mode; /2 also shows the cover,
// which is what every Read cost before pictures were decoded on demand.
void BM_TagletReadCover(benchmark::State &state)
{
    const auto folder = std::filesystem::temp_directory_path()
        / ("taglet-bench-cover-" + std::to_string(::getpid()));
    makeCoverPair(folder.string(), cover());
    const std::string file = (folder / (state.range(0) == 0 ? "plain.mp3" : "cover.mp3")).string();
    taglet::Taglet tag;
    wire(tag, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readOne(tag, file));
        if (state.range(0) == 2) {
            tag.setPictureID(3);
            benchmark::DoNotOptimize(tag.Picture().width);
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TagletReadCover)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Microseconds per Read of each file of the pair: the best of several rounds, the two files
// taking turns so that both meet the same load.
int coverRatio(const std::string &folder, int passes)
{
    const std::string plain = folder + "/plain.mp3";
    const std::string covered = folder + "/cover.mp3";
    std::printf("in-process Read, %d passes, best of 5 rounds (microseconds per Read)\n", passes);
    for (const bool modern : {false, true}) {
        taglet::Taglet tag;
        wire(tag, modern);
        double best[2] = {1e300, 1e300};
        size_t sink = 0;
        for (int round = 0; round < 5; ++round) {
            for (int which = 0; which < 2; ++which) {
                const std::string &file = which ? covered : plain;
                const auto start = std::chrono::steady_clock::now();
                for (int p = 0; p < passes; ++p)
                    sink += readOne(tag, file);
                const std::chrono::duration<double, std::micro> took
                    = std::chrono::steady_clock::now() - start;
                best[which] = std::min(best[which], took.count() / passes);
            }
        }
        std::printf("  %-8s without cover %8.1f  with cover %8.1f  ratio %.2f\n",
            modern ? "modern" : "default", best[0], best[1], best[1] / best[0]);
        if (sink == 0)
            return 1;
    }
    return 0;
}

int rate(const std::string &folder, int passes, bool modern)
{
    const std::vector<std::string> files = filesIn(folder);
    taglet::Taglet tag;
    wire(tag, modern);
    size_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int p = 0; p < passes; ++p) {
        for (const std::string &f : files)
            sink += readOne(tag, f);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.0f\n", static_cast<double>(files.size()) * passes / took.count());
    return sink == 0 ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--make-corpus" && argc == 4) {
        makeBenchCorpus(argv[2], std::atoi(argv[3]), cover());
        return 0;
    }
    if (mode == "--make-mixed-corpus" && argc == 4) {
        makeMixedBenchCorpus(argv[2], std::atoi(argv[3]), cover());
        return 0;
    }
    if (mode == "--make-cover-pair" && argc == 3) {
        makeCoverPair(argv[2], cover());
        return 0;
    }
    if (mode == "--cover-ratio" && argc == 4)
        return coverRatio(argv[2], std::atoi(argv[3]));
    if (mode == "--rate" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "--modern")))
        return rate(argv[2], std::atoi(argv[3]), argc == 5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
