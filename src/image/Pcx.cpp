#include "image/Pcx.h"

#include "common/MappedFile.h"

#include "image/PcxSteps.h"

#include "common/MemoryHints.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace orvik {

namespace pcx {

namespace {

std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Entry(const std::uint8_t* rgb)
{
    const std::uint8_t bytes[4] = {rgb[0], rgb[1], rgb[2], 0};
    std::uint32_t entry = 0;
    std::memcpy(&entry, bytes, 4);
    return entry;
}

} // namespace

PcxError ReadPcxHeader(const std::uint8_t* data, std::size_t size, PcxHeader& header)
{
    if (!data || size < kHeaderSize)
        return PcxError::NotPcx;
    PcxHeader h;
    h.manufacturer = data[0];
    h.version = data[1];
    h.encoding = data[2];
    h.bitsPerPixel = static_cast<std::int8_t>(data[3]);
    h.xmin = GetU16(data + 4);
    h.ymin = GetU16(data + 6);
    h.xmax = GetU16(data + 8);
    h.ymax = GetU16(data + 10);
    h.hres = GetU16(data + 12);
    h.vres = GetU16(data + 14);
    for (std::size_t i = 0; i < h.palette.size(); ++i)
        h.palette[i] = data[16 + i];
    h.reserved = data[64];
    h.planes = static_cast<std::int8_t>(data[65]);
    h.bytesPerLine = static_cast<std::int16_t>(GetU16(data + 66));
    h.paletteInfo = GetU16(data + 68);
    if (h.manufacturer != 10)
        return PcxError::NotPcx;
    if (h.version != 0 && h.version != 2 && h.version != 3 && h.version != 5)
        return PcxError::UnknownVersion;
    header = h;
    return PcxError::None;
}

Palette ReadPcxPalette(const std::uint8_t* data, std::size_t size, const PcxHeader& header)
{
    Palette palette{};
    const int depth = header.Depth();
    const bool trailing =
        header.version == 5 && depth == 8 && size >= kPaletteTail && data[size - kPaletteTail] == kPaletteMarker;
    if (trailing) {
        const std::uint8_t* p = data + size - kPaletteTail + 1;
        for (std::size_t i = 0; i < 256; ++i, p += 3)
            palette[i] = Entry(p);
    } else {
        for (std::size_t i = 0; i < 256; ++i) {
            const std::uint8_t grey[3] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                          static_cast<std::uint8_t>(i)};
            palette[i] = Entry(grey);
        }
    }
    if (depth >= 1 && depth <= 4) {
        const std::size_t entries = std::size_t{1} << depth;
        const std::uint8_t* p = header.palette.data();
        for (std::size_t i = 0; i < entries; ++i, p += 3)
            palette[i] = Entry(p);
    }
    return palette;
}

} // namespace pcx

namespace {

using pcx::Layout;

// The editor never had pixel blocks past 2 GiB; a header asking for more is refused rather than
// left to exhaust the machine's memory.
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{1} << 31;

// The layouts the decoder supports; anything else is refused.
std::optional<Layout> ChooseLayout(const PcxHeader& header)
{
    const int bits = header.bitsPerPixel;
    const int planes = header.planes;
    if (bits == 1 && planes == 1)
        return Layout::OneBit;
    if (bits == 4 && planes == 1)
        return Layout::FourBit;
    if (bits == 1 && planes == 4)
        return Layout::FourPlanes;
    if (bits == 8 && planes == 1)
        return Layout::EightBit;
    if (bits == 8 && planes == 3)
        return Layout::TrueColour;
    // Depths 2 and 3 are read but not drawn: the image comes out black.
    if ((bits == 1 || bits == 2 || bits == 3) && (planes == 1 || planes == 2 || planes == 3) &&
        (bits * planes == 2 || bits * planes == 3))
        return Layout::Black;
    return std::nullopt;
}

// The fewest file bytes that can encode a scan line of length bytes: a run covers at most 63
// bytes with two file bytes, a single byte can stand for itself.
std::uint64_t MinEncodedLine(std::uint64_t length)
{
    const std::uint64_t rest = length % 63;
    return 2 * (length / 63) + (rest == 0 ? 0 : rest == 1 ? 1 : 2);
}

// Room for the decoder's small tables (the 8-bit path's patterns) besides its line buffers.
constexpr std::uint64_t kDecodeTables = std::uint64_t{64} << 10;

std::optional<PackedImage> Decode(const std::uint8_t* data, std::size_t size, std::uint32_t& width,
                                  std::uint32_t& height, std::uint64_t maxBytes, PcxError& error)
{
    auto refuse = [&error](PcxError reason) -> std::optional<PackedImage> {
        error = reason;
        return std::nullopt;
    };
    PcxHeader header;
    if (const PcxError headerError = pcx::ReadPcxHeader(data, size, header); headerError != PcxError::None)
        return refuse(headerError);
    const std::uint32_t w = header.Width();
    const std::uint32_t h = header.Height();
    width = w;
    height = h;

    const std::optional<Layout> layout = ChooseLayout(header);
    if (!layout)
        return refuse(PcxError::UnknownLayout);
    if (w == 0 || h == 0)
        return refuse(PcxError::NoPixels);
    if (header.bytesPerLine <= 0)
        return refuse(PcxError::LineTooShort);
    const std::uint64_t bytesPerLine = static_cast<std::uint64_t>(header.bytesPerLine);
    if (bytesPerLine * 8 < std::uint64_t{w} * static_cast<std::uint64_t>(header.bitsPerPixel))
        return refuse(PcxError::LineTooShort);
    const std::uint64_t lineLength = bytesPerLine * static_cast<std::uint64_t>(header.planes);

    // Refuse before allocating: a block too large to hold, or more scan lines than the rest of
    // the file could encode.
    const std::uint64_t pixelBytes = std::uint64_t{w} * h * 3;
    if (PcxDecodeBytes(header) > maxBytes || pixelBytes > kMaxPixelBytes)
        return refuse(PcxError::TooLarge);
    if (MinEncodedLine(lineLength) * h > size - pcx::kHeaderSize)
        return refuse(PcxError::Truncated);

    pcx::Palette palette{};
    if (*layout != Layout::TrueColour && *layout != Layout::Black)
        palette = pcx::ReadPcxPalette(data, size, header);

    PackedImage image;
    image.width = w;
    image.height = h;
    // The block is reserved untouched and filled row by row, each row appended while it is
    // still in the cache: a large image's memory is then written once, not zeroed first.
    image.pixels.reserve(static_cast<std::size_t>(pixelBytes));
    // Only large images (orvik pcx on a big file) reach the hint's threshold; for them it saves
    // a third or more of the load, most of it in page faults.
    AdviseHugePages(image.pixels.data(), static_cast<std::size_t>(pixelBytes));

    const std::uint8_t* in = data + pcx::kHeaderSize;
    const std::uint8_t* end = data + size;
    if (*layout == Layout::EightBit) {
        if (!pcx::DecodeEightBitRows(in, end, static_cast<std::size_t>(bytesPerLine), w, h, palette, image.pixels))
            return refuse(PcxError::Truncated);
        return image;
    }

    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineLength) + pcx::kLineSlack);
    const bool needsIndexLine =
        *layout == Layout::OneBit || *layout == Layout::FourBit || *layout == Layout::FourPlanes;
    std::vector<std::uint8_t> indices(needsIndexLine ? w : 0);
    const std::size_t rowBytes = std::size_t{w} * 3;
    std::vector<std::uint8_t> row(rowBytes);
    for (std::uint32_t y = 0; y < h; ++y) {
        if (!pcx::DecodePcxLine(in, end, line.data(), static_cast<std::size_t>(lineLength)))
            return refuse(PcxError::Truncated);
        switch (*layout) {
        case Layout::TrueColour:
            pcx::InterleavePlanes(line.data(), static_cast<std::size_t>(bytesPerLine), w, row.data());
            break;
        case Layout::OneBit:
        case Layout::FourBit:
        case Layout::FourPlanes:
            pcx::UnpackPcxPlanes(*layout, line.data(), static_cast<std::size_t>(bytesPerLine), w, indices.data());
            pcx::ExpandThroughPalette(indices.data(), w, palette, row.data());
            break;
        case Layout::EightBit:
        case Layout::Black: break; // black rows: the row stays zero
        }
        image.pixels.insert(image.pixels.end(), row.begin(), row.end());
    }
    return image;
}

// Decode, with the memory running out taken as a refusal like any other: the loader never throws.
std::optional<PackedImage> DecodeNoThrow(const std::uint8_t* data, std::size_t size, std::uint32_t& width,
                                         std::uint32_t& height, std::uint64_t maxBytes, PcxError* error)
{
    PcxError reason = PcxError::None;
    std::optional<PackedImage> image;
    try {
        image = Decode(data, size, width, height, maxBytes, reason);
    } catch (const std::bad_alloc&) {
        reason = PcxError::OutOfMemory;
    } catch (const std::length_error&) {
        reason = PcxError::OutOfMemory;
    }
    if (error)
        *error = image ? PcxError::None : reason;
    return image;
}

} // namespace

std::uint64_t PcxDecodeBytes(const PcxHeader& header)
{
    const std::uint64_t w = header.Width();
    const std::uint64_t line = static_cast<std::uint64_t>(header.bytesPerLine > 0 ? header.bytesPerLine : 0) *
                               static_cast<std::uint64_t>(header.planes > 0 ? header.planes : 0);
    // Pixels; a scan line (8-bit: three times its length); index and RGB rows; slack and tables.
    return w * header.Height() * 3 + 3 * line + 4 * w + 2 * pcx::kLineSlack + 2 * pcx::kRowSlack + kDecodeTables;
}

const char* PcxErrorText(PcxError error)
{
    switch (error) {
    case PcxError::None: return "it was decoded";
    case PcxError::CannotOpen: return "the file could not be opened";
    case PcxError::NotPcx: return "it is not a PCX image";
    case PcxError::UnknownVersion: return "its PCX version is not 0, 2, 3 or 5";
    case PcxError::UnknownLayout:
        return "its layout (bits per pixel and planes) is of a kind this program does not read";
    case PcxError::NoPixels: return "its header gives it no pixels";
    case PcxError::LineTooShort: return "its bytes per line are too few for its width";
    case PcxError::TooLarge: return "it is too large (decoding it would take more memory than this program allows)";
    case PcxError::Truncated: return "it is truncated (the file ends before its last scan line)";
    case PcxError::OutOfMemory: return "the memory ran out while decoding it";
    }
    return "it could not be decoded";
}

std::optional<PackedImage> DecodePcxWithin(const std::uint8_t* data, std::size_t size, std::uint64_t maxBytes,
                                           std::uint32_t& width, std::uint32_t& height, PcxError* error)
{
    return DecodeNoThrow(data, size, width, height, maxBytes, error);
}

std::optional<PackedImage> LoadPcxImageWithin(const std::string& path, std::uint64_t maxBytes, std::uint32_t& width,
                                              std::uint32_t& height, PcxError* error)
{
    // The whole file at once (mapped, so a large map is not copied): the decoder works on memory.
    MappedFile file;
    if (!file.Open(path)) {
        if (error)
            *error = PcxError::CannotOpen;
        return std::nullopt;
    }
    return DecodeNoThrow(file.Data(), file.Size(), width, height, maxBytes, error);
}

std::optional<PackedImage> DecodePcx(const std::uint8_t* data, std::size_t size, std::uint32_t& width,
                                     std::uint32_t& height, PcxError* error)
{
    return DecodeNoThrow(data, size, width, height, UINT64_MAX, error);
}

std::optional<PackedImage> LoadPcxImage(const std::string& path, std::uint32_t& width, std::uint32_t& height,
                                        PcxError* error)
{
    return LoadPcxImageWithin(path, UINT64_MAX, width, height, error);
}

} // namespace orvik
