#include "archive/MissionExport.h"

#include "archive/PffArchive.h"
#include "common/File.h"
#include "common/FileError.h"
#include "common/Paths.h"

namespace orvik {

namespace {

void WriteScript(const std::string& path, const std::string& line)
{
    // One line, no line end: the repack tool gets exactly the names.
    File script(path, File::Mode::CreateWrite);
    script.Write(line.data(), line.size());
    script.Close();
}

} // namespace

std::string MissionNameFromLine(const std::string& line)
{
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? std::string() : line.substr(0, blank);
}

std::string ExportMissionFiles(const std::string& archivePath, const std::string& missionLine,
                               const TerrainNames& names)
{
    const std::string gameDir = GameDirectory(archivePath);
    const std::string terrainArchive = FindInFolder(gameDir, "kq.pff");
    const std::string mission = MissionNameFromLine(missionLine);
    const std::string* terrainFiles[] = {&names.colorMapFile, &names.elevMapFile, &names.detailMapFile,
                                         &names.terrainFile};

    // Every name is checked before the first file is written, so a refused export leaves the game
    // folder as it was. An empty name has nothing to extract and is left to the scripts as it is.
    auto check = [](const std::string& name) {
        if (!name.empty() && (!IsSafeFileName(name) || !IsSafeScriptName(name)))
            throw UserError("The file name \"" + name +
                            "\" cannot be used: it could leave the game folder or break the repack script.");
    };
    check(mission);
    for (const std::string* name : terrainFiles)
        check(*name);

    CPffArchive archive;
    for (const std::string* name : terrainFiles)
        if (!name->empty())
            archive.ExtractFile(terrainArchive, *name, gameDir);
    if (!mission.empty())
        archive.ExtractFile(archivePath, mission, gameDir);

    WriteScript(gameDir + "repackmission.bat", "pack.exe kqbase.pff " + mission);
    WriteScript(gameDir + "repackterrain.bat", "pack.exe kq.pff " + names.colorMapFile + " " + names.elevMapFile +
                                                   " " + names.detailMapFile + " " + names.terrainFile);

    return "Unpacked files: \n" + mission + " - Mission File\n" + names.colorMapFile + " - Color Map\n" +
           names.elevMapFile + " - Depth Map\n" + names.detailMapFile + " - Detail Map\n" + names.terrainFile +
           " - Terrain description\n\n" +
           "Also generated repackterrain.bat and repackmission.bat, which you can use to repack the files when "
           "you are done editing them with your favorite image editor.";
}

} // namespace orvik
