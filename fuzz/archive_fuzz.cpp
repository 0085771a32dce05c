// Any archive bytes must list, find and read missions or fail with a file error, nothing worse.
#include "archive/PffArchive.h"
#include "common/File.h"
#include "common/FileError.h"
#include "common/Paths.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static orvik::TempDir dir;
    const std::string path = dir.Path() + "kqbase.pff";
    orvik::WriteWholeFile(path, data, size);
    try {
        orvik::CPffArchive archive;
        orvik::SortedStringList list;
        archive.ListMissions(list, path);
        for (std::size_t i = 0; i < list.Size(); ++i) {
            orvik::File file(path, orvik::File::Mode::Read);
            orvik::CMissionModel model;
            model.ReadItems(file, list.ItemData(i));
        }
        archive.ExtractTo(path, "kq.pff", dir.Path() + "out.bin");
    } catch (const orvik::FileError&) {
    }
    return 0;
}
