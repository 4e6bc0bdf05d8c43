// A kept picture: what is put back is exactly what was taken, on exactly
// the parts asked for, the right way up on render textures and on windows;
// and a refusal (for the caller to draw instead) where it cannot be.
#include "world/TKeptPicture.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

const sf::Vector2u size{96, 64};
const sf::Color ground(10, 200, 30);

// A picture no two rows or columns of which are alike, some of its pixels
// translucent.
sf::Image pattern()
{
    sf::Image image(size);
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x)
            image.setPixel({x, y}, sf::Color(static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 3),
                                             static_cast<std::uint8_t>(x ^ y), x % 7 == 0 ? 128 : 255));
    return image;
}

// Parts at the corners, along the edges and one pixel wide.
const std::vector<sf::IntRect> parts{
    {{0, 0}, {10, 7}}, {{90, 60}, {6, 4}}, {{20, 5}, {1, 50}}, {{40, 30}, {30, 1}}, {{50, 0}, {20, 20}}};

bool inside(unsigned x, unsigned y)
{
    for (const sf::IntRect& part : parts)
        if (part.contains({static_cast<int>(x), static_cast<int>(y)}))
            return true;
    return false;
}

// Pixels of `shot` that are not what putting the parts back should leave:
// the taken picture's inside the parts, the ground outside them.
long wrongPixels(const sf::Image& shot, const sf::Image& taken, std::string& where)
{
    long wrong = 0;
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color want = inside(x, y) ? taken.getPixel({x, y}) : ground;
            const sf::Color got = shot.getPixel({x, y});
            if (got.r == want.r && got.g == want.g && got.b == want.b)
                continue;
            if (wrong++ == 0)
                where = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return wrong;
}

// Paints the pattern on `target`, takes the parts, covers the target with
// the ground colour, puts the parts back; returns what `read` then reads,
// and in `painted` what the target showed when the parts were taken.
sf::Image roundTrip(TKeptPicture& kept, sf::RenderTarget& target, const std::function<sf::Image()>& read,
                    sf::Image& painted)
{
    const sf::Texture texture(pattern());
    target.clear(sf::Color::Black);
    target.draw(sf::Sprite(texture), sf::BlendNone);
    painted = read();
    REQUIRE(kept.take(target, parts));
    CHECK(kept.fits(target));
    target.clear(ground);
    REQUIRE(kept.put(target, parts));
    return read();
}

} // namespace

TEST_CASE("a kept picture puts back exactly what it took, the right way up", "[scene][kept]")
{
    TKeptPicture kept;
    std::string where;
    sf::Image painted;

    SECTION("on a render texture")
    {
        sf::RenderTexture target(size);
        const auto read = [&] {
            target.display();
            return target.getTexture().copyToImage();
        };
        const sf::Image shot = roundTrip(kept, target, read, painted);
        const long wrong = wrongPixels(shot, painted, where);
        INFO(wrong << " pixels wrong, " << where);
        CHECK(wrong == 0);
        // Another render texture of the size takes the same picture.
        sf::RenderTexture other(size);
        other.clear(ground);
        REQUIRE(kept.put(other, parts));
        other.display();
        CHECK(wrongPixels(other.getTexture().copyToImage(), painted, where) == 0);
    }
    SECTION("on a window, frame after frame")
    {
        sf::RenderWindow window(sf::VideoMode(size), "kept picture");
        REQUIRE(window.getSize() == size);
        const auto read = [&] {
            sf::Texture shot(window.getSize());
            shot.update(window);
            return shot.copyToImage();
        };
        const sf::Image shot = roundTrip(kept, window, read, painted);
        long wrong = wrongPixels(shot, painted, where);
        INFO(wrong << " pixels wrong, " << where);
        CHECK(wrong == 0);
        for (int i = 0; i < 3; ++i) {
            window.display();
            window.clear(ground);
            REQUIRE(kept.put(window, parts));
            wrong = wrongPixels(read(), painted, where);
            INFO("frame " << i << ": " << wrong << " pixels wrong, " << where);
            CHECK(wrong == 0);
        }
    }
}

TEST_CASE("a kept picture refuses what it cannot do, leaving the target as it was", "[scene][kept]")
{
    TKeptPicture kept;
    sf::RenderTexture target(size);
    target.clear(ground);
    const auto untouched = [&](sf::RenderTexture& texture) {
        texture.display();
        return texture.getTexture().copyToImage().getPixel({0, 0}) == ground;
    };

    SECTION("nothing taken yet")
    {
        CHECK_FALSE(kept.fits(target));
        CHECK_FALSE(kept.put(target, parts));
        CHECK(untouched(target));
    }
    SECTION("a target of another size, or another kind")
    {
        REQUIRE(kept.take(target, parts));
        sf::RenderTexture other({size.x, size.y + 1});
        other.clear(ground);
        CHECK_FALSE(kept.fits(other));
        CHECK_FALSE(kept.put(other, parts));
        CHECK(untouched(other));
        sf::RenderWindow window(sf::VideoMode(size), "kept picture");
        CHECK_FALSE(kept.fits(window));
        CHECK_FALSE(kept.put(window, parts));
        // What was forgotten is not put back.
        kept.forget();
        CHECK_FALSE(kept.put(target, parts));
    }
    SECTION("a target of several samples a pixel")
    {
        sf::ContextSettings settings;
        settings.antiAliasingLevel = 4;
        sf::RenderTexture smooth;
        if (!sf::RenderTexture::getMaximumAntiAliasingLevel() || !smooth.resize(size, settings))
            SKIP("no multisampled render textures here");
        smooth.clear(ground);
        CHECK_FALSE(kept.take(smooth, parts));
        // The refusal leaves the picture usable for other targets.
        CHECK(kept.take(target, parts));
        CHECK(kept.put(target, parts));
    }
}
