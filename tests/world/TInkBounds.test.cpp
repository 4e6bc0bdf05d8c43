// Where a picture has ink, from its coarse map: the part of a rectangle
// outside of which the filter reads nothing but transparent texels.
#include "world/TInkBounds.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdint>
#include <vector>

TEST_CASE("the inked part of a rectangle, read from a coarse map", "[scene][ink]")
{
    // A 32 x 24 picture (4 x 3 cells of 8) with one inked pixel at (13, 9):
    // its cell spans texels 8..16 across and down.
    std::vector<std::uint8_t> rgba(32 * 24 * 4, 0);
    rgba[(9 * 32 + 13) * 4 + 3] = 255;
    const TInkMap map(rgba.data(), {32, 24});
    REQUIRE(map.columns() == 4);
    REQUIRE(map.rows() == 3);

    struct Row {
        const char* what;
        sf::IntRect rect;
        int reach;
        sf::IntRect inked; // relative to the rectangle's top left
    };
    const Row rows[] = {
        {"the whole picture: the inked cell", {{0, 0}, {32, 24}}, 0, {{8, 8}, {8, 8}}},
        {"widened by the filter's reach", {{0, 0}, {32, 24}}, 2, {{6, 6}, {12, 12}}},
        {"mirrored: the same texels", {{32, 0}, {-32, 24}}, 0, {{8, 8}, {8, 8}}},
        {"beside the ink, out of reach: nothing", {{16, 0}, {16, 24}}, 0, {}},
        {"beside the ink, within reach: its bleeding edge", {{16, 0}, {16, 24}}, 4, {{0, 4}, {4, 16}}},
        {"an empty corner", {{24, 16}, {8, 8}}, 0, {}},
        {"wider than the map: all of it", {{0, 0}, {40, 24}}, 0, {{0, 0}, {40, 24}}},
    };
    for (const Row& row : rows) {
        INFO(row.what);
        CHECK(TInkBounds::inkedBy(&map, row.rect, row.reach) == row.inked);
    }
    // No map at all: all of it.
    CHECK(TInkBounds::inkedBy(nullptr, {{3, 4}, {10, 6}}, 2) == sf::IntRect({0, 0}, {10, 6}));
}

TEST_CASE("a texture the store made no map of is inked all over", "[scene][ink]")
{
    testsupport::freshGame();
    const sf::Texture texture(sf::Image({16, 16}, sf::Color::Transparent));
    TInkBounds bounds;
    CHECK(bounds.inked(texture, {{2, 2}, {12, 5}}, 4) == sf::IntRect({0, 0}, {12, 5}));
    // Asked again, the same answer (kept).
    CHECK(bounds.inked(texture, {{2, 2}, {12, 5}}, 4) == sf::IntRect({0, 0}, {12, 5}));
}
