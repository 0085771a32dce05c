// The demo game must be quick to make: `orvik demo` and the editor's demo run write it on the spot.
#include "gamedata/DemoGame.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

void BM_WriteDemoGame(benchmark::State& state)
{
    const auto dir = std::filesystem::temp_directory_path() / "orvik-demo-bench";
    orvik::gamedata::DemoOptions options;
    options.colorMapSize = static_cast<int>(state.range(0));
    std::uint32_t seed = 1;
    for (auto _ : state) {
        options.seed = seed++;
        orvik::gamedata::WriteDemoGame(dir.string(), options);
    }
    std::filesystem::remove_all(dir);
}
// The target: well under 2 seconds for the full-size demo in a Release build.
BENCHMARK(BM_WriteDemoGame)->Arg(1024)->Arg(256)->Unit(benchmark::kMillisecond);

} // namespace
