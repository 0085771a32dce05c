// Item records of any content, read, written into a fresh mission and read again, must come back
// the same, with every byte but word 0 as it was and nothing written outside the records.
#include "FuzzCheck.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Input: a mission's bytes from its first item record on.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    constexpr std::size_t kHeader = CMissionModel::kItemsOffset;
    constexpr std::size_t kRecord = CMissionItem::kRecordSize;
    constexpr std::uint8_t kUnused = 0xA5;

    std::vector<std::uint8_t> source(kHeader, kUnused);
    source.insert(source.end(), data, data + size);
    const std::string sourcePath = fuzz::ScratchFile("source.bms", source.data(), source.size());
    CMissionModel first;
    File in(sourcePath, File::Mode::Read);
    const bool whole = first.ReadItems(in, 0);
    const std::size_t count = first.items.size();
    fuzz::Require(count * kRecord <= size, "only records in the file are read");
    if (whole)
        fuzz::Require(in.Position() == static_cast<std::int64_t>(kHeader + count * kRecord + 8),
                      "a whole list leaves the file after its end mark");

    // The target: unused bytes where the records go, then an end mark and a tail.
    std::vector<std::uint8_t> target(kHeader + count * kRecord + 16, kUnused);
    std::memset(target.data() + kHeader + count * kRecord, 0, 8);
    const std::string targetPath = fuzz::ScratchFile("target.bms", target.data(), target.size());
    {
        File out(targetPath, File::Mode::ReadWrite);
        first.WriteItems(out, 0);
        out.Close();
    }
    const std::vector<std::uint8_t> written = ReadWholeFile(targetPath);
    fuzz::Require(written.size() == target.size(), "writing the records keeps the file's size");
    for (std::size_t i = 0; i < written.size(); ++i) {
        const bool inRecords = i >= kHeader && i < kHeader + count * kRecord;
        const std::size_t inRecord = (i - kHeader) % kRecord;
        if (!inRecords)
            fuzz::Require(written[i] == target[i], "nothing is written outside the records");
        else if (inRecord < 4)
            fuzz::Require(written[i] == 0, "word 0 is written as 0");
        else
            fuzz::Require(written[i] == data[i - kHeader], "every other byte of a record is kept");
    }

    CMissionModel second;
    File again(targetPath, File::Mode::Read);
    fuzz::Require(second.ReadItems(again, 0), "written records read back whole");
    fuzz::Require(second.items.size() == count, "written records read back as many");
    for (std::size_t i = 0; i < count; ++i)
        fuzz::Require(second.items[i]->ToWords() == first.items[i]->ToWords(), "written records read back the same");
    return 0;
}
