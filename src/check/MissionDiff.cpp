#include "check/MissionDiff.h"

#include "check/MissionEntries.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "mission/ItemRows.h"

#include <unordered_map>

namespace orvik {

namespace {

std::string JoinRow(const ItemRow& row)
{
    std::string text;
    for (std::size_t c = 0; c < row.size(); ++c)
        text += (c == 0 ? "" : ", ") + row[c];
    return text;
}

// Reads a mission as far as its data allows; what went wrong goes to problems.
void LoadMission(File& archive, const std::string& label, const MissionEntry& entry, CMissionModel& model,
                 std::vector<std::string>& problems)
{
    if (!entry.inside) {
        problems.push_back(label + ": the mission's data lies outside the archive; it was compared as empty.");
        return;
    }
    try {
        if (!model.ReadItems(archive, static_cast<std::uint32_t>(entry.offset), entry.size))
            problems.push_back(label + ": the item records run to the end of the mission without an end mark; " +
                               std::to_string(model.items.size()) + " whole items were compared.");
    } catch (const FileError& e) {
        problems.push_back(label + ": the mission could not be read whole (" + e.Message() + ").");
    }
}

struct OpenSide {
    File file;
    MissionEntries entries;
};

void OpenArchive(const DiffSide& side, OpenSide& open, std::vector<std::string>& problems)
{
    open.file.Open(side.path, File::Mode::Read);
    open.entries = ReadMissionEntries(open.file);
    if (!open.entries.damage.empty())
        problems.push_back(side.path + ": the entry table cannot be read to its end: " + open.entries.damage);
}

const MissionEntry* FindNamed(const MissionEntries& entries, const std::string& wanted)
{
    for (const MissionEntry& entry : entries.missions)
        if (MissionMatches(entry, wanted))
            return &entry;
    return nullptr;
}

} // namespace

const char* DiffKindName(DiffKind kind)
{
    switch (kind) {
    case DiffKind::Cell: return "cell";
    case DiffKind::RowOnlyInA: return "row only in A";
    case DiffKind::RowOnlyInB: return "row only in B";
    case DiffKind::MissionOnlyInA: return "mission only in A";
    case DiffKind::MissionOnlyInB: return "mission only in B";
    }
    return "";
}

namespace {

// Cell texts may hold tabs or line ends typed by hand; they must not break the lines.
std::string TsvField(const std::string& text)
{
    std::string out;
    for (const char c : Cp1252ToUtf8(text))
        out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
    return out;
}

} // namespace

std::string DifferencesTsv(const std::vector<Difference>& differences)
{
    std::string text = "change\tmission\trow\tcolumn\told\tnew\n";
    for (const Difference& d : differences) {
        const bool hasRow = d.kind != DiffKind::MissionOnlyInA && d.kind != DiffKind::MissionOnlyInB;
        const char* column =
            d.column >= 0 && d.column < kColumnCount ? ItemColumnTitles()[static_cast<std::size_t>(d.column)] : "";
        text += std::string(DiffKindName(d.kind)) + '\t' + TsvField(d.mission) + '\t' +
                (hasRow ? std::to_string(d.row + 1) : std::string()) + '\t' + column + '\t' +
                TsvField(d.oldText) + '\t' + TsvField(d.newText) + '\n';
    }
    return text;
}

void DiffMissions(const std::string& mission, const CMissionModel& a, const CItemDefList& catalogueA,
                  const CMissionModel& b, const CItemDefList& catalogueB, std::vector<Difference>& out)
{
    const std::size_t common = std::min(a.items.size(), b.items.size());
    for (std::size_t i = 0; i < common; ++i) {
        const CMissionItem& itemA = *a.items[i];
        const CMissionItem& itemB = *b.items[i];
        ItemRow rowA = ItemToRow(itemA, catalogueA);
        ItemRow rowB = ItemToRow(itemB, catalogueB);
        // Same name, other kind: the name alone would hide the change.
        if (rowA[kColItem] == rowB[kColItem] && itemA.m_nId != itemB.m_nId) {
            rowA[kColItem] += " (kind id " + FormatLong(itemA.m_nId) + ")";
            rowB[kColItem] += " (kind id " + FormatLong(itemB.m_nId) + ")";
        }
        for (int c = 0; c < kColumnCount; ++c)
            if (rowA[static_cast<std::size_t>(c)] != rowB[static_cast<std::size_t>(c)])
                out.push_back({DiffKind::Cell, mission, i, c, rowA[static_cast<std::size_t>(c)],
                               rowB[static_cast<std::size_t>(c)]});
    }
    for (std::size_t i = common; i < a.items.size(); ++i)
        out.push_back({DiffKind::RowOnlyInA, mission, i, -1, JoinRow(ItemToRow(*a.items[i], catalogueA)), {}});
    for (std::size_t i = common; i < b.items.size(); ++i)
        out.push_back({DiffKind::RowOnlyInB, mission, i, -1, {}, JoinRow(ItemToRow(*b.items[i], catalogueB))});
}

DiffReport DiffArchives(const DiffSide& a, const DiffSide& b, const std::vector<std::string>& wanted)
{
    static const CItemDefList kNoCatalogue;
    const CItemDefList& catA = a.catalogue ? *a.catalogue : kNoCatalogue;
    const CItemDefList& catB = b.catalogue ? *b.catalogue : kNoCatalogue;
    DiffReport report;
    OpenSide sideA, sideB;
    OpenArchive(a, sideA, report.problems);
    OpenArchive(b, sideB, report.problems);

    auto compare = [&](const std::string& label, const MissionEntry& ea, const MissionEntry& eb) {
        CMissionModel ma, mb;
        LoadMission(sideA.file, a.path + "::" + ea.name, ea, ma, report.problems);
        LoadMission(sideB.file, b.path + "::" + eb.name, eb, mb, report.problems);
        DiffMissions(label, ma, catA, mb, catB, report.differences);
    };

    if (!a.mission.empty() || !b.mission.empty()) {
        const MissionEntry* ea = a.mission.empty() ? nullptr : FindNamed(sideA.entries, a.mission);
        const MissionEntry* eb = b.mission.empty() ? nullptr : FindNamed(sideB.entries, b.mission);
        // One side named: the other side's mission of the same name.
        if (a.mission.empty() && eb)
            ea = FindNamed(sideA.entries, eb->name);
        if (b.mission.empty() && ea)
            eb = FindNamed(sideB.entries, ea->name);
        if (!a.mission.empty() && !ea)
            throw UserError("There is no mission \"" + a.mission + "\" in " + a.path + ".");
        if (!b.mission.empty() && !eb)
            throw UserError("There is no mission \"" + b.mission + "\" in " + b.path + ".");
        if (ea && eb)
            compare(ea->name == eb->name ? ea->name : ea->name + ":" + eb->name, *ea, *eb);
        else if (ea)
            report.differences.push_back({DiffKind::MissionOnlyInA, ea->name, 0, -1, {}, {}});
        else if (eb)
            report.differences.push_back({DiffKind::MissionOnlyInB, eb->name, 0, -1, {}, {}});
        return report;
    }

    auto isWanted = [&](const MissionEntry& entry) {
        if (wanted.empty())
            return true;
        for (const std::string& w : wanted)
            if (MissionMatches(entry, w))
                return true;
        return false;
    };
    // The first mission of a name on each side, as the command line finds them.
    std::unordered_map<std::string, const MissionEntry*> inB;
    for (const MissionEntry& entry : sideB.entries.missions)
        inB.emplace(entry.name, &entry);
    std::unordered_map<std::string, bool> seenA;
    for (const MissionEntry& ea : sideA.entries.missions) {
        if (!seenA.emplace(ea.name, true).second)
            continue;
        const auto match = inB.find(ea.name);
        const MissionEntry* eb = match == inB.end() ? nullptr : match->second;
        if (!isWanted(ea) && !(eb && isWanted(*eb)))
            continue;
        if (eb)
            compare(ea.name, ea, *eb);
        else
            report.differences.push_back({DiffKind::MissionOnlyInA, ea.name, 0, -1, {}, {}});
    }
    for (const MissionEntry& eb : sideB.entries.missions) {
        if (seenA.count(eb.name) == 0 && isWanted(eb)) {
            seenA.emplace(eb.name, true);
            report.differences.push_back({DiffKind::MissionOnlyInB, eb.name, 0, -1, {}, {}});
        }
    }
    // A misspelt name would otherwise pass for "no differences".
    for (const std::string& w : wanted)
        if (!FindNamed(sideA.entries, w) && !FindNamed(sideB.entries, w))
            report.problems.push_back("There is no mission \"" + Utf8ToCp1252(w) + "\" in " + a.path + " or " + b.path +
                                      ".");
    return report;
}

} // namespace orvik
