#include "core/TImageDecoder.hpp"

#include "core/FileBytes.hpp"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Beyond this the general loader refuses images anyway.
constexpr std::uint32_t largestSide = 1u << 24;

std::uint32_t readBigEndian(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

int paethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Undoes one row's filter in place. `prior` is the row above, already
// unfiltered, or null for the top row. Four bytes per pixel.
bool unfilterRow(int filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t stride)
{
    constexpr std::size_t bpp = 4;
    switch (filter) {
    case 0: return true;
    case 1:
        for (std::size_t i = bpp; i < stride; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
        return true;
    case 2:
        if (prior)
            for (std::size_t i = 0; i < stride; ++i)
                row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            const int up = prior ? prior[i] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + ((left + up) >> 1));
        }
        return true;
    case 4:
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            const int up = prior ? prior[i] : 0;
            const int upLeft = (prior && i >= bpp) ? prior[i - bpp] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + paethPredictor(left, up, upLeft));
        }
        return true;
    default: return false;
    }
}

// A chunk type the general loader treats as critical (upper-case first letter).
bool isCritical(const std::uint8_t* type) { return (type[0] & 0x20) == 0; }

bool typeIs(const std::uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

} // namespace

TImageDecoder::TImageDecoder()
    : inflater(libdeflate_alloc_decompressor())
{
}

TImageDecoder::~TImageDecoder() { libdeflate_free_decompressor(inflater); }

bool TImageDecoder::decode(const std::string& path, Pixels& out)
{
    return decode(path, out, [this](std::size_t bytes) {
        own.resize(bytes);
        return own.data();
    });
}

bool TImageDecoder::readSize(const std::uint8_t* start, std::size_t length, std::uint32_t& width, std::uint32_t& height)
{
    if (length < 8 + 16 || !typeIs(start + 12, "IHDR"))
        return false;
    width = readBigEndian(start + 16);
    height = readBigEndian(start + 20);
    return true;
}

std::size_t TImageDecoder::workingBytes(const std::uint8_t* start, std::size_t length)
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (length < 8 + 25 || std::memcmp(start, pngSignature, 8) != 0 || readBigEndian(start + 8) != 13
        || !readSize(start, length, width, height))
        return 0;
    const std::uint8_t* format = start + 24; // depth, colour type, compression, filter, interlace
    if (width == 0 || height == 0 || width > largestSide || height > largestSide || format[0] != 8 || format[1] != 6
        || format[2] != 0 || format[3] != 0 || format[4] != 0)
        return 0;
    // Each row inflates with its filter byte in front.
    return (std::size_t{width} * 4 + 1) * height;
}

bool TImageDecoder::decode(const std::string& path, Pixels& out, const Placement& place)
{
    return decode(path, out, place, nullptr);
}

bool TImageDecoder::decode(const std::string& path, Pixels& out, const Placement& place, const RowSeen& seen)
{
    out = Pixels{};
    if (!inflater)
        return false;
    if (!readFileBytes(path, file))
        return false;
    // The header must come first and describe 8-bit RGBA without interlacing.
    const std::size_t rawSize = workingBytes(file.data(), file.size());
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (rawSize == 0 || !readSize(file.data(), file.size(), width, height))
        return false;

    // Gather the compressed stream. Usually it is split over several IDAT
    // chunks in a row; a single one is inflated where it lies.
    joined.clear();
    const std::uint8_t* stream = nullptr;
    std::size_t streamSize = 0;
    int idatCount = 0;
    bool idatClosed = false;
    bool ended = false;
    std::size_t at = 8 + 25;
    while (!ended) {
        if (file.size() - at < 12)
            return false;
        const std::size_t length = readBigEndian(file.data() + at);
        const std::uint8_t* type = file.data() + at + 4;
        const std::uint8_t* data = type + 4;
        if (length > file.size() - at - 12)
            return false;
        if (typeIs(type, "IDAT")) {
            if (idatClosed)
                return false;
            if (++idatCount == 1) {
                stream = data;
                streamSize = length;
            } else {
                if (idatCount == 2)
                    joined.assign(stream, stream + streamSize);
                joined.insert(joined.end(), data, data + length);
            }
        } else {
            if (idatCount > 0)
                idatClosed = true;
            if (typeIs(type, "IEND"))
                ended = true;
            // A transparency chunk, a palette or any other critical chunk
            // changes how the general loader reads the file: let it.
            else if (typeIs(type, "tRNS") || typeIs(type, "PLTE") || typeIs(type, "CgBI") || isCritical(type))
                return false;
        }
        at += length + 12;
    }
    if (idatCount == 0)
        return false;
    if (idatCount > 1) {
        stream = joined.data();
        streamSize = joined.size();
    }

    // Inflate the rows (each with its filter byte in front) into the pixel
    // buffer itself, then slide each row down over the filter bytes and undo
    // its filter in place.
    const std::size_t stride = std::size_t{width} * 4;
    std::uint8_t* base = place(rawSize);
    if (!base)
        return false;
    std::size_t produced = 0;
    if (libdeflate_zlib_decompress(inflater, stream, streamSize, base, rawSize, &produced) != LIBDEFLATE_SUCCESS
        || produced != rawSize)
        return false;

    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* raw = base + y * (stride + 1);
        const int filter = raw[0];
        std::uint8_t* row = base + y * stride;
        std::memmove(row, raw + 1, stride);
        if (!unfilterRow(filter, row, y > 0 ? row - stride : nullptr, stride))
            return false;
        if (seen)
            seen({width, height}, static_cast<unsigned>(y), row);
    }

    out.size = {width, height};
    out.data = base;
    return true;
}
