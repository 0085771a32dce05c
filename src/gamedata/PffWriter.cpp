#include "gamedata/PffWriter.h"

#include "common/File.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace orvik::gamedata {

namespace {

void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    PutInt32(out.data() + at, static_cast<std::int32_t>(value));
}

} // namespace

std::vector<std::uint8_t> BuildPff(const std::vector<PffFile>& files, const PffLayout& layout,
                                   std::vector<PffWrittenEntry>* written)
{
    std::mt19937 rng(layout.seed);
    const std::size_t tableSize = files.size() * 32;
    std::vector<std::uint8_t> out(20, 0);
    Put(out, 0, rng());
    Put(out, 4, rng());
    Put(out, 8, static_cast<std::uint32_t>(files.size()));
    Put(out, 12, rng());

    std::vector<std::uint32_t> offsets(files.size());
    auto appendData = [&] {
        for (std::size_t i = 0; i < files.size(); ++i) {
            for (std::uint32_t g = 0; g < layout.gapBetween; ++g)
                out.push_back(static_cast<std::uint8_t>(rng()));
            offsets[i] = static_cast<std::uint32_t>(out.size());
            out.insert(out.end(), files[i].data.begin(), files[i].data.end());
        }
    };
    std::size_t tableAt = 0;
    if (layout.tableFirst) {
        tableAt = out.size();
        out.resize(out.size() + tableSize);
        appendData();
    } else {
        appendData();
        tableAt = out.size();
        out.resize(out.size() + tableSize);
    }
    Put(out, 16, static_cast<std::uint32_t>(tableAt));

    if (written)
        written->clear();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::size_t e = tableAt + i * 32;
        Put(out, e + 0, rng());
        Put(out, e + 4, offsets[i]);
        Put(out, e + 8, static_cast<std::uint32_t>(files[i].data.size()));
        Put(out, e + 12, rng());
        // The name field: the name, a NUL when it is shorter than 16, then junk.
        for (std::size_t k = 0; k < 16; ++k)
            out[e + 16 + k] = static_cast<std::uint8_t>(rng());
        const std::size_t n = std::min<std::size_t>(files[i].name.size(), 16);
        std::memcpy(out.data() + e + 16, files[i].name.data(), n);
        if (n < 16)
            out[e + 16 + n] = 0;
        if (written)
            written->push_back(
                {files[i].name.substr(0, n), offsets[i], static_cast<std::uint32_t>(files[i].data.size())});
    }
    return out;
}

void WritePff(const std::string& path, const std::vector<PffFile>& files, const PffLayout& layout,
              std::vector<PffWrittenEntry>* written)
{
    const auto bytes = BuildPff(files, layout, written);
    WriteWholeFile(path, bytes.data(), bytes.size());
}

} // namespace orvik::gamedata
