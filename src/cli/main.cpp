// orvik: the editor's operations from the command line.
#include "archive/SaveJournal.h"
#include "CheckCommands.h"
#include "Commands.h"
#include "RecoveryCommands.h"
#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/Text.h"

#include "OrvikVersion.h"
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

using namespace orvik;

int main(int argc, char** argv)
{
    CLI::App app{"orvik: lists, shows, edits, renders and unpacks Tarnhold missions."};
    app.set_version_flag("--version", std::string("orvik ") + ORVIK_VERSION);
    app.require_subcommand(1);

    std::string base, mission, table, format = "tsv", catalogue, archive, entry, destDir, input, output, shrink, dir;
    std::string center;
    std::vector<std::string> clicks;
    std::string hide;
    std::string select;
    int zoom = 1;
    bool json = false, ids = false, force = false, noBackup = false;
    std::uint32_t seed = 1;

    auto* missions = app.add_subcommand("missions", "List the missions of a base archive in the editor's order.");
    missions->add_option("BASE", base, "the base archive (kqbase.pff)")->required();
    missions->add_flag("--json", json, "print a JSON array");

    auto catalogueOption = [&](CLI::App* cmd) {
        cmd->add_option("--catalogue", catalogue, "items.def to use (default: items.def beside BASE)");
    };

    auto* items = app.add_subcommand("items", "Print a mission's item table as the editor shows it.");
    items->add_option("BASE", base, "the base archive")->required();
    items->add_option("MISSION", mission, "entry name (any case) or @OFFSET")->required();
    items->add_option("--format", format, "tsv (default), csv or json")->check(CLI::IsMember({"tsv", "csv", "json"}));
    std::string separator;
    bool spreadsheet = false;
    items->add_option("--separator", separator, "csv only: comma (default) or semicolon, as the spreadsheet's locale uses")
        ->check(CLI::IsMember({"comma", "semicolon"}));
    items->add_flag("--spreadsheet", spreadsheet,
                    "for spreadsheet programs: UTF-8 with a byte-order mark and CRLF line ends (tsv or csv)");
    catalogueOption(items);

    auto* save = app.add_subcommand("save", "Write an edited item table back into the mission, as Save does.");
    save->add_option("BASE", base, "the base archive")->required();
    save->add_option("MISSION", mission, "entry name (any case) or @OFFSET")->required();
    save->add_option("TABLE", table, "the table: .tsv, .csv or .json, or - for tsv on standard input")->required();
    save->add_flag("--force", force, "save even when the mission changed on disk since this command read it");
    save->add_flag("--no-backup", noBackup, "do not copy BASE to BASE.orig before the first save into it");
    catalogueOption(save);

    auto* exportCmd = app.add_subcommand("export", "Unpack a mission and its terrain files with repack scripts.");
    exportCmd->add_option("BASE", base, "the base archive")->required();
    exportCmd->add_option("MISSION", mission, "entry name (any case) or @OFFSET")->required();

    auto* render = app.add_subcommand("render", "Draw a mission's map as the editor shows it, as a PNG.");
    render->add_option("BASE", base, "the base archive")->required();
    render->add_option("MISSION", mission, "entry name (any case) or @OFFSET")->required();
    render->add_option("-o,--output", output, "the PNG to write")->required();
    render->add_option("--center", center, "centre on world point X,Y");
    render->add_option("--click", clicks, "a left click at frame pixel PX,PY (repeatable)");
    render->add_option("--hide", hide, "categories to hide: people,buildings,decorations,vehicles,markers,objects");
    render->add_flag("--ids", ids, "label items with their numbers");
    render->add_option("--zoom", zoom, "screen pixels per map pixel: 1, 2, 4 or 8")->check(CLI::IsMember({1, 2, 4, 8}));
    render->add_option("--select", select, "rows to ring as selected, counted from 1: ROW,ROW,...");
    catalogueOption(render);

    auto* extract = app.add_subcommand("extract", "Copy one entry out of an archive.");
    extract->add_option("ARCHIVE", archive, "the archive")->required();
    extract->add_option("ENTRY", entry, "the entry name (any case)")->required();
    extract->add_option("DESTDIR", destDir, "the folder to write into (default: the current folder)");

    auto* pcx = app.add_subcommand("pcx", "Decode a PCX image with the editor's decoder and write a PNG.");
    pcx->add_option("IN", input, "the PCX file")->required();
    pcx->add_option("OUT", output, "the PNG to write")->required();
    pcx->add_option("--shrink", shrink, "shrink to WxH by box averaging");

    std::vector<std::string> missionNames;
    bool strict = false;
    std::string archiveB;
    auto* check = app.add_subcommand("check", "Report what is wrong or doubtful in the missions; writes nothing.");
    check->add_option("BASE", base, "the base archive")->required();
    check->add_option("MISSION", missionNames, "missions to check (entry name or @OFFSET; default: all)");
    check->add_option("--format", format, "text (default) or json")->check(CLI::IsMember({"text", "json"}));
    check->add_flag("--strict", strict, "warnings count as errors for the exit status");
    catalogueOption(check);

    auto* diff = app.add_subcommand("diff", "Compare the item tables of two base archives; writes nothing.");
    diff->add_option("A", base, "the first base archive, or ARCHIVE::MISSION")->required();
    diff->add_option("B", archiveB, "the second base archive, or ARCHIVE::MISSION")->required();
    diff->add_option("MISSION", missionNames, "missions to compare (entry name or @OFFSET; default: all)");
    diff->add_option("--format", format, "tsv (default) or json")->check(CLI::IsMember({"tsv", "json"}));
    catalogueOption(diff);

    auto* demo = app.add_subcommand("demo", "Write a sample game directory.");
    demo->add_option("DIR", dir, "the folder to write into")->required();
    demo->add_option("--seed", seed, "the seed (the same seed gives the same game)");

    std::string folder, recoveryFile;
    auto* recovery = app.add_subcommand("recovery", "The unsaved edits the editor kept: list them, or print one's table.");
    recovery->require_subcommand(1);
    auto* recoveryList = recovery->add_subcommand("list", "List the recovery files: archive, mission, rows changed, time.");
    recoveryList->add_option("--folder", folder, "the recovery folder (default: the editor's)");
    auto* recoveryShow =
        recovery->add_subcommand("show", "Print the table a recovery file gives back, as `orvik items` prints it.");
    recoveryShow->add_option("FILE", recoveryFile, "the recovery file (as `orvik recovery list` names it)")->required();
    recoveryShow->add_option("--format", format, "tsv (default), csv or json")
        ->check(CLI::IsMember({"tsv", "csv", "json"}));
    catalogueOption(recoveryShow);

    try {
        UseUtf8StandardStreams();
        const std::vector<std::string> args = Utf8Arguments(argc, argv);
        std::vector<const char*> utf8;
        for (const std::string& a : args)
            utf8.push_back(a.c_str());
        app.parse(static_cast<int>(utf8.size()), utf8.data());
        if (*items && format == "json" && spreadsheet)
            throw CLI::ValidationError("--spreadsheet", "goes with --format tsv or csv");
        if (*items && format != "csv" && !separator.empty())
            throw CLI::ValidationError("--separator", "goes with --format csv");
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    try {
        // A save that a crash interrupted is finished (or forgotten) before anything reads the archive.
        const std::string& opened = *extract ? archive : base;
        // check and diff only read, so they leave an interrupted save for the next writer to settle.
        if (!opened.empty() && !*demo && !*pcx && !*check && !*diff) {
            const SettleResult settled = SettleJournal(opened);
            if (!settled.message.empty())
                std::cerr << MessageToUtf8(settled.message) << '\n';
        }
        if (*check || *diff) {
            // What they read may be half of an interrupted save: say so.
            for (const std::string& path : {base.substr(0, base.find("::")), archiveB.substr(0, archiveB.find("::"))})
                if (!path.empty() && std::filesystem::exists(PathFromUtf8(JournalPath(path))))
                    std::cerr << MessageToUtf8(path) << " has an unfinished save (" << MessageToUtf8(JournalPath(path))
                              << "); this command only reads, so the editor or another orvik command will finish it.\n";
        }
        if (*recoveryList)
            return cli::RecoveryList(folder.empty() ? cli::DefaultRecoveryFolder() : folder);
        if (*recoveryShow)
            return cli::RecoveryShow(recoveryFile, format, catalogue);
        if (*missions)
            return cli::Missions(base, json);
        if (*items)
            return cli::Items(base, mission, format, catalogue, {separator == "semicolon" ? ';' : '\0', spreadsheet});
        if (*save)
            return cli::Save(base, mission, table, catalogue, force, !noBackup);
        if (*exportCmd)
            return cli::Export(base, mission);
        if (*render) {
            cli::RenderOptions options;
            options.output = output;
            if (!center.empty())
                options.center = cli::ParsePair(center, ',', "world point (write X,Y)");
            for (const auto& c : clicks) {
                const auto p = cli::ParsePair(c, ',', "frame pixel (write PX,PY)");
                options.clicks.emplace_back(p.first, p.second);
            }
            std::string rest = hide;
            while (!rest.empty()) {
                const auto comma = rest.find(',');
                options.hide.push_back(rest.substr(0, comma));
                rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
            }
            options.ids = ids;
            options.zoom = zoom;
            for (std::string r = select; !r.empty();) {
                const auto comma = r.find(',');
                options.select.push_back(r.substr(0, comma));
                r = comma == std::string::npos ? std::string() : r.substr(comma + 1);
            }
            return cli::Render(base, mission, options, catalogue);
        }
        if (*extract)
            return cli::Extract(archive, entry, destDir);
        if (*pcx)
            return cli::Pcx(input, output, shrink);
        if (*demo)
            return cli::Demo(dir, seed);
        if (*check)
            return cli::Check(base, missionNames, format == "tsv" ? "text" : format, strict, catalogue);
        if (*diff)
            return cli::Diff(base, archiveB, missionNames, format, catalogue);
    } catch (const FileError& e) {
        std::cerr << MessageToUtf8(e.Message()) << '\n';
        return 1;
    } catch (const UserError& e) {
        std::cerr << MessageToUtf8(e.what()) << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "orvik: " << e.what() << '\n';
        return 1;
    }
    return 2;
}
