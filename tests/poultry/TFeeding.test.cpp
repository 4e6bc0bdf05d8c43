#include "poultry/TFeeding.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <catch2/catch_approx.hpp>
#include <catch2/catch_test_macros.hpp>

using Catch::Approx;

TEST_CASE("an empty feeder shows the empty picture and a blinking warning", "[feeder]")
{
    testsupport::freshGame();
    TFeeding feeder;
    feeder.setPosition({100.f, 275.f});
    CHECK(feeder.getFood() == 0.f);
    CHECK(&feeder.getTexture() == testsupport::storeTexture(image::feeding));
    CHECK(feeder.getOrigin() == sf::Vector2f{65.f, 113.f});
    CHECK(feeder.getScale() == sf::Vector2f{0.75f, 0.75f});

    feeder.update(0.25f);
    CHECK(&feeder.getTexture() == testsupport::storeTexture(image::emptyFeeding));

    SECTION("a quarter second into the blink the warning is opaque, at 0.75 s clear")
    {
        // sin(6.283 * 0.25) * 127.5 + 127.5 is 255 to within a hair.
        CHECK(feeder.blinkAlpha == Approx(255.f).margin(0.01f));
        feeder.update(0.5f);
        CHECK(feeder.blinkTime == Approx(0.75f));
        CHECK(feeder.blinkAlpha == Approx(0.f).margin(0.01f));
    }
    SECTION("the warning stamp is drawn 25 px left and 125 px above, with the blink's opacity")
    {
        feeder.update(0.25f); // blinkTime 0.5: sin(3.1415) ~ 0, alpha ~ 127.5
        sf::RenderTexture canvas({64, 64});
        feeder.draw(canvas);
        const sf::Sprite& warning = TTextureStore::instance().getSprite(image::iconWarning);
        CHECK(warning.getPosition() == sf::Vector2f{75.f, 150.f});
        CHECK(warning.getColor().a == static_cast<int>(feeder.blinkAlpha));
        CHECK(warning.getColor().a == 127);
    }
    SECTION("addFood(0) on an empty feeder changes neither picture nor amount")
    {
        feeder.addFood(0.f);
        CHECK(feeder.getFood() == 0.f);
        CHECK(&feeder.getTexture() == testsupport::storeTexture(image::emptyFeeding));
    }
    SECTION("a refill of an exactly empty feeder brings back the full picture")
    {
        feeder.addFood(10.f);
        CHECK(feeder.getFood() == 10.f);
        CHECK(&feeder.getTexture() == testsupport::storeTexture(image::feeding));
        feeder.update(1.f);
        CHECK(&feeder.getTexture() == testsupport::storeTexture(image::feeding));
        CHECK(feeder.blinkTime == 0.25f);
    }
    SECTION("eaten below zero, it is set back to 0 and the empty picture on the next update")
    {
        feeder.addFood(0.05f);
        feeder.addFood(-0.1f);
        CHECK(feeder.getFood() < 0.f);
        // Not exactly empty: this refill keeps the picture it had.
        feeder.addFood(30.f);
        CHECK(feeder.getFood() == Approx(29.95f));
        feeder.addFood(-40.f);
        feeder.update(0.1f);
        CHECK(feeder.getFood() == 0.f);
        CHECK(&feeder.getTexture() == testsupport::storeTexture(image::emptyFeeding));
        CHECK(feeder.blinkTime == Approx(0.35f));
    }
}
