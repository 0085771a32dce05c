#include "Commands.h"

#include "archive/MissionExport.h"
#include "archive/MissionQuery.h"
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "edit/DocumentRows.h"
#include "gamedata/DemoGame.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"
#include "mission/MissionSave.h"
#include "tables/TableReader.h"
#include "tables/Tables.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

namespace orvik::cli {

namespace {

std::string Out(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }
// Messages may hold paths, which came in as UTF-8 and are not converted again.
std::string Msg(const std::string& message) { return MessageToUtf8(message); }

} // namespace

MissionInfo FindMission(const std::string& base, const std::string& wanted)
{
    const MissionQuery query(wanted);
    if (!query.IsValid())
        throw UserError("\"" + wanted + "\" is not a mission offset: write @ and a decimal number.");
    CPffArchive archive;
    std::optional<MissionInfo> found;
    try {
        archive.WalkMissions(base, [&](const MissionInfo& m) {
            if (!found && query.Matches(m.offset, m.name, FoldLower(m.Text())))
                found = m;
        });
    } catch (const FileError&) {
        // A damaged entry after the wanted mission does not hide it.
        if (!found)
            throw;
    }
    if (!found)
        throw UserError("There is no mission \"" + wanted + "\" in " + base + ".");
    return *found;
}

CItemDefList LoadCatalogue(const std::string& base, const std::string& explicitPath)
{
    CItemDefList catalogue;
    const std::string path = explicitPath.empty() ? FindInFolder(GameDirectory(base), "items.def") : explicitPath;
    if (!catalogue.Load(path)) {
        const std::string folder =
            GameDirectory(base).empty() ? std::string("the current folder") : GameDirectory(base);
        if (explicitPath.empty())
            std::cerr << "items.def was not found in " << Msg(folder) << ".\n";
        else
            std::cerr << Msg(explicitPath) << " could not be read; item names are left empty.\n";
    }
    return catalogue;
}

namespace {

// Reads the items only: the table and the save need no terrain.
bool ReadMissionItems(const std::string& base, const MissionInfo& mission, CMissionModel& model)
{
    File file(base, File::Mode::Read);
    return model.ReadItems(file, mission.offset, mission.size);
}

} // namespace

std::pair<std::int32_t, std::int32_t> ParsePair(const std::string& text, char sep, const char* what)
{
    const auto at = text.find(sep);
    auto number = [&](const std::string& s) {
        std::int32_t v = 0;
        const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (s.empty() || ec != std::errc() || ptr != s.data() + s.size())
            throw UserError(std::string("\"") + text + "\" is not a valid " + what + ".");
        return v;
    };
    if (at == std::string::npos)
        throw UserError(std::string("\"") + text + "\" is not a valid " + what + ".");
    return {number(text.substr(0, at)), number(text.substr(at + 1))};
}

int Missions(const std::string& base, bool json)
{
    CPffArchive archive;
    std::vector<MissionInfo> infos;
    // A damaged archive still shows the missions before the damage, then fails.
    std::optional<FileError> damage;
    try {
        archive.WalkMissions(base, [&](const MissionInfo& m) { infos.push_back(m); });
    } catch (const FileError& e) {
        damage = e;
    }
    if (damage && infos.empty())
        throw *damage; // nothing was read: no list, not even an empty one
    // The editor's list order, with each line's own mission at hand for the json parts.
    std::vector<std::string> texts;
    texts.reserve(infos.size());
    for (const auto& m : infos)
        texts.push_back(m.Text());
    const std::vector<std::size_t> order = SortedOrder(texts);
    if (!json) {
        std::string out;
        for (const std::size_t k : order)
            out += std::to_string(infos[k].offset) + '\t' + Out(texts[k]) + '\n';
        std::cout << out;
        if (damage)
            throw *damage;
        return 0;
    }
    // Written as it goes, in the layout of dump(2) (keys in name order): a document of 100,000
    // objects built first costs more than the rest of the command.
    auto quoted = [](const std::string& cp1252) { return nlohmann::json(Out(cp1252)).dump(); };
    std::string out = order.empty() ? "[]" : "[";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const MissionInfo& m = infos[order[i]];
        out += i == 0 ? "\n  {\n" : ",\n  {\n";
        out += "    \"name\": " + quoted(m.name) + ",\n";
        out += "    \"offset\": " + std::to_string(m.offset) + ",\n";
        out += "    \"text\": " + quoted(texts[order[i]]) + ",\n";
        out += "    \"title\": " + quoted(m.title) + "\n  }";
    }
    if (!order.empty())
        out += "\n]";
    std::cout << out << '\n';
    if (damage)
        throw *damage;
    return 0;
}

int Items(const std::string& base, const std::string& mission, const std::string& format, const std::string& catalogue,
          const DelimitedStyle& style)
{
    const TableFormat fmt = ParseFormat(format);
    const MissionInfo info = FindMission(base, mission);
    const CItemDefList defs = LoadCatalogue(base, catalogue);
    CMissionModel model;
    const bool whole = ReadMissionItems(base, info, model);
    WriteTable(std::cout, model, defs, fmt, style);
    if (!whole) {
        LoadReport report;
        report.itemsDamaged = true;
        report.itemCount = model.items.size();
        std::cerr << Msg(LoadReportMessage(report, info.name)) << '\n';
        return 1;
    }
    return 0;
}

int Save(const std::string& base, const std::string& mission, const std::string& table, const std::string& catalogue,
         bool force, bool backup)
{
    const TableFormat fmt = FormatFromPath(table);
    const MissionInfo info = FindMission(base, mission);
    const CItemDefList defs = LoadCatalogue(base, catalogue);
    CMissionModel model;
    if (!ReadMissionItems(base, info, model)) {
        LoadReport report;
        report.itemsDamaged = true;
        report.itemCount = model.items.size();
        throw UserError(LoadReportMessage(report, info.name) + " Nothing was saved.");
    }
    // The mission's item count bounds the reading: a longer table is refused without being read whole.
    TableRows read;
    try {
        read = ReadTableFile(table, fmt, model.items.size());
    } catch (const UserError& e) {
        throw UserError(std::string(e.what()) + " Nothing was saved.");
    }
    // Said even when the save fails later: it explains what the table's names were read as.
    if (read.encoding == TextEncoding::Windows1252)
        std::cerr << "The table " << (table == "-" ? std::string("on standard input") : Msg(table))
                  << " was read as Windows-1252, as it is not UTF-8.\n";
    if (read.moreRows)
        throw UserError("The table has more rows than the mission " + info.name + " has items (" +
                        std::to_string(model.items.size()) + "); nothing was saved.");
    const std::vector<ItemRow>& rows = read.rows;
    if (rows.size() != model.items.size())
        throw UserError("The table has " + std::to_string(rows.size()) + " rows but the mission " + info.name +
                        " has " + std::to_string(model.items.size()) + " items; nothing was saved.");
    // The table goes through the edit document as the editor's edits do: shown-only columns stay.
    EditDocument document;
    document.Load(RowsOfModel(model, defs));
    ApplyTableRows(document, rows, "Table");
    SaveOptions options;
    options.overwriteChanges = force;
    options.backup = backup;
    const SaveOutcome outcome = SaveMission(base, info, model, document.Rows(), defs, options);
    if (!outcome.notice.empty())
        std::cerr << Msg(outcome.notice) << '\n';
    if (outcome.status == SaveStatus::ChangedOnDisk) {
        std::cerr << Out(info.name) << " changed on disk since it was read; nothing was saved. "
                  << "Give --force to overwrite those changes.\n";
        return 1;
    }
    if (!outcome.saved) {
        std::cerr << Msg(outcome.message) << '\n';
        return 1;
    }
    std::cout << outcome.message << '\n';
    return 0;
}

int Export(const std::string& base, const std::string& mission)
{
    const MissionInfo info = FindMission(base, mission);
    CMissionModel model;
    File file(base, File::Mode::Read);
    const bool found = model.ReadTerrainInfo(file, info.offset, base);
    file.Close();
    // The mission is unpacked even without its terrain, but the export then did not do all it should.
    const ExportResult result = ExportMissionFiles(base, info.name, model.terrain);
    if (found && result.complete) {
        std::cout << Msg(result.message) << '\n';
        return 0;
    }
    if (model.terrain.terrainFile.empty())
        std::cerr << Msg("The mission " + info.name + " names no terrain description; no terrain files were unpacked.")
                  << '\n';
    std::cerr << Msg(result.message) << '\n';
    return 1;
}

int Extract(const std::string& archivePath, const std::string& entry, const std::string& destDir)
{
    const std::string name = Utf8ToCp1252(entry);
    CPffArchive archive;
    {
        File file(archivePath, File::Mode::Read);
        if (!archive.FindEntry(file, name))
            throw UserError(entry + " was not found in " + archivePath + ".");
    }
    std::string dir = destDir.empty() ? std::string() : destDir;
    if (!dir.empty() && dir.back() != '/' &&
        dir.back() != static_cast<char>(std::filesystem::path::preferred_separator))
        dir += static_cast<char>(std::filesystem::path::preferred_separator);
    std::error_code ec;
    if (!dir.empty() && !std::filesystem::is_directory(PathFromUtf8(dir), ec))
        throw UserError("The folder " + destDir + " does not exist.");
    if (!archive.ExtractFile(archivePath, name, dir))
        throw UserError(entry + " was not found in " + archivePath + ".");
    std::cout << dir << Out(FoldLower(name)) << '\n';
    return 0;
}

int Demo(const std::string& dir, std::uint32_t seed)
{
    gamedata::DemoOptions options;
    options.seed = seed;
    gamedata::WriteDemoGame(dir, options);
    std::string folder = dir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    std::cout << folder << "kqbase.pff\n" << folder << "kq.pff\n" << folder << "items.def\n";
    return 0;
}

} // namespace orvik::cli
