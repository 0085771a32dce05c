// A PCX file of any content, loaded through the file mapping, must decode exactly as its bytes
// in memory do, or be refused the same way.
#include "FuzzCheck.h"
#include "image/Pcx.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    const std::string path = fuzz::ScratchFile("map.pcx", data, size);
    std::uint32_t fileWidth = 0, fileHeight = 0;
    const auto fromFile = LoadPcxImage(path, fileWidth, fileHeight);
    std::uint32_t width = 0, height = 0;
    const auto fromMemory = DecodePcx(data, size, width, height);
    fuzz::Require(fromFile.has_value() == fromMemory.has_value(), "file and memory are refused alike");
    fuzz::Require(fileWidth == width && fileHeight == height, "file and memory report the same size");
    if (fromFile) {
        fuzz::Require(fromFile->width == fromMemory->width && fromFile->height == fromMemory->height,
                      "file and memory decode to the same size");
        fuzz::Require(fromFile->pixels == fromMemory->pixels, "file and memory decode to the same pixels");
        fuzz::Require(fromFile->pixels.size() == std::size_t{fromFile->width} * fromFile->height * 3,
                      "an image holds three bytes a pixel");
    }
    return 0;
}
