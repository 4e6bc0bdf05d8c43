#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

// Where a picture a press can land on really shows: one bit per pixel, set
// where its alpha is above `threshold`. Made from the decoded pixels as the
// image loads (on the decoding thread), so a press test never reads a
// texture back from the graphics driver.
class TPressMask {
public:
    // The alpha (0..255) a pixel needs to count as drawn.
    static constexpr std::uint8_t threshold = 24;

    TPressMask() = default;
    // The mask of `size` pixels of RGBA at `rgba`, rows top to bottom.
    TPressMask(const std::uint8_t* rgba, sf::Vector2u size);
    // A mask of an image of `size` with nothing drawn yet, to be given its rows.
    explicit TPressMask(sf::Vector2u size);
    // Adds row `y` (the image's width of RGBA pixels at `rgba`), as a
    // decoder hands the rows on.
    void addRow(unsigned y, const std::uint8_t* rgba);

    sf::Vector2u size() const { return {width, height}; }
    bool empty() const { return width == 0 || height == 0; }
    // Whether pixel (`x`, `y`) is drawn; false outside the image.
    bool drawnAt(int x, int y) const
    {
        if (x < 0 || y < 0 || static_cast<unsigned>(x) >= width || static_cast<unsigned>(y) >= height)
            return false;
        const std::size_t at = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) / 8;
        return ((static_cast<unsigned>(bits[at]) >> (static_cast<unsigned>(x) % 8)) & 1u) != 0;
    }

private:
    unsigned width = 0;
    unsigned height = 0;
    std::size_t stride = 0;         // bytes per row
    std::vector<std::uint8_t> bits; // row by row, the leftmost pixel in the lowest bit
};
