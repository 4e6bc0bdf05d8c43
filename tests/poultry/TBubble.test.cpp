#include "poultry/TBubble.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <catch2/catch_approx.hpp>
#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <cstdlib>

using Catch::Approx;

TEST_CASE("a bubble is born dead and spawn brings it to life with drawn speed and size", "[bubble]")
{
    testsupport::freshGame();
    TBubble bubble;
    const sf::Texture& picture = TTextureStore::instance().getTexture(image::bubble);
    CHECK(&bubble.getTexture() == &picture);
    CHECK(bubble.getOrigin() == sf::Vector2f(picture.getSize()) / 2.f);
    CHECK_FALSE(bubble.alive);
    CHECK(bubble.alpha == 255.f);

    SECTION("a dead bubble neither moves nor fades")
    {
        bubble.setPosition({10.f, 20.f});
        bubble.update(1.f);
        CHECK(bubble.getPosition() == sf::Vector2f{10.f, 20.f});
        CHECK(bubble.alpha == 255.f);
    }
    SECTION("speed is drawn before the scale, both from rand()")
    {
        std::srand(7);
        const int s = std::rand();
        const int k = std::rand();
        std::srand(7);
        bubble.spawn(100.f, 200.f);
        CHECK(bubble.alive);
        CHECK(bubble.getPosition() == sf::Vector2f{100.f, 200.f});
        CHECK(bubble.speed == static_cast<float>(s % 100 + 50));
        CHECK(bubble.bubbleScale == static_cast<float>(k % 20) / 100.f + 0.7f);
        CHECK(bubble.getScale() == sf::Vector2f{bubble.bubbleScale, bubble.bubbleScale});
        CHECK(bubble.bubbleScale >= 0.7f);
        CHECK(bubble.bubbleScale < 0.9f);
    }
    SECTION("a bubble made with another picture centres on that picture")
    {
        const sf::Texture& notes = TTextureStore::instance().getTexture(image::majesticonsMusic);
        TBubble music(notes);
        CHECK(&music.getTexture() == &notes);
        CHECK(music.getOrigin() == sf::Vector2f(notes.getSize()) / 2.f);
    }
}

TEST_CASE("a live bubble rises, sways, fades and dies", "[bubble]")
{
    testsupport::freshGame();
    TBubble bubble;
    bubble.spawn(0.f, 500.f);
    bubble.speed = 100.f;

    SECTION("with dt = 0 nothing changes")
    {
        bubble.update(0.f);
        CHECK(bubble.getPosition() == sf::Vector2f{0.f, 500.f});
        CHECK(bubble.alpha == 255.f);
        CHECK(bubble.alive);
    }
    SECTION("half a second: 50 px up, alpha 215, a sway of 2 sin(4.5) * 0.5")
    {
        bubble.update(0.5f);
        CHECK(bubble.getPosition().y == 450.f);
        CHECK(bubble.getPosition().x == Approx(std::sin(4.5f)));
        CHECK(bubble.alpha == 215.f);
        CHECK(bubble.getColor() == sf::Color(255, 255, 255, 215));
    }
    SECTION("it fades out after 255 / 80 = 3.19 s")
    {
        bubble.speed = 0.f;
        bubble.update(3.f);
        CHECK(bubble.alive);
        CHECK(bubble.alpha == 15.f);
        bubble.update(0.2f);
        CHECK(bubble.alpha == 0.f);
        CHECK_FALSE(bubble.alive);
    }
    SECTION("spawned at y -40 with speed 149, it dies on the fifth 1/60 s frame, above -50")
    {
        bubble.spawn(0.f, -40.f);
        bubble.speed = 149.f;
        for (int i = 0; i < 4; ++i)
            bubble.update(1.f / 60.f);
        CHECK(bubble.getPosition().y == Approx(-49.9333f));
        CHECK(bubble.alive);
        bubble.update(1.f / 60.f);
        CHECK_FALSE(bubble.alive);
        const sf::Vector2f where = bubble.getPosition();
        bubble.update(1.f);
        CHECK(bubble.getPosition() == where);
    }
}
