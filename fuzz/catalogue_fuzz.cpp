// items.def of any content, read from a file, must give the same entries as its text.
#include "catalogue/ItemDefList.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    const std::string path = fuzz::ScratchFile("items.def", data, size);
    CItemDefList fromFile;
    fuzz::Require(fromFile.Load(path), "a readable items.def loads");
    CItemDefList fromText;
    fromText.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Require(fromFile.Size() == fromText.Size(), "file and text give as many entries");
    for (std::size_t i = 0; i < fromFile.Size(); ++i) {
        fuzz::Require(fromFile.At(i).m_nId == fromText.At(i).m_nId, "file and text give the same ids");
        fuzz::Require(fromFile.At(i).m_strName == fromText.At(i).m_strName, "file and text give the same names");
    }
    if (fromFile.Size() > 0) {
        const CItemDef& first = fromFile.At(0);
        fuzz::Require(fromFile.GetNameById(first.m_nId) == first.m_strName, "the first entry of an id names it");
        fuzz::Require(fromFile.GetIdByName(first.m_strName) == first.m_nId, "the first entry of a name gives its id");
    }
    return 0;
}
