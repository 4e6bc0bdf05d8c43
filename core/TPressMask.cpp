#include "core/TPressMask.hpp"

TPressMask::TPressMask(sf::Vector2u size)
    : width(size.x)
    , height(size.y)
    , stride((std::size_t{size.x} + 7) / 8)
    , bits(stride * size.y, 0)
{
}

TPressMask::TPressMask(const std::uint8_t* rgba, sf::Vector2u size)
    : TPressMask(size)
{
    for (unsigned y = 0; y < size.y; ++y)
        addRow(y, rgba + std::size_t{y} * width * 4);
}

void TPressMask::addRow(unsigned y, const std::uint8_t* rgba)
{
    if (y >= height)
        return;
    std::uint8_t* row = bits.data() + std::size_t{y} * stride;
    for (unsigned x = 0; x < width; ++x)
        if (rgba[std::size_t{x} * 4 + 3] > threshold)
            row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (1u << (x % 8)));
}
