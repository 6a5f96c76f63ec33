// Read over a corpus of tagged MP3 files.
//   taglet_read_bench                      Google Benchmark run (corpora in a temporary folder)
//   taglet_read_bench --make-corpus DIR N  writes the corpus for the side-by-side script
//   taglet_read_bench --make-mixed-corpus DIR N
//                                          the same with tagger-made files mixed in
//   taglet_read_bench --rate DIR PASSES [--modern]
//                                          prints files read per second over DIR
#include "BenchCorpus.h"

#include <taglet/Taglet.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

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
        = makeBenchCorpus(folder.string(), static_cast<int>(state.range(0)));
    taglet::Taglet tag;
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
        = makeMixedBenchCorpus(folder.string(), static_cast<int>(state.range(0)));
    taglet::Taglet tag;
    tag.setModern(true);
    for (auto _ : state) {
        for (const std::string &f : files)
            benchmark::DoNotOptimize(readOne(tag, f));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TagletReadModern)->Arg(300)->Unit(benchmark::kMillisecond);

int rate(const std::string &folder, int passes, bool modern)
{
    const std::vector<std::string> files = filesIn(folder);
    taglet::Taglet tag;
    tag.setModern(modern);
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
        makeBenchCorpus(argv[2], std::atoi(argv[3]));
        return 0;
    }
    if (mode == "--make-mixed-corpus" && argc == 4) {
        makeMixedBenchCorpus(argv[2], std::atoi(argv[3]));
        return 0;
    }
    if (mode == "--rate" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "--modern")))
        return rate(argv[2], std::atoi(argv[3]), argc == 5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
