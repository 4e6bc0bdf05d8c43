// Many sprites as a few draws: one run per stretch of the same texture, and
// the pixels of drawing each sprite by itself.
#include "actors/TSpriteBatch.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A 4 x 4 picture: its left half `left`, its right half `right`.
sf::Texture halves(sf::Color left, sf::Color right)
{
    sf::Image image({4, 4}, left);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 2; x < 4; ++x)
            image.setPixel({x, y}, right);
    return sf::Texture(image);
}

// One small target for the whole program (each is a context of its own).
sf::RenderTexture& canvas()
{
    static sf::RenderTexture target(sf::Vector2u(48, 48));
    return target;
}

sf::Image shot()
{
    canvas().display();
    return canvas().getTexture().copyToImage();
}

} // namespace

TEST_CASE("a batch draws one run per stretch of sprites on the same texture", "[actors][batch]")
{
    const sf::Texture a = halves(sf::Color::Red, sf::Color::Blue);
    const sf::Texture b = halves(sf::Color::Green, sf::Color::Yellow);
    struct Row {
        std::string textures; // one letter per sprite added
        std::size_t runs;
    };
    const Row rows[] = {{"", 0}, {"a", 1}, {"aaa", 1}, {"ab", 2}, {"aba", 3}, {"aabba", 3}, {"bbbbab", 3}};
    for (const Row& row : rows) {
        INFO("textures " << row.textures);
        TSpriteBatch batch;
        for (char t : row.textures)
            batch.add(sf::Sprite(t == 'a' ? a : b));
        CHECK(batch.runCount() == row.runs);
        CHECK(batch.empty() == row.textures.empty());
        batch.clear();
        CHECK(batch.empty());
        CHECK(batch.runCount() == 0);
    }
}

TEST_CASE("a batch paints the pixels of its sprites drawn one by one", "[actors][batch]")
{
    const sf::Texture a = halves(sf::Color::Red, sf::Color::Blue);
    const sf::Texture b = halves(sf::Color::Green, sf::Color(255, 255, 0, 128));
    std::vector<sf::Sprite> sprites;
    // Plain, moved by half a pixel, scaled, turned about its middle, mirrored
    // by its rectangle, tinted, and one on the other texture over them all.
    sprites.emplace_back(a).setPosition({2.f, 2.f});
    sprites.emplace_back(a).setPosition({8.5f, 2.25f});
    sprites.emplace_back(a).setScale({3.f, 2.f});
    sprites.back().setPosition({16.f, 2.f});
    sprites.emplace_back(a).setOrigin({2.f, 2.f});
    sprites.back().setPosition({8.f, 20.f});
    sprites.back().setRotation(sf::degrees(30.f));
    sprites.emplace_back(a).setTextureRect({{4, 0}, {-4, 4}});
    sprites.back().setPosition({40.f, 2.f});
    sprites.emplace_back(a).setColor(sf::Color(255, 255, 255, 100));
    sprites.back().setPosition({30.f, 30.f});
    sprites.emplace_back(b).setScale({8.f, 8.f});
    sprites.back().setPosition({10.f, 10.f});

    canvas().clear(sf::Color::Black);
    for (const sf::Sprite& sprite : sprites)
        canvas().draw(sprite);
    const sf::Image single = shot();

    TSpriteBatch batch;
    for (const sf::Sprite& sprite : sprites)
        batch.add(sprite);
    REQUIRE(batch.runCount() == 2);
    canvas().clear(sf::Color::Black);
    batch.draw(canvas());
    const sf::Image batched = shot();
    CHECK(std::memcmp(single.getPixelsPtr(), batched.getPixelsPtr(), 48 * 48 * 4) == 0);

    // The first sprite where it was put: red at (2..4, 2..6), blue at
    // (4..6, 2..6), nothing drawn at (1, 1).
    CHECK(batched.getPixel({2, 2}) == sf::Color::Red);
    CHECK(batched.getPixel({5, 5}) == sf::Color::Blue);
    CHECK(batched.getPixel({1, 1}) == sf::Color::Black);
    // The mirrored one, at (40, 2), shows blue on its left.
    CHECK(batched.getPixel({40, 2}) == sf::Color::Blue);
    CHECK(batched.getPixel({43, 5}) == sf::Color::Red);
}
