#include "core/TInkMap.hpp"

#include <cstring>

namespace {

// The alpha bytes of two RGBA pixels read as one 64-bit word, in either byte order.
constexpr std::uint64_t alphaBytes = 0xFF000000FF000000ull;

} // namespace

TInkMap::TInkMap(sf::Vector2u size)
    : width(size.x)
    , columnCount(static_cast<int>((size.x + cell - 1) / cell))
    , rowCount(static_cast<int>((size.y + cell - 1) / cell))
    , flags(static_cast<std::size_t>(columnCount) * static_cast<std::size_t>(rowCount), 0)
{
}

TInkMap::TInkMap(const std::uint8_t* rgba, sf::Vector2u size)
    : TInkMap(size)
{
    for (unsigned y = 0; y < size.y; ++y)
        addRow(y, rgba + std::size_t{y} * width * 4);
}

void TInkMap::addRow(unsigned y, const std::uint8_t* rgba)
{
    static_assert(cell % 2 == 0, "a cell's stretch of a row is read two pixels at a time");
    const std::size_t wholeCells = width / cell;
    std::uint8_t* cells = flags.data() + (y / cell) * static_cast<std::size_t>(columnCount);
    for (std::size_t c = 0; c < wholeCells; ++c) {
        std::uint64_t words[cell / 2];
        std::memcpy(words, rgba + c * cell * 4, sizeof words);
        std::uint64_t any = 0;
        for (const std::uint64_t word : words)
            any |= word;
        if ((any & alphaBytes) != 0)
            cells[c] = 1;
    }
    // The narrower last cell, pixel by pixel.
    for (std::size_t x = wholeCells * cell; x < width; ++x)
        if (rgba[x * 4 + 3] != 0)
            cells[x / cell] = 1;
}
