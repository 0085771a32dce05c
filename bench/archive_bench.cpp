// Speed of the archive reader: the mission list of a large archive, and the extraction of a large
// entry (time, throughput against `cp` of the same bytes, and peak memory).
//
// Targets: the mission list of 10,000 entries under 50 ms and of 100,000 under 1 s (the list itself
// and `orvik missions`, plain and --json); ExtractFile of a 256 MiB entry at least 0.8x the speed of
// cp, with peak memory growth under 16 MiB.
#include "archive/PffArchive.h"
#include "archive/SortedList.h"
#include "common/File.h"
#include "common/Paths.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "ManyMissions.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path BenchDir()
{
    static const orvik::TempDir dir; // removed with its files at exit
    return fs::path(dir.Path());
}

// Targets: 10,000 missions under 50 ms, 100,000 under 1 s.
void BM_ListMissions(benchmark::State& state)
{
    const std::string& path = ManyMissionsArchive(static_cast<int>(state.range(0)));
    orvik::CPffArchive archive;
    std::size_t lines = 0;
    for (auto _ : state) {
        orvik::SortedStringList list;
        archive.ListMissions(list, path);
        lines = list.Size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["missions"] = static_cast<double>(lines);
}
BENCHMARK(BM_ListMissions)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

#ifdef ORVIK_EXE
// `orvik missions BASE [--json]` as a user runs it, process start and output included (to a file).
// Targets as above.
void BM_OrvikMissions(benchmark::State& state)
{
    const std::string& path = ManyMissionsArchive(static_cast<int>(state.range(0)));
    const bool json = state.range(1) != 0;
    const std::string output = (BenchDir() / "missions.out").string();
    const std::string command =
        std::string("'") + ORVIK_EXE + "' missions '" + path + "'" + (json ? " --json" : "") + " > '" + output + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("orvik missions failed");
            break;
        }
    }
    state.counters["output_MiB"] = static_cast<double>(fs::file_size(output)) / (1 << 20);
}
BENCHMARK(BM_OrvikMissions)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

constexpr std::uint64_t kBigSize = 256ull << 20;

// One 256 MiB entry, written in blocks so that making it does not raise the process's peak memory.
const std::string& BigArchive()
{
    static const std::string path = [] {
        const std::string p = (BenchDir() / "kq.pff").string();
        orvik::File out(p, orvik::File::Mode::CreateWrite);
        std::uint8_t head[20 + 32] = {};
        orvik::PutInt32(head + 8, 1);
        orvik::PutInt32(head + 16, 20);
        orvik::PutInt32(head + 20 + 4, 52);
        orvik::PutInt32(head + 20 + 8, static_cast<std::int32_t>(kBigSize));
        std::snprintf(reinterpret_cast<char*>(head + 20 + 16), 16, "BIG_C.PCX");
        out.Write(head, sizeof head);
        std::vector<std::uint8_t> block(1 << 20);
        std::uint32_t x = 1;
        for (std::uint64_t done = 0; done < kBigSize; done += block.size()) {
            for (auto& b : block) {
                x = x * 1103515245u + 12345u;
                b = static_cast<std::uint8_t>(x >> 16);
            }
            out.Write(block.data(), block.size());
        }
        out.Close();
        return p;
    }();
    return path;
}

// kB figures of /proc/self/status; 0 where the system has none.
long StatusKb(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string word;
    while (in >> word)
        if (word == key) {
            long kb = 0;
            in >> kb;
            return kb;
        }
    return 0;
}

// Lets VmHWM measure from now on (Linux 4.0 and later); false where that is not possible.
bool ResetPeakMemory()
{
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

double Seconds(const std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_ExtractLargeEntry(benchmark::State& state)
{
    const std::string& path = BigArchive();
    const std::string destDir = (BenchDir() / "out").string() + "/";
    fs::create_directories(destDir);
    const std::string output = destDir + "big_c.pcx";
    const std::string cpOutput = destDir + "cp_copy.pff";

    // Warm the page cache once, so neither contender pays the first read of the archive.
    orvik::CPffArchive().ExtractFile(path, "big_c.pcx", destDir);

    const bool peakReset = ResetPeakMemory();
    const long rssBefore = peakReset ? StatusKb("VmRSS:") : StatusKb("VmHWM:");
    double extractSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(output);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        orvik::CPffArchive().ExtractFile(path, "big_c.pcx", destDir);
        extractSeconds += Seconds(std::chrono::steady_clock::now() - t0);
    }
    const long peakAfter = StatusKb("VmHWM:");
    if (fs::file_size(output) != kBigSize)
        state.SkipWithError("extracted file has the wrong size");

    // cp of the whole archive (the same bytes plus 52), as many times.
    double cpSeconds = 0;
    const std::string command = "cp '" + path + "' '" + cpOutput + "'";
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
        fs::remove(cpOutput);
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        cpSeconds += Seconds(std::chrono::steady_clock::now() - t0);
    }
    fs::remove(cpOutput);
    fs::remove(output);

    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBigSize));
    state.counters["peak_rss_growth_MiB"] = static_cast<double>(peakAfter - rssBefore) / 1024.0;
    state.counters["peak_reset"] = peakReset ? 1 : 0;
    state.counters["speed_vs_cp"] = extractSeconds > 0 ? cpSeconds / extractSeconds : 0;
}
BENCHMARK(BM_ExtractLargeEntry)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
