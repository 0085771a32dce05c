// items.def and terrain descriptions of any content must parse without going out of bounds.
#include "catalogue/ItemDefList.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    orvik::CItemDefList catalogue;
    catalogue.LoadText(text);
    if (catalogue.Size() > 0)
        catalogue.GetIdByName(catalogue.GetNameById(catalogue.At(0).m_nId));
    orvik::ParseTerrainDescription(text);
    return 0;
}
