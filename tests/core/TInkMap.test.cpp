#include "core/TInkMap.hpp"
#include "core/ImageTable.hpp"
#include "core/TImageLoader.hpp"
#include "core/TTextureStore.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>
#include <catch2/generators/catch_generators.hpp>

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Err.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Which cells of the map hold ink, as "column,row" in reading order.
std::string inkedCells(const TInkMap& map)
{
    std::string cells;
    for (int r = 0; r < map.rows(); ++r)
        for (int c = 0; c < map.columns(); ++c)
            if (map.inked(c, r))
                cells += std::to_string(c) + "," + std::to_string(r) + " ";
    return cells;
}

// The cells worked out the slow way, pixel by pixel.
std::string slowInkedCells(const sf::Image& image)
{
    const sf::Vector2u size = image.getSize();
    const unsigned cell = TInkMap::cell;
    const unsigned columns = (size.x + cell - 1) / cell, rows = (size.y + cell - 1) / cell;
    std::vector<bool> inked(static_cast<std::size_t>(columns) * rows, false);
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x)
            if (image.getPixel({x, y}).a != 0)
                inked[static_cast<std::size_t>(y / cell) * columns + x / cell] = true;
    std::string cells;
    for (unsigned r = 0; r < rows; ++r)
        for (unsigned c = 0; c < columns; ++c)
            if (inked[static_cast<std::size_t>(r) * columns + c])
                cells += std::to_string(c) + "," + std::to_string(r) + " ";
    return cells;
}

} // namespace

TEST_CASE("an ink map flags exactly the cells with a pixel that is not fully transparent", "[ink]")
{
    struct Row {
        const char* what;
        unsigned width, height;
        std::vector<sf::Vector2u> inkedPixels;
        std::uint8_t alpha;
        int columns, rows;
        const char* cells;
    };
    const auto row = GENERATE(values<Row>({
        {"nothing inked", 16, 16, {}, 0, 2, 2, ""},
        {"the first pixel", 16, 16, {{0, 0}}, 255, 2, 2, "0,0 "},
        {"the faintest alpha", 16, 16, {{9, 3}}, 1, 2, 2, "1,0 "},
        {"the last pixel of a whole cell", 16, 16, {{7, 7}}, 255, 2, 2, "0,0 "},
        {"the first pixel of the next cell", 16, 16, {{8, 8}}, 255, 2, 2, "1,1 "},
        {"the odd pixel of a pair", 16, 8, {{3, 0}, {12, 5}}, 128, 2, 1, "0,0 1,0 "},
        {"a narrow last column", 19, 9, {{18, 8}}, 255, 3, 2, "2,1 "},
        {"a narrow last column, its first pixel", 19, 9, {{16, 0}}, 255, 3, 2, "2,0 "},
        {"an image narrower than a cell", 5, 3, {{4, 2}}, 255, 1, 1, "0,0 "},
        {"wider than high, every corner", 40, 17, {{0, 0}, {39, 0}, {0, 16}, {39, 16}}, 200, 5, 3, "0,0 4,0 0,2 4,2 "},
    }));
    CAPTURE(row.what);
    // Colour everywhere, even where alpha is zero: only alpha counts.
    sf::Image image({row.width, row.height}, sf::Color(255, 255, 255, 0));
    for (const sf::Vector2u at : row.inkedPixels)
        image.setPixel(at, sf::Color(0, 0, 0, row.alpha));
    const TInkMap map(image.getPixelsPtr(), image.getSize());
    CHECK(map.columns() == row.columns);
    CHECK(map.rows() == row.rows);
    CHECK(inkedCells(map) == row.cells);
    CHECK(inkedCells(map) == slowInkedCells(image));
}

TEST_CASE("the game's chicken sheets carry the ink maps of their own pixels", "[ink][store]")
{
    TTextureStore& store = TTextureStore::instance();
    for (int id : store.loadedIds()) {
        CAPTURE(id);
        const sf::Texture& texture = store.getTexture(id);
        const TInkMap* map = store.inkMap(texture);
        if (!TImageLoader::chickenSheet(id)) {
            CHECK(map == nullptr);
            continue;
        }
        REQUIRE(map != nullptr);
        // Read back here only to check: the game never reads a texture back.
        CHECK(inkedCells(*map) == slowInkedCells(texture.copyToImage()));
    }
}

TEST_CASE("a sheet loaded one by one gets its map; one the media library loads gets none", "[ink][store]")
{
    const fs::path dir = testsupport::scratchDir("ink-maps");
    // A PNG of 8-bit RGBA (the quick decoder's) with one inked pixel, and a
    // BMP under a PNG's name, which the quick decoder declines and the media
    // library loads.
    sf::Image sheet({32, 16}, sf::Color::Transparent);
    sheet.setPixel({20, 9}, sf::Color::Red);
    REQUIRE(sheet.saveToFile((dir / "sheet.png").string()));
    REQUIRE(sheet.saveToFile((dir / "declined.bmp").string()));
    fs::rename(dir / "declined.bmp", dir / "declined.png");
    fs::create_directories(dir / "run");
    std::ostringstream console;
    testsupport::inDirectory(dir / "run", [&] {
        // No images here at all: the store starts empty (and says so).
        const testsupport::QuietErrors quiet;
        TTextureStore store(console, TTextureStore::Settings{false, false});
        REQUIRE(store.textureCount() == 0);
        store.loadTexture(image::walk, (dir / "sheet.png").string(), false);
        store.loadTexture(image::dance, (dir / "declined.png").string(), false);
        store.loadTexture(image::menu, (dir / "sheet.png").string(), false);
        REQUIRE(store.hasTexture(image::walk));
        REQUIRE(store.hasTexture(image::dance));
        REQUIRE(store.hasTexture(image::menu));

        const TInkMap* walk = store.inkMap(store.getTexture(image::walk));
        REQUIRE(walk != nullptr);
        CHECK(inkedCells(*walk) == "2,1 ");
        // Declined by the quick path: no decoded pixels, so no map.
        CHECK(store.inkMap(store.getTexture(image::dance)) == nullptr);
        // Not a chicken sheet: no map.
        CHECK(store.inkMap(store.getTexture(image::menu)) == nullptr);
    });
    fs::remove_all(dir);
}
