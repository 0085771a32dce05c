// Any bytes given to the PCX decoder must decode or be refused, never read or write out of bounds.
#include "image/Bitmap.h"
#include "image/Pcx.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t width = 0, height = 0;
    auto image = orvik::DecodePcx(data, size, width, height);
    if (image && image->width >= 2 && image->height >= 2)
        orvik::ShrinkImage(image->pixels.data(), image->width, image->height, image->width / 2, image->height / 2);
    return 0;
}
