// The kept picture's copy by the driver's framebuffer copy: exactly the
// picture's pixels on exactly the parts asked for, the right way up on render
// textures and on windows, and a refusal (for the caller to draw instead)
// where the copy cannot be made.
#include "world/TPictureBlit.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const sf::Vector2u size{96, 64};
const sf::Color ground(10, 200, 30);

// A picture no two rows or columns of which are alike, and some of its
// pixels translucent, painted into a render texture as the game paints its
// kept picture.
void paintPicture(sf::RenderTexture& picture)
{
    sf::Image image(size);
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x)
            image.setPixel({x, y}, sf::Color(static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 3),
                                             static_cast<std::uint8_t>(x ^ y), x % 7 == 0 ? 128 : 255));
    const sf::Texture texture(image);
    picture.clear(sf::Color::Black);
    picture.draw(sf::Sprite(texture), sf::BlendNone);
    picture.display();
}

bool inside(const std::vector<sf::IntRect>& parts, unsigned x, unsigned y)
{
    for (const sf::IntRect& part : parts)
        if (part.contains({static_cast<int>(x), static_cast<int>(y)}))
            return true;
    return false;
}

// Pixels of `shot` that are not what the copy should leave: the picture's
// inside the parts, the ground outside them.
long wrongPixels(const sf::Image& shot, const sf::Image& picture, const std::vector<sf::IntRect>& parts,
                 std::string& where)
{
    long wrong = 0;
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color want = inside(parts, x, y) ? picture.getPixel({x, y}) : ground;
            const sf::Color got = shot.getPixel({x, y});
            if (got.r == want.r && got.g == want.g && got.b == want.b)
                continue;
            if (wrong++ == 0)
                where = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return wrong;
}

} // namespace

TEST_CASE("the picture's parts are copied exactly, the right way up", "[scene][blit]")
{
    sf::RenderTexture picture(size);
    paintPicture(picture);
    const sf::Image wanted = picture.getTexture().copyToImage();
    // Parts at the corners, along the edges and one pixel wide.
    const std::vector<sf::IntRect> parts{
        {{0, 0}, {10, 7}}, {{90, 60}, {6, 4}}, {{20, 5}, {1, 50}}, {{40, 30}, {30, 1}}, {{50, 0}, {20, 20}}};
    TPictureBlit blit;
    std::string where;

    SECTION("onto a render texture")
    {
        sf::RenderTexture target(size);
        target.clear(ground);
        REQUIRE(blit.copy(picture, target, parts));
        target.display();
        const long wrong = wrongPixels(target.getTexture().copyToImage(), wanted, parts, where);
        INFO(wrong << " pixels wrong, " << where);
        CHECK(wrong == 0);
        // A render texture keeps its rows as the picture does: nothing to turn.
        CHECK(blit.turns == 0);
    }
    SECTION("onto a window, turning the picture once each time it changes")
    {
        sf::RenderWindow window(sf::VideoMode(size), "blit");
        const auto frame = [&] {
            window.clear(ground);
            REQUIRE(blit.copy(picture, window, parts));
            sf::Texture shot(window.getSize());
            shot.update(window);
            window.display();
            return shot.copyToImage();
        };
        REQUIRE(window.getSize() == size);
        for (int i = 0; i < 3; ++i) {
            const long wrong = wrongPixels(frame(), wanted, parts, where);
            INFO("frame " << i << ": " << wrong << " pixels wrong, " << where);
            CHECK(wrong == 0);
        }
        CHECK(blit.turns == 1);

        // Painted again: turned again, and the new pixels reach the window.
        picture.clear(sf::Color(200, 100, 50));
        picture.display();
        blit.pictureChanged();
        const sf::Image repainted = picture.getTexture().copyToImage();
        const long wrong = wrongPixels(frame(), repainted, parts, where);
        INFO(wrong << " pixels wrong after the picture changed, " << where);
        CHECK(wrong == 0);
        CHECK(blit.turns == 2);
    }
}

TEST_CASE("a copy that cannot be made is refused, leaving the target as it was", "[scene][blit]")
{
    sf::RenderTexture picture(size);
    paintPicture(picture);
    TPictureBlit blit;
    const std::vector<sf::IntRect> parts{{{0, 0}, {8, 8}}};

    SECTION("a target of another size")
    {
        sf::RenderTexture other({size.x, size.y + 1});
        other.clear(ground);
        CHECK_FALSE(blit.copy(picture, other, parts));
        other.display();
        CHECK(other.getTexture().copyToImage().getPixel({0, 0}) == ground);
    }
    SECTION("a target of several samples a pixel")
    {
        sf::ContextSettings settings;
        settings.antiAliasingLevel = 4;
        sf::RenderTexture smooth;
        if (!smooth.resize(size, settings) || !sf::RenderTexture::getMaximumAntiAliasingLevel())
            SKIP("no multisampled render textures here");
        smooth.clear(ground);
        CHECK_FALSE(blit.copy(picture, smooth, parts));
        // The refusal leaves the copy usable for other targets.
        sf::RenderTexture plain(size);
        plain.clear(ground);
        CHECK(blit.copy(picture, plain, parts));
    }
}
