#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

// Where an image has ink, coarsely: one flag per square cell of `cell`
// pixels, set when any pixel of the cell is not fully transparent. Made from
// the decoded pixels as an image loads (on the decoding thread), so drawing
// code can skip a picture's empty parts without ever reading a texture back.
class TInkMap {
public:
    // Pixels per side of a cell.
    static constexpr int cell = 8;

    TInkMap() = default;
    // The map of `size` pixels of RGBA at `rgba`, rows top to bottom.
    TInkMap(const std::uint8_t* rgba, sf::Vector2u size);
    // A map of an image of `size` with no ink yet, to be given its rows.
    explicit TInkMap(sf::Vector2u size);
    // Adds the ink of row `y` (the image's width of RGBA pixels at `rgba`),
    // as a decoder hands the rows on while they are still in the cache.
    void addRow(unsigned y, const std::uint8_t* rgba);

    int columns() const { return columnCount; }
    int rows() const { return rowCount; }
    bool empty() const { return flags.empty(); }
    // Whether cell (`column`, `row`) holds ink; both within the map.
    bool inked(int column, int row) const
    {
        return flags[static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount)
                     + static_cast<std::size_t>(column)]
               != 0;
    }

private:
    unsigned width = 0;
    int columnCount = 0;
    int rowCount = 0;
    std::vector<std::uint8_t> flags; // one per cell, row by row
};
