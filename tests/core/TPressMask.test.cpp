#include "core/TPressMask.hpp"
#include "core/ImageTable.hpp"
#include "core/TImageLoader.hpp"
#include "core/TTextureStore.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>
#include <catch2/generators/catch_generators.hpp>

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Err.hpp>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The drawn pixels of a mask as "x,y" in reading order, one more column and
// row than the image all round (which must never count).
std::string drawnPixels(const TPressMask& mask, sf::Vector2u size)
{
    std::string drawn;
    for (int y = -1; y <= static_cast<int>(size.y); ++y)
        for (int x = -1; x <= static_cast<int>(size.x); ++x)
            if (mask.drawnAt(x, y))
                drawn += std::to_string(x) + "," + std::to_string(y) + " ";
    return drawn;
}

// The same the slow way, pixel by pixel from the image.
std::string slowDrawnPixels(const sf::Image& image)
{
    std::string drawn;
    for (unsigned y = 0; y < image.getSize().y; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            if (image.getPixel({x, y}).a > TPressMask::threshold)
                drawn += std::to_string(x) + "," + std::to_string(y) + " ";
    return drawn;
}

} // namespace

TEST_CASE("a press mask holds exactly the pixels with alpha above the threshold", "[press]")
{
    struct Row {
        const char* what;
        unsigned width, height;
        std::vector<sf::Vector2u> pixels;
        std::uint8_t alpha;
        const char* drawn;
    };
    const auto row = GENERATE(values<Row>({
        {"nothing drawn", 16, 4, {}, 0, ""},
        {"alpha at the threshold is not drawn", 16, 4, {{3, 1}}, 24, ""},
        {"one above it is", 16, 4, {{3, 1}}, 25, "3,1 "},
        {"the first and last pixel of a byte", 16, 2, {{0, 0}, {7, 0}, {8, 1}}, 255, "0,0 7,0 8,1 "},
        {"a row narrower than a byte", 5, 3, {{4, 2}, {0, 1}}, 200, "0,1 4,2 "},
        {"a ragged last byte", 13, 2, {{12, 0}, {12, 1}}, 255, "12,0 12,1 "},
        {"one pixel", 1, 1, {{0, 0}}, 255, "0,0 "},
    }));
    CAPTURE(row.what);
    // Colour everywhere, even where alpha is zero: only alpha counts.
    sf::Image image({row.width, row.height}, sf::Color(255, 255, 255, 0));
    for (const sf::Vector2u at : row.pixels)
        image.setPixel(at, sf::Color(0, 0, 0, row.alpha));
    const TPressMask mask(image.getPixelsPtr(), image.getSize());
    CHECK(mask.size() == image.getSize());
    CHECK(drawnPixels(mask, image.getSize()) == row.drawn);
    CHECK(drawnPixels(mask, image.getSize()) == slowDrawnPixels(image));

    // Given row by row, as the decoder hands them on, the same.
    TPressMask byRows(image.getSize());
    for (unsigned y = 0; y < row.height; ++y)
        byRows.addRow(y, image.getPixelsPtr() + std::size_t{y} * row.width * 4);
    CHECK(drawnPixels(byRows, image.getSize()) == row.drawn);
}

TEST_CASE("an empty press mask shows nothing anywhere", "[press]")
{
    const TPressMask none;
    CHECK(none.empty());
    CHECK_FALSE(none.drawnAt(0, 0));
    CHECK_FALSE(none.drawnAt(-1, 3));
}

TEST_CASE("the game's pressed pictures carry the masks of their own pixels", "[press][store]")
{
    TTextureStore& store = TTextureStore::instance();
    int masked = 0;
    for (int id : store.loadedIds()) {
        CAPTURE(id);
        const sf::Texture& texture = store.getTexture(id);
        const TPressMask* mask = store.pressMask(texture);
        if (!TImageLoader::pressedPicture(id)) {
            CHECK(mask == nullptr);
            continue;
        }
        REQUIRE(mask != nullptr);
        ++masked;
        // Read back here only to check: the game never reads a texture back.
        const sf::Image image = texture.copyToImage();
        CHECK(mask->size() == image.getSize());
        CHECK(drawnPixels(*mask, image.getSize()) == slowDrawnPixels(image));
    }
    // The placeholder, seven story pictures, the tray, six sockets, three
    // round buttons, three counters, the inventory bar and three cards.
    CHECK(masked == 25);
}

TEST_CASE("a pressed picture gets its mask however it loads; a missing one shows nothing", "[press][store]")
{
    const fs::path dir = testsupport::scratchDir("press-masks");
    // A PNG of 8-bit RGBA (the quick decoder's) with one drawn pixel, and a
    // BMP under a PNG's name, which the quick decoder declines and the media
    // library loads.
    sf::Image picture({12, 10}, sf::Color(0, 0, 0, 10));
    picture.setPixel({9, 4}, sf::Color::Red);
    REQUIRE(picture.saveToFile((dir / "picture.png").string()));
    REQUIRE(picture.saveToFile((dir / "declined.bmp").string()));
    fs::rename(dir / "declined.bmp", dir / "declined.png");
    fs::create_directories(dir / "run");
    std::ostringstream console;
    testsupport::inDirectory(dir / "run", [&] {
        // No images here at all: the store starts empty (and says so).
        const testsupport::QuietErrors quiet;
        TTextureStore store(console, TTextureStore::Settings{false, false});
        REQUIRE(store.textureCount() == 0);
        store.loadTexture(image::kurort, (dir / "picture.png").string(), false);
        store.loadTexture(image::circleButton, (dir / "declined.png").string(), false);
        store.loadTexture(image::menu, (dir / "picture.png").string(), false);
        REQUIRE(store.hasTexture(image::kurort));
        REQUIRE(store.hasTexture(image::circleButton));
        REQUIRE(store.hasTexture(image::menu));

        const TPressMask* card = store.pressMask(store.getTexture(image::kurort));
        REQUIRE(card != nullptr);
        CHECK(drawnPixels(*card, {12, 10}) == "9,4 ");
        // Declined by the quick path: the mask comes from the library's pixels.
        const TPressMask* button = store.pressMask(store.getTexture(image::circleButton));
        REQUIRE(button != nullptr);
        CHECK(drawnPixels(*button, {12, 10}) == "9,4 ");
        // Not a pressed picture: no mask.
        CHECK(store.pressMask(store.getTexture(image::menu)) == nullptr);
        // A missing picture's stand-in (no placeholder image here either)
        // shows nothing to press.
        const sf::Texture& standIn = store.getTexture(image::veterinar);
        const TPressMask* none = store.pressMask(standIn);
        REQUIRE(none != nullptr);
        CHECK(none->size() == standIn.getSize());
        CHECK(drawnPixels(*none, none->size()).empty());
    });
    fs::remove_all(dir);
}
