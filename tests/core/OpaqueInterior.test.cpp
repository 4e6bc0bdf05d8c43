#include "core/OpaqueInterior.hpp"
#include "core/ImageTable.hpp"
#include "core/TImageLoader.hpp"
#include "core/TTextureStore.hpp"

#include <catch2/catch_test_macros.hpp>
#include <catch2/generators/catch_generators.hpp>

#include <SFML/Graphics/Image.hpp>

#include <cstdint>
#include <vector>

namespace {

// Whether every pixel of `rect` of `image` is fully opaque.
bool allOpaque(const sf::Image& image, const sf::IntRect& rect)
{
    for (int y = rect.position.y; y < rect.position.y + rect.size.y; ++y)
        for (int x = rect.position.x; x < rect.position.x + rect.size.x; ++x)
            if (image.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}).a != 255)
                return false;
    return true;
}

} // namespace

TEST_CASE("an opaque interior steps in from the see-through edges", "[plate]")
{
    struct Row {
        const char* what;
        unsigned width, height;
        unsigned border; // see-through pixels all round
        std::uint8_t edgeAlpha;
        sf::IntRect interior; // worked out by hand
    };
    const auto row = GENERATE(values<Row>({
        {"opaque all over", 16, 8, 0, 0, sf::IntRect({0, 0}, {16, 8})},
        {"a one-pixel see-through frame", 16, 8, 1, 0, sf::IntRect({1, 1}, {14, 6})},
        {"an almost opaque frame counts as see-through", 16, 8, 1, 254, sf::IntRect({1, 1}, {14, 6})},
        {"a frame of two pixels", 20, 12, 2, 0, sf::IntRect({2, 2}, {16, 8})},
        {"all see-through", 8, 8, 4, 0, sf::IntRect()},
    }));
    CAPTURE(row.what);
    sf::Image image({row.width, row.height}, sf::Color(10, 20, 30, 255));
    for (unsigned y = 0; y < row.height; ++y)
        for (unsigned x = 0; x < row.width; ++x)
            if (x < row.border || y < row.border || x >= row.width - row.border || y >= row.height - row.border)
                image.setPixel({x, y}, sf::Color(10, 20, 30, row.edgeAlpha));
    const sf::IntRect found = opaqueInteriorOf(image.getPixelsPtr(), image.getSize());
    CHECK(found == row.interior);
    CHECK(allOpaque(image, found));
}

TEST_CASE("the game's plates carry their opaque interiors, found from their own pixels", "[plate][store]")
{
    TTextureStore& store = TTextureStore::instance();
    int plates = 0;
    for (int id : store.loadedIds()) {
        CAPTURE(id);
        const sf::Texture& texture = store.getTexture(id);
        const auto interior = store.opaqueInterior(texture);
        if (!TImageLoader::plate(id)) {
            CHECK_FALSE(interior.has_value());
            continue;
        }
        REQUIRE(interior.has_value());
        ++plates;
        // Read back here only to check: the game never reads a texture back.
        const sf::Image image = texture.copyToImage();
        CHECK(*interior == opaqueInteriorOf(image.getPixelsPtr(), image.getSize()));
        CHECK(allOpaque(image, *interior));
        // The windows' pages hide most of what lies under them.
        if (id == image::winSort || id == image::windowShop || id == image::shopPage1Background)
            CHECK(interior->size.x * interior->size.y * 2
                  > static_cast<int>(texture.getSize().x * texture.getSize().y));
    }
    CHECK(plates == 20);
}
