#include "common/OutputFile.h"
#include "common/FileError.h"
#include "support/FileSizeLimit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvik;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 9));
    return out;
}

TEST(OutputFile, ReplacesTheTargetWholeOrLeavesItAsItWas)
{
    struct Case {
        const char* what;
        std::size_t oldSize; // 0: no old file
        unsigned oldMode;
        std::uint64_t sizeLimit; // below the new size: the disk fills up half-way
    };
    const std::size_t newSize = 70000;
    const Case cases[] = {
        {"new file", 0, 0, 1u << 30},
        {"longer old file", 90000, 0640, 1u << 30},
        {"shorter old file", 10, 0600, 1u << 30},
        {"full disk, new file", 0, 0, 32768},
        {"full disk, old file", 5000, 0604, 32768},
    };
    if (!test::CanFork())
        GTEST_SKIP() << test::kNoFork;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        const std::string target = dir.File("out.pcx");
        if (c.oldSize) {
            test::WriteBytes(target, Bytes(c.oldSize, 1));
            std::filesystem::permissions(target, static_cast<std::filesystem::perms>(c.oldMode));
        }
        const bool fits = c.sizeLimit > newSize;
        // The child says 0 when the write succeeded or failed exactly as it should.
        const int status = test::RunWithFileSizeLimit(c.sizeLimit, [&] {
            try {
                WriteOutputFile(target, Bytes(newSize, 9).data(), newSize);
                return fits ? 0 : 1;
            } catch (const FileError& e) {
                return !fits && e.Kind() == FileErrorKind::DiskFull && e.FileName() == target ? 0 : 2;
            }
        });
        EXPECT_EQ(status, 0);
        const auto expected = fits ? Bytes(newSize, 9) : c.oldSize ? Bytes(c.oldSize, 1) : std::vector<std::uint8_t>{};
        EXPECT_EQ(test::ReadBytes(target), expected);
        EXPECT_EQ(test::ListFolder(dir.Path()),
                  (c.oldSize || fits ? std::vector<std::string>{"out.pcx"} : std::vector<std::string>{}));
        std::error_code ec;
        const auto st = std::filesystem::status(target, ec);
        if (c.oldSize && !ec) {
            EXPECT_EQ(static_cast<unsigned>(st.permissions()) & 07777, c.oldMode);
        }
    }
}

} // namespace
