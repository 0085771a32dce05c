#include "check/ArchiveCheck.h"

#include "check/ItemChecks.h"
#include "check/MissionEntries.h"
#include "common/FileError.h"
#include "mission/MissionModel.h"

#include <algorithm>

namespace orvik {

CheckReport CheckArchive(const std::string& basePath, const CItemDefList& catalogue,
                         const std::vector<std::string>& wanted)
{
    CheckReport report;
    File archive(basePath, File::Mode::Read);
    const MissionEntries entries = ReadMissionEntries(archive);
    std::vector<bool> matched(wanted.size(), false);
    for (const MissionEntry& entry : entries.missions) {
        if (!wanted.empty()) {
            bool asked = false;
            for (std::size_t w = 0; w < wanted.size(); ++w)
                if (MissionMatches(entry, wanted[w]))
                    asked = matched[w] = true;
            if (!asked)
                continue;
        }
        ++report.missionsChecked;
        if (!entry.inside) {
            report.findings.push_back({Severity::Error, FindingKind::DamagedEntry, entry.name, std::nullopt, -1,
                                       "The mission's data (offset " + std::to_string(entry.offset) + ", " +
                                           std::to_string(entry.size) + " bytes) lies outside the archive."});
            continue;
        }
        CMissionModel model;
        bool whole = false;
        try {
            whole = model.ReadItems(archive, static_cast<std::uint32_t>(entry.offset), entry.size);
        } catch (const FileError& e) {
            report.findings.push_back({Severity::Error, FindingKind::DamagedEntry, entry.name, std::nullopt, -1,
                                       "The mission could not be read: " + e.Message()});
            continue;
        }
        if (!whole)
            report.findings.push_back({Severity::Error, FindingKind::NoEndMark, entry.name, std::nullopt, -1,
                                       "The item records run to the end of the mission without an end mark: "
                                       "the mission is damaged (" +
                                           std::to_string(model.items.size()) + " whole items read)."});
        CheckItems(CheckedItemsOfModel(model, catalogue), catalogue, entry.name, report.findings);
    }
    if (!entries.damage.empty())
        report.findings.push_back(
            {Severity::Error,
             FindingKind::DamagedArchive,
             {},
             std::nullopt,
             -1,
             "The entry table cannot be read to its end, so missions may be missing: " + entries.damage});
    for (std::size_t w = 0; w < wanted.size(); ++w)
        if (!matched[w])
            report.notFound.push_back(wanted[w]);
    return report;
}

std::size_t CountFindings(const std::vector<Finding>& findings, Severity severity)
{
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(), [&](const Finding& f) { return f.severity == severity; }));
}

} // namespace orvik
