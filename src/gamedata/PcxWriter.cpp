#include "gamedata/PcxWriter.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace orvik::gamedata {

namespace {

constexpr std::size_t kHeaderSize = 128;

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

struct HeaderFields {
    std::uint8_t version = 5;
    std::uint8_t bitsPerPixel = 8;
    std::uint8_t planes = 1;
    std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    std::uint16_t bytesPerLine = 0;
    const std::array<std::uint8_t, 48>* headerPalette = nullptr; // null: junk
    bool junkEncoding = false;                                   // the encoding byte from the seed instead of 1
};

// Fields no reader should look at (resolutions, reserved, palette info, filler) get values from
// the seed. The encoding byte does too in test files; files for the demo game keep 1, because
// other tools that open the unpacked maps (netpbm, for one) refuse anything else.
std::vector<std::uint8_t> MakeHeader(const HeaderFields& fields, std::mt19937& rng)
{
    std::vector<std::uint8_t> out(kHeaderSize);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    out[0] = 10;
    out[1] = fields.version;
    if (!fields.junkEncoding)
        out[2] = 1;
    out[3] = fields.bitsPerPixel;
    PutU16(out, 4, fields.xmin);
    PutU16(out, 6, fields.ymin);
    PutU16(out, 8, fields.xmax);
    PutU16(out, 10, fields.ymax);
    if (fields.headerPalette) {
        for (std::size_t i = 0; i < 48; ++i)
            out[16 + i] = (*fields.headerPalette)[i];
    }
    out[65] = fields.planes;
    PutU16(out, 66, fields.bytesPerLine);
    return out;
}

// Real writers keep bytes per line even.
std::uint16_t EvenBytesPerLine(std::uint32_t bytes)
{
    const std::uint32_t even = bytes + (bytes & 1);
    if (bytes == 0 || even > 32767)
        throw std::invalid_argument("PCX width out of range");
    return static_cast<std::uint16_t>(even);
}

void CheckSize(std::uint32_t width, std::uint32_t height)
{
    if (width == 0 || height == 0 || width > 65536 || height > 65536)
        throw std::invalid_argument("PCX size out of range");
}

} // namespace

void EncodePcxLine(const std::uint8_t* line, std::size_t size, std::vector<std::uint8_t>& out)
{
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t value = line[i];
        std::size_t run = 1;
        while (i + run < size && run < 63 && line[i + run] == value)
            ++run;
        if (run == 1 && value < 0xC0) {
            out.push_back(value);
        } else {
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
            out.push_back(value);
        }
        i += run;
    }
}

std::vector<std::uint8_t> EncodePcx8(std::uint32_t width, std::uint32_t height,
                                     const std::vector<std::uint8_t>& indices,
                                     const std::array<std::uint8_t, 768>& palette, std::uint32_t seed)
{
    CheckSize(width, height);
    if (indices.size() != std::size_t{width} * height)
        throw std::invalid_argument("PCX indices do not match the size");
    std::mt19937 rng(seed);
    HeaderFields fields;
    fields.version = 5;
    fields.bitsPerPixel = 8;
    fields.planes = 1;
    fields.xmax = static_cast<std::uint16_t>(width - 1);
    fields.ymax = static_cast<std::uint16_t>(height - 1);
    fields.bytesPerLine = EvenBytesPerLine(width);
    std::vector<std::uint8_t> out = MakeHeader(fields, rng);
    out.reserve(out.size() + indices.size() + indices.size() / 4 + 769);

    std::vector<std::uint8_t> line(fields.bytesPerLine, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::copy_n(indices.data() + std::size_t{y} * width, width, line.data());
        EncodePcxLine(line.data(), line.size(), out);
    }
    out.push_back(12);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

std::vector<std::uint8_t> EncodePcx24(const PackedImage& image, std::uint32_t seed)
{
    CheckSize(image.width, image.height);
    if (image.pixels.size() != std::size_t{image.width} * image.height * 3)
        throw std::invalid_argument("PCX pixels do not match the size");
    std::mt19937 rng(seed);
    HeaderFields fields;
    fields.version = 5;
    fields.bitsPerPixel = 8;
    fields.planes = 3;
    fields.xmax = static_cast<std::uint16_t>(image.width - 1);
    fields.ymax = static_cast<std::uint16_t>(image.height - 1);
    fields.bytesPerLine = EvenBytesPerLine(image.width);
    std::vector<std::uint8_t> out = MakeHeader(fields, rng);

    const std::size_t bpl = fields.bytesPerLine;
    std::vector<std::uint8_t> line(bpl * 3, 0);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + std::size_t{y} * image.width * 3;
        for (std::uint32_t x = 0; x < image.width; ++x) {
            line[x] = row[x * 3];
            line[bpl + x] = row[x * 3 + 1];
            line[2 * bpl + x] = row[x * 3 + 2];
        }
        EncodePcxLine(line.data(), line.size(), out);
    }
    return out;
}

std::vector<std::uint8_t> EncodePcxRaw(const PcxRawSpec& plan)
{
    std::mt19937 rng(plan.seed);
    HeaderFields fields;
    fields.version = plan.version;
    fields.bitsPerPixel = plan.bitsPerPixel;
    fields.planes = plan.planes;
    fields.xmin = plan.xmin;
    fields.ymin = plan.ymin;
    fields.xmax = plan.xmax;
    fields.ymax = plan.ymax;
    fields.bytesPerLine = plan.bytesPerLine;
    fields.headerPalette = &plan.headerPalette;
    fields.junkEncoding = true;
    std::vector<std::uint8_t> out = MakeHeader(fields, rng);
    for (const auto& line : plan.lines)
        EncodePcxLine(line.data(), line.size(), out);
    if (plan.trailingPalette) {
        out.push_back(12);
        out.insert(out.end(), plan.palette.begin(), plan.palette.end());
    }
    return out;
}

} // namespace orvik::gamedata
