// Replays one harness's corpus (fuzz/corpus/<harness>) as a test: every seed, and every finding
// saved there once fixed, must keep passing the harness's checks in the normal and sanitizer
// builds, without libFuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ORVIK_CORPUS_DIR, ec))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class CorpusReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusReplay, PassesTheHarness)
{
    std::ifstream in(std::string(ORVIK_CORPUS_DIR) + "/" + GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << GetParam();
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A broken property aborts inside the harness, naming itself; ctest names the input.
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, ::testing::ValuesIn(CorpusFiles()), TestName);

TEST(Corpus, HasSeeds) { EXPECT_FALSE(CorpusFiles().empty()) << ORVIK_CORPUS_DIR; }

} // namespace
