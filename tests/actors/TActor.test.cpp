#include "actors/TActor.hpp"

#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

TEST_CASE("an actor is hit on and inside the edges of its scaled rectangle", "[actor]")
{
    testsupport::freshGame();
    TActor actor(TTextureStore::instance().getTexture(image::eggC1)); // 30 x 40 egg
    actor.setPosition({100.f, 200.f});
    actor.setOrigin({15.f, 20.f});

    SECTION("all four edges are inside")
    {
        CHECK(actor.contains(85.f, 180.f));
        CHECK(actor.contains(115.f, 220.f));
        CHECK(actor.contains(85.f, 220.f));
        CHECK(actor.contains(115.f, 180.f));
        CHECK_FALSE(actor.contains(84.9f, 200.f));
        CHECK_FALSE(actor.contains(115.1f, 200.f));
        CHECK_FALSE(actor.contains(100.f, 220.1f));
    }
    SECTION("a hidden actor is never hit, not even at its origin")
    {
        actor.visible = false;
        CHECK_FALSE(actor.contains(100.f, 200.f));
    }
    SECTION("scaling shrinks the area around the origin")
    {
        actor.setScale({0.5f, 0.5f});
        CHECK(actor.contains(92.5f, 190.f));
        CHECK(actor.contains(107.5f, 210.f));
        CHECK_FALSE(actor.contains(92.f, 200.f));
        CHECK_FALSE(actor.contains(100.f, 211.f));
    }
    SECTION("a mirrored actor is hit where it is drawn")
    {
        actor.setOrigin({10.f, 20.f}); // off-centre, so mirroring moves the box
        actor.setScale({-0.3f, 0.3f});
        // Mirrored about x = 100: from 100 - (30 - 10) * 0.3 = 94 to 100 + 10 * 0.3 = 103.
        CHECK(actor.contains(94.f, 200.f));
        CHECK(actor.contains(103.f, 200.f));
        CHECK_FALSE(actor.contains(93.9f, 200.f));
        CHECK_FALSE(actor.contains(103.1f, 200.f));
        actor.setScale({0.3f, 0.3f});
        CHECK(actor.contains(97.f, 200.f));
        CHECK(actor.contains(106.f, 200.f));
        CHECK_FALSE(actor.contains(96.9f, 200.f));
    }
}

TEST_CASE("an actor's size and bounds ignore its scale", "[actor]")
{
    testsupport::freshGame();
    TActor card(TTextureStore::instance().getTexture(image::kurort)); // 358 x 540
    card.setPosition({1420.f, 975.f});
    card.setOrigin({179.f, 270.f});
    card.setScale({0.5f, 0.5f});
    CHECK(card.getSize() == sf::Vector2f(358.f, 540.f));
    const sf::FloatRect bounds = card.getBounds();
    CHECK(bounds.position == sf::Vector2f(1241.f, 705.f));
    CHECK(bounds.size == sf::Vector2f(358.f, 540.f));
}

TEST_CASE("re-texturing keeps or resets the texture rectangle", "[actor]")
{
    testsupport::freshGame();
    TActor actor(TTextureStore::instance().getTexture(image::walk)); // walk sheet 4096 x 2560
    actor.centered = true;
    actor.setTextureRect(sf::IntRect({512, 0}, {64, 64}));
    actor.setOrigin({32.f, 32.f});

    SECTION("without reset the 64 x 64 frame stays")
    {
        actor.setTextureById(image::eggC1, false);
        CHECK(actor.getTextureRect() == sf::IntRect({512, 0}, {64, 64}));
        CHECK(actor.getOrigin() == sf::Vector2f(32.f, 32.f));
        CHECK(&actor.getTexture() == &TTextureStore::instance().getTexture(image::eggC1));
    }
    SECTION("with reset the rectangle widens and a centred actor re-centres")
    {
        actor.setTextureById(image::kurort, true);
        CHECK(actor.getTextureRect() == sf::IntRect({0, 0}, {358, 540}));
        CHECK(actor.getOrigin() == sf::Vector2f(179.f, 270.f));
    }
    SECTION("an uncentred actor keeps its origin on reset")
    {
        actor.centered = false;
        actor.setTextureById(image::kurort, true);
        CHECK(actor.getOrigin() == sf::Vector2f(32.f, 32.f));
    }
}

TEST_CASE("an actor built without a texture uses the placeholder", "[actor]")
{
    testsupport::freshGame();
    TActor actor;
    CHECK(&actor.getTexture() == &TTextureStore::instance().getTexture(image::placeholder));
    CHECK(actor.visible);
    CHECK_FALSE(actor.centered);
}
