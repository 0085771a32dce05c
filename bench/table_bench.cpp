// orvik save's reading of a 200,000-row table as spreadsheets save it: UTF-8 with tabs, Windows-1252
// with semicolons and quoted names, and UTF-16 (a 10 MB file; target: each under 250 ms).
#include "tables/TableReader.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace orvik;

constexpr std::size_t kRows = 200000;

std::string Table(char sep, bool quoted)
{
    const std::string s(1, sep);
    std::string text = "Item" + s + "X Position" + s + "Y Position" + s + "Z Position" + s + "Angle" + s + "ID" + s +
                       "MP Only\r\n";
    for (std::size_t i = 0; i < kRows; ++i) {
        const std::string name = std::string(quoted ? "\"Caf\xE9 Table; " : "Caf\xC3\xA9 Table ") +
                                 std::to_string(i % 97) + (quoted ? "\"" : "");
        text += name + s + std::to_string(i * 331) + s + "-" + std::to_string(i * 17) + s + std::to_string(i % 5000) +
                s + std::to_string(i % 360) + s + std::to_string(i + 1) + s + "N\r\n";
    }
    return text;
}

std::string AsUtf16(const std::string& utf8Ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : utf8Ascii)
        out += std::string{c, '\0'};
    return out;
}

void Read(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        std::istringstream in(text);
        const cli::TableRows table = cli::ReadTableRows(in, cli::TableFormat::Csv, kRows);
        if (table.rows.size() != kRows)
            state.SkipWithError("rows lost");
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReadTableUtf8Tabs200000(benchmark::State& state) { Read(state, Table('\t', false)); }
void BM_ReadTable1252Semicolons200000(benchmark::State& state) { Read(state, Table(';', true)); }
// Plain ASCII names here: the point is the decoding of two-byte units.
void BM_ReadTableUtf16Tabs200000(benchmark::State& state)
{
    std::string ascii = Table('\t', false);
    for (char& c : ascii)
        c = static_cast<unsigned char>(c) >= 0x80 ? 'e' : c;
    Read(state, AsUtf16(ascii));
}

} // namespace

BENCHMARK(BM_ReadTableUtf8Tabs200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTable1252Semicolons200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTableUtf16Tabs200000)->Unit(benchmark::kMillisecond);
