#include "archive/MissionExport.h"

#include "archive/PffArchive.h"
#include "common/FileError.h"
#include "common/OutputFile.h"
#include "common/Paths.h"

#include <array>

namespace orvik {

namespace {

const char* const kClosing = "Also generated repackterrain.bat and repackmission.bat, which you can use to repack the "
                             "files when you are done editing them with your favorite image editor.";

// One unpacked file as the summary lists it.
struct Unpacked {
    std::string name;
    const char* label; // as the summary shows it
    const char* noun;  // as a sentence names it
    bool found = false;
};

std::string FileNameOf(const std::string& path)
{
    const std::string dir = GameDirectory(path);
    return path.substr(dir.size());
}

std::string Message(const std::array<Unpacked, 5>& files, const std::string& baseArchive,
                    const std::string& terrainArchive)
{
    bool complete = true;
    for (const Unpacked& f : files)
        complete = complete && (f.found || f.name.empty());
    std::string text;
    if (complete) {
        // Every name is listed, an empty one too: the scripts name them all the same way.
        text = "Unpacked files: \n";
        for (const Unpacked& f : files)
            text += f.name + " - " + f.label + "\n";
        return text + "\n" + kClosing;
    }
    // What is missing comes first, and only files really written are listed as unpacked.
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!files[i].found && !files[i].name.empty())
            text += std::string("The ") + files[i].noun + " \"" + files[i].name + "\" was not found in " +
                    (i == 0 ? baseArchive : terrainArchive) + "; it was not unpacked.\n";
    std::string listed;
    for (const Unpacked& f : files)
        if (f.found)
            listed += f.name + " - " + f.label + "\n";
    text += listed.empty() ? "\nNo files were unpacked.\n" : "\nUnpacked files: \n" + listed;
    return text + "\n" + kClosing;
}

} // namespace

ExportResult ExportMissionFiles(const std::string& archivePath, const std::string& missionName,
                                const TerrainNames& names)
{
    const std::string gameDir = GameDirectory(archivePath);
    const std::string terrainArchive = FindInFolder(gameDir, "kq.pff");
    // In the summary's order; the terrain files are unpacked first, the mission last.
    std::array<Unpacked, 5> files = {{
        {missionName, "Mission File", "mission file"},
        {names.colorMapFile, "Color Map", "color map"},
        {names.elevMapFile, "Depth Map", "depth map"},
        {names.detailMapFile, "Detail Map", "detail map"},
        {names.terrainFile, "Terrain description", "terrain description"},
    }};
    const std::string& mission = files[0].name;
    const std::string missionScript = gameDir + "repackmission.bat";
    const std::string terrainScript = gameDir + "repackterrain.bat";

    // Every name is checked before the first file is written, so a refused export leaves the game
    // folder as it was. An empty name has nothing to extract and is left to the scripts as it is.
    for (const Unpacked& f : files)
        if (!f.name.empty() && (!IsSafeFileName(f.name) || !IsSafeScriptName(f.name)))
            throw UserError("The file name \"" + f.name +
                            "\" cannot be used: it could leave the game folder or break the repack script.");
    // So is every target: a link planted at one of the names would redirect the write elsewhere.
    for (const Unpacked& f : files)
        if (!f.name.empty())
            CheckOutputTarget(gameDir + f.name);
    CheckOutputTarget(missionScript);
    CheckOutputTarget(terrainScript);

    CPffArchive archive;
    for (std::size_t i = 1; i < files.size(); ++i)
        if (!files[i].name.empty())
            files[i].found = archive.ExtractFile(terrainArchive, files[i].name, gameDir);
    if (!mission.empty())
        files[0].found = archive.ExtractFile(archivePath, mission, gameDir);

    // One line, no line end: the repack tool gets exactly the names.
    WriteOutputFile(missionScript, "pack.exe kqbase.pff " + mission);
    WriteOutputFile(terrainScript, "pack.exe kq.pff " + names.colorMapFile + " " + names.elevMapFile + " " +
                                       names.detailMapFile + " " + names.terrainFile);

    ExportResult result;
    result.message = Message(files, FileNameOf(archivePath), FileNameOf(terrainArchive));
    for (const Unpacked& f : files)
        result.complete = result.complete && (f.found || f.name.empty());
    return result;
}

} // namespace orvik
