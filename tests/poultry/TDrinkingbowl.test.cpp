#include "poultry/TDrinkingbowl.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <catch2/catch_approx.hpp>
#include <catch2/catch_test_macros.hpp>

using Catch::Approx;

TEST_CASE("a drinking bowl's needle turns 0.3 degrees per drawn frame above the bowl", "[bowl]")
{
    testsupport::freshGame();
    TDrinkingbowl bowl;
    CHECK(&bowl.getTexture() == &TTextureStore::instance().getTexture(image::drinkingbowl));
    CHECK(bowl.getOrigin() == sf::Vector2f{70.5f, 143.f});
    CHECK(bowl.getScale() == sf::Vector2f{0.75f, 0.75f});
    CHECK(bowl.indicator.getOrigin() == sf::Vector2f{25.f, 25.f});
    CHECK(bowl.arrow.getOrigin() == sf::Vector2f{2.5f, 18.f});

    SECTION("layoutParts puts dial and needle 25 px above the bowl")
    {
        bowl.setPosition({694.f, 459.f});
        bowl.layoutParts();
        CHECK(bowl.indicator.getPosition() == sf::Vector2f{694.f, 434.f});
        CHECK(bowl.arrow.getPosition() == sf::Vector2f{694.f, 434.f});
    }
    SECTION("ten draws turn the needle 3 degrees and follow a moved bowl")
    {
        sf::RenderTexture canvas({64, 64});
        bowl.setPosition({300.f, 275.f});
        for (int i = 0; i < 10; ++i)
            bowl.draw(canvas);
        CHECK(bowl.arrow.getRotation().asDegrees() == Approx(3.f).margin(0.001f));
        CHECK(bowl.arrow.getPosition() == sf::Vector2f{300.f, 250.f});
    }
}
