#include "mission/MissionModel.h"

#include "archive/PffArchive.h"
#include "common/NativePath.h"
#include "common/Paths.h"
#include "common/Text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace orvik {

namespace {

constexpr std::size_t kRecordSize = CMissionItem::kRecordSize;
constexpr std::size_t kEndMarkSize = 8;
// Records read or written per file call: a large mission loads in a handful of reads.
constexpr std::size_t kBlockRecords = 512;

std::string TerrainArchivePath(const std::string& archivePath)
{
    return FindInFolder(GameDirectory(archivePath), "kq.pff");
}

// Takes the terrain description one line at a time (line ends already removed) and keeps the
// three map names. The keys are found anywhere in the folded line, but the value is the line less
// the key's length from its start, as the game's own tools write "key value" at the line start.
class DescriptionParser {
public:
    // Returns true once all three keys have been seen: nothing after that line counts.
    bool Feed(std::string_view rawLine)
    {
        static constexpr std::array<std::string_view, 3> kKeys = {"color_map", "elev_map", "detail_map"};
        const std::string line = FoldLower(rawLine);
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            if (!Contains(line, kKeys[k]))
                continue;
            const std::string_view rest =
                line.size() > kKeys[k].size() ? std::string_view(line).substr(kKeys[k].size()) : std::string_view();
            Field(k) = Trim(rest) + ".pcx";
            m_seen[k] = true;
            break;
        }
        return Done();
    }

    bool Done() const { return m_seen[0] && m_seen[1] && m_seen[2]; }
    const TerrainNames& Names() const { return m_names; }

private:
    std::string& Field(std::size_t key)
    {
        return key == 0 ? m_names.colorMapFile : key == 1 ? m_names.elevMapFile : m_names.detailMapFile;
    }

    TerrainNames m_names;
    std::array<bool, 3> m_seen{};
};

// Splits text that arrives in pieces into lines at LF; a CR right before the LF is not part of the
// line. The last line needs no LF.
class LineSplitter {
public:
    explicit LineSplitter(DescriptionParser& parser) : m_parser(parser) {}

    // Returns true once the parser wants no more.
    bool Add(std::string_view piece)
    {
        while (!piece.empty()) {
            const std::size_t lf = piece.find('\n');
            if (lf == std::string_view::npos) {
                m_pending.append(piece);
                return false;
            }
            m_pending.append(piece.substr(0, lf));
            piece.remove_prefix(lf + 1);
            if (!m_pending.empty() && m_pending.back() == '\r')
                m_pending.pop_back();
            const bool done = m_parser.Feed(m_pending);
            m_pending.clear();
            if (done)
                return true;
        }
        return false;
    }

    void Finish()
    {
        if (!m_pending.empty())
            m_parser.Feed(m_pending);
        m_pending.clear();
    }

private:
    DescriptionParser& m_parser;
    std::string m_pending;
};

// Reads the description's text from kq.pff, never past its entry's data nor past the file's end,
// and stops as soon as all three names are known.
TerrainNames ReadDescription(File& terrainArchive, const PffEntry& entry)
{
    DescriptionParser parser;
    LineSplitter lines(parser);
    const std::int64_t length = terrainArchive.Length();
    if (entry.dataOffset >= 0 && entry.dataOffset < length) {
        std::uint64_t left =
            std::min<std::uint64_t>(entry.dataSize, static_cast<std::uint64_t>(length - entry.dataOffset));
        terrainArchive.Seek(entry.dataOffset);
        std::array<char, 4096> buffer{};
        while (left > 0) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            const std::size_t got = terrainArchive.Read(buffer.data(), want);
            if (got == 0)
                break;
            left -= got;
            if (lines.Add(std::string_view(buffer.data(), got)))
                return parser.Names();
        }
    }
    lines.Finish();
    return parser.Names();
}

// The colour map's entry in the terrain archive, when both are there.
std::optional<MapSource> ColorMapSource(const std::string& terrainArchive, const std::string& colorMapFile)
{
    if (colorMapFile.empty())
        return std::nullopt;
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(PathFromUtf8(terrainArchive), error);
    if (error)
        return std::nullopt;
    File archive(terrainArchive, File::Mode::Read);
    if (!archive.IsOpen())
        return std::nullopt;
    CPffArchive reader;
    const std::optional<PffEntry> entry = reader.FindEntry(archive, colorMapFile);
    if (!entry)
        return std::nullopt;
    return MapSource{terrainArchive, static_cast<std::int64_t>(modified.time_since_epoch().count()), entry->dataOffset,
                     entry->dataSize};
}

std::string ItemsPhrase(std::size_t count)
{
    if (count == 0)
        return "No whole item lies before the end of the file, so no item was loaded.";
    if (count == 1)
        return "The 1 whole item before the end of the file was loaded.";
    return "The " + std::to_string(count) + " whole items before the end of the file were loaded.";
}

} // namespace

CMissionModel::~CMissionModel() { Clear(); }

void CMissionModel::Clear()
{
    items.clear();
    loadedRecords.clear();
}

bool CMissionModel::ReadItems(File& archive, std::uint32_t missionOffset, std::uint64_t entrySize)
{
    const std::int64_t start = static_cast<std::int64_t>(missionOffset) + kItemsOffset;
    archive.Seek(start);
    // The records belong to the mission's entry: the bytes after it are another file's.
    std::uint64_t left = entrySize == kToEndOfFile                              ? entrySize
                         : entrySize > static_cast<std::uint64_t>(kItemsOffset) ? entrySize - kItemsOffset
                                                                                : 0;

    std::vector<std::uint8_t> block(kBlockRecords * kRecordSize);
    std::size_t have = 0; // bytes in block
    std::size_t pos = 0;  // next unconsumed byte in block
    bool atEnd = false;
    // Makes n bytes available at pos; false when the file or the entry ends first.
    auto fill = [&](std::size_t n) {
        if (have - pos >= n)
            return true;
        std::memmove(block.data(), block.data() + pos, have - pos);
        have -= pos;
        pos = 0;
        while (have < n && !atEnd) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size() - have, left));
            const std::size_t got = want ? archive.Read(block.data() + have, want) : 0;
            have += got;
            left -= got;
            atEnd = got < want || left == 0;
        }
        return have >= n;
    };

    std::int64_t consumed = 0;
    for (;;) {
        // A mission that ends inside the end mark or inside a record has lost its end mark: the
        // records read whole are kept and the caller tells the user.
        if (!fill(kEndMarkSize))
            return false;
        const std::int32_t id = GetInt32(block.data() + pos + 4);
        if (id == 0) {
            consumed += static_cast<std::int64_t>(kEndMarkSize);
            break;
        }
        if (!fill(kRecordSize))
            return false;
        std::array<std::int32_t, CMissionItem::kWords> words{};
        for (std::size_t w = 1; w < words.size(); ++w)
            words[w] = GetInt32(block.data() + pos + 4 * w);
        words[0] = 0; // not kept
        auto item = std::make_unique<CMissionItem>();
        item->FromWords(words);
        items.push_back(std::move(item));
        loadedRecords.insert(loadedRecords.end(), block.data() + pos, block.data() + pos + kRecordSize);
        pos += kRecordSize;
        consumed += static_cast<std::int64_t>(kRecordSize);
    }
    // Leave the file where a record-by-record reader would: just after the end mark.
    archive.Seek(start + consumed);
    return true;
}

void CMissionModel::WriteItems(File& archive, std::uint32_t missionOffset) const
{
    archive.Seek(static_cast<std::int64_t>(missionOffset) + kItemsOffset);
    std::vector<std::uint8_t> block;
    block.reserve(std::min(items.size(), kBlockRecords) * kRecordSize);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto words = items[i]->ToWords();
        words[0] = 0; // word 0 is never kept
        const std::size_t at = block.size();
        block.resize(at + kRecordSize);
        for (std::size_t w = 0; w < words.size(); ++w)
            PutInt32(block.data() + at + 4 * w, words[w]);
        if (block.size() == kBlockRecords * kRecordSize || i + 1 == items.size()) {
            archive.Write(block.data(), block.size());
            block.clear();
        }
    }
}

bool CMissionModel::ReadTerrainInfo(File& archiveFile, std::uint32_t missionOffset, std::string archivePath)
{
    archiveFile.Seek(static_cast<std::int64_t>(missionOffset) + kTerrainNameOffset);
    std::array<char, 16> raw{};
    archiveFile.ReadExact(raw.data(), raw.size());
    const std::size_t len = static_cast<std::size_t>(std::find(raw.begin(), raw.end(), '\0') - raw.begin());
    // Names of another mission's terrain must never survive into this one.
    terrain = TerrainNames{};
    terrain.terrainFile = FoldLower(std::string_view(raw.data(), len));
    if (terrain.terrainFile.empty())
        return false;

    File terrainArchive(TerrainArchivePath(archivePath), File::Mode::Read);
    CPffArchive reader;
    const auto entry = reader.FindEntry(terrainArchive, terrain.terrainFile);
    if (!entry)
        return false;
    const TerrainNames names = ReadDescription(terrainArchive, *entry);
    terrain.colorMapFile = names.colorMapFile;
    terrain.elevMapFile = names.elevMapFile;
    terrain.detailMapFile = names.detailMapFile;
    return true;
}

LoadReport CMissionModel::Load(File& archiveFile, std::uint32_t missionOffset, std::string archivePath,
                               TerrainView& mapView, std::uint64_t entrySize)
{
    LoadReport report;
    Clear();
    report.itemsDamaged = !ReadItems(archiveFile, missionOffset, entrySize);
    report.itemCount = items.size();
    report.terrainMissing = !ReadTerrainInfo(archiveFile, missionOffset, archivePath);
    report.terrainFile = terrain.terrainFile;
    report.colorMapFile = terrain.colorMapFile;

    const std::optional<MapSource> source = ColorMapSource(TerrainArchivePath(archivePath), terrain.colorMapFile);
    // Missions that share a terrain share its decoded colour map.
    if (source && mapView.ShowKeptMap(*source)) {
        report.colorMapRefused = mapView.RefusedMap();
        return report;
    }
    // The colour map goes through a private scratch folder, so the game directory (and any
    // unpacked colour map or stale temp.pcx in it) is never touched.
    TempDir scratch;
    const std::string mapPath = scratch.Path() + "temp.pcx";
    bool extracted = false;
    if (source) {
        CPffArchive reader;
        extracted = reader.ExtractTo(TerrainArchivePath(archivePath), terrain.colorMapFile, mapPath);
    }
    report.colorMapMissing = !extracted;
    // Called in every case: without a file the view shows black terrain instead of the last one.
    if (extracted)
        mapView.LoadMap(mapPath, *source);
    else
        mapView.LoadMap(mapPath);
    if (extracted)
        report.colorMapRefused = mapView.RefusedMap();
    return report;
}

std::string LoadReportMessage(const LoadReport& report, const std::string& missionName)
{
    std::string message;
    auto add = [&](const std::string& sentence) {
        if (!message.empty())
            message += "\n";
        message += sentence;
    };
    if (report.itemsDamaged)
        add("The mission " + missionName + " is damaged: its item list has no end mark. " +
            ItemsPhrase(report.itemCount));
    if (report.terrainMissing) {
        if (report.terrainFile.empty())
            add("The mission " + missionName + " names no terrain description; the map shows no terrain.");
        else
            add("The terrain description \"" + report.terrainFile +
                "\" was not found in kq.pff; the map shows no terrain.");
    } else if (report.colorMapMissing) {
        if (report.colorMapFile.empty())
            add("The terrain description \"" + report.terrainFile +
                "\" names no colour map; the map shows no terrain.");
        else
            add("The colour map \"" + report.colorMapFile + "\" was not found in kq.pff; the map shows no terrain.");
    } else if (report.colorMapRefused && report.colorMapRefused->reason == PcxError::TooLarge) {
        const MapSize& size = report.colorMapRefused->size;
        add("The colour map \"" + report.colorMapFile + "\" is " + std::to_string(size.width) + " x " +
            std::to_string(size.height) +
            " pixels, too large to show (decoding it would take more than 256 MiB); the map shows no terrain.");
    } else if (report.colorMapRefused) {
        add("The colour map \"" + report.colorMapFile +
            "\" could not be shown: " + PcxErrorText(report.colorMapRefused->reason) + "; the map shows no terrain.");
    }
    return message;
}

TerrainNames ParseTerrainDescription(const std::string& text)
{
    DescriptionParser parser;
    LineSplitter lines(parser);
    if (!lines.Add(text))
        lines.Finish();
    return parser.Names();
}

} // namespace orvik
