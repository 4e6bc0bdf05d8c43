#include "poultry/TDrinkingbowl.hpp"

#include "core/TTextureStore.hpp"

TDrinkingbowl::TDrinkingbowl()
    : TActor(TTextureStore::instance().getTexture(image::drinkingbowl))
    , indicator(TTextureStore::instance().getTexture(image::indicator))
    , arrow(TTextureStore::instance().getTexture(image::arrowindicator))
{
    setOrigin({70.5f, 143.f});
    setScale({0.75f, 0.75f});
    indicator.setOrigin({25.f, 25.f});
    arrow.setOrigin({2.5f, 18.f});
}

// The bowl may have been moved since the last frame, so the dial follows it
// here rather than at placement.
void TDrinkingbowl::draw(sf::RenderTarget& target)
{
    layoutParts();
    TActor::draw(target);
    target.draw(indicator);
    target.draw(arrow);
    // The needle's turn is tied to drawing, not to time.
    arrow.rotate(sf::degrees(0.3f));
}

void TDrinkingbowl::layoutParts()
{
    const sf::Vector2f dial = getPosition() + sf::Vector2f{0.f, -25.f};
    indicator.setPosition(dial);
    arrow.setPosition(dial);
}
