#pragma once
// The PCX decoder: versions 0, 2, 3 and 5; 1, 4 (one or four planes), 8 and 24 bits a pixel.
#include "image/PackedImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvik {

struct PcxHeader {
    std::uint8_t manufacturer = 0;
    std::uint8_t version = 0;
    std::uint8_t encoding = 0;
    std::int8_t bitsPerPixel = 0;
    std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    std::uint16_t hres = 0, vres = 0;
    std::array<std::uint8_t, 48> palette{};
    std::uint8_t reserved = 0;
    std::int8_t planes = 0;
    std::int16_t bytesPerLine = 0;
    std::uint16_t paletteInfo = 0;

    std::uint32_t Width() const { return static_cast<std::uint16_t>(xmax - xmin + 1); }
    std::uint32_t Height() const { return static_cast<std::uint16_t>(ymax - ymin + 1); }
    int Depth() const { return bitsPerPixel * planes; }
};

// Why the decoder refused a file; PcxErrorText has the words for each.
enum class PcxError {
    None,           // decoded
    CannotOpen,     // the file could not be opened or mapped
    NotPcx,         // shorter than a header, or the first byte is not 10
    UnknownVersion, // a version other than 0, 2, 3 and 5
    UnknownLayout,  // bits per pixel and planes of a kind the decoder does not read
    NoPixels,       // the header's corners give a width or height of 0
    LineTooShort,   // fewer bytes per line than the width needs
    TooLarge,       // decoding would need more memory than allowed
    Truncated,      // the file ends before the last scan line is complete
    OutOfMemory,    // the memory ran out while decoding
};

// A clause naming the reason ("it is truncated ..."), to follow "could not be read: " and the like.
const char* PcxErrorText(PcxError error);

// Decodes the PCX file at path. width and height are written as soon as the header is accepted.
// Returns no image on any failure, and then sets *error (when given) to the reason; never throws.
std::optional<PackedImage> LoadPcxImage(const std::string& path, std::uint32_t& width, std::uint32_t& height,
                                        PcxError* error = nullptr);

// As LoadPcxImage, but an image whose decoding would need more than maxBytes of memory (its pixel
// block and scan-line buffers, see PcxDecodeBytes) is refused as TooLarge before anything is
// allocated; width and height then give its size.
std::optional<PackedImage> LoadPcxImageWithin(const std::string& path, std::uint64_t maxBytes, std::uint32_t& width,
                                              std::uint32_t& height, PcxError* error = nullptr);

// The most memory decoding an image of this header can need: the pixel block (width x height x 3)
// and the buffers of one scan line, for every layout.
std::uint64_t PcxDecodeBytes(const PcxHeader& header);

// Decodes a PCX file held in memory, as LoadPcxImage does.
std::optional<PackedImage> DecodePcx(const std::uint8_t* data, std::size_t size, std::uint32_t& width,
                                     std::uint32_t& height, PcxError* error = nullptr);
// The same within maxBytes, as LoadPcxImageWithin.
std::optional<PackedImage> DecodePcxWithin(const std::uint8_t* data, std::size_t size, std::uint64_t maxBytes,
                                           std::uint32_t& width, std::uint32_t& height, PcxError* error = nullptr);

} // namespace orvik
