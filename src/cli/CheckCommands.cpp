#include "CheckCommands.h"

#include "check/ArchiveCheck.h"
#include "Commands.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "mission/ItemRows.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace orvik::cli {

namespace {

std::string Out(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

const char* ColumnTitle(int column)
{
    return column >= 0 && column < kColumnCount ? ItemColumnTitles()[static_cast<std::size_t>(column)] : "";
}

std::string Plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

// "kqbase.pff::m01.bms" names one mission of an archive.
DiffSide SplitSide(const std::string& arg)
{
    DiffSide side;
    const auto at = arg.find("::");
    side.path = arg.substr(0, at);
    if (at != std::string::npos) {
        side.mission = arg.substr(at + 2);
        if (side.mission.empty())
            throw UserError("\"" + arg + "\" names no mission after \"::\".");
    }
    return side;
}

} // namespace

void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, std::size_t missions)
{
    std::string text;
    for (const Finding& f : findings) {
        text += f.mission.empty() ? std::string("archive") : Out(f.mission);
        if (f.row)
            text += ", row " + std::to_string(*f.row + 1);
        if (f.column >= 0)
            text += std::string(", ") + ColumnTitle(f.column);
        text += std::string(": ") + SeverityName(f.severity) + ": " + Out(f.message) + '\n';
    }
    text += Plural(CountFindings(findings, Severity::Error), "error") + ", " +
            Plural(CountFindings(findings, Severity::Warning), "warning") + " in " + Plural(missions, "mission") +
            ".\n";
    out << text;
}

void WriteFindingsJson(std::ostream& out, const std::vector<Finding>& findings)
{
    nlohmann::json all = nlohmann::json::array();
    for (const Finding& f : findings) {
        nlohmann::json j;
        j["severity"] = SeverityName(f.severity);
        j["kind"] = FindingKindName(f.kind);
        j["mission"] = Out(f.mission);
        j["row"] = f.row ? nlohmann::json(*f.row + 1) : nlohmann::json(nullptr);
        j["column"] = f.column >= 0 ? nlohmann::json(ColumnTitle(f.column)) : nlohmann::json(nullptr);
        j["message"] = Out(f.message);
        all.push_back(std::move(j));
    }
    out << all.dump(2) << '\n';
}

void WriteDifferencesTsv(std::ostream& out, const std::vector<Difference>& differences)
{
    out << DifferencesTsv(differences);
}

void WriteDifferencesJson(std::ostream& out, const std::vector<Difference>& differences)
{
    nlohmann::json all = nlohmann::json::array();
    for (const Difference& d : differences) {
        const bool hasRow = d.kind != DiffKind::MissionOnlyInA && d.kind != DiffKind::MissionOnlyInB;
        nlohmann::json j;
        j["change"] = DiffKindName(d.kind);
        j["mission"] = Out(d.mission);
        j["row"] = hasRow ? nlohmann::json(d.row + 1) : nlohmann::json(nullptr);
        j["column"] = d.column >= 0 ? nlohmann::json(ColumnTitle(d.column)) : nlohmann::json(nullptr);
        j["old"] = Out(d.oldText);
        j["new"] = Out(d.newText);
        all.push_back(std::move(j));
    }
    out << all.dump(2) << '\n';
}

int Check(const std::string& base, const std::vector<std::string>& missions, const std::string& format, bool strict,
          const std::string& catalogue)
{
    const CItemDefList defs = LoadCatalogue(base, catalogue);
    const CheckReport report = CheckArchive(base, defs, missions);
    if (format == "json")
        WriteFindingsJson(std::cout, report.findings);
    else
        WriteFindingsText(std::cout, report.findings, report.missionsChecked);
    for (const std::string& name : report.notFound)
        std::cerr << "There is no mission \"" << name << "\" in " << base << ".\n";
    const bool failed = CountFindings(report.findings, Severity::Error) > 0 || !report.notFound.empty() ||
                        (strict && !report.findings.empty());
    return failed ? 1 : 0;
}

int Diff(const std::string& a, const std::string& b, const std::vector<std::string>& missions,
         const std::string& format, const std::string& catalogue)
{
    DiffSide sideA = SplitSide(a);
    DiffSide sideB = SplitSide(b);
    if ((!sideA.mission.empty() || !sideB.mission.empty()) && !missions.empty())
        throw UserError("Name the missions either as ARCHIVE::MISSION or after the archives, not both.");
    const CItemDefList defsA = LoadCatalogue(sideA.path, catalogue);
    const CItemDefList defsB = LoadCatalogue(sideB.path, catalogue);
    sideA.catalogue = &defsA;
    sideB.catalogue = &defsB;
    const DiffReport report = DiffArchives(sideA, sideB, missions);
    if (format == "json")
        WriteDifferencesJson(std::cout, report.differences);
    else
        WriteDifferencesTsv(std::cout, report.differences);
    for (const std::string& problem : report.problems)
        std::cerr << MessageToUtf8(problem) << '\n';
    return report.differences.empty() && report.problems.empty() ? 0 : 1;
}

} // namespace orvik::cli
