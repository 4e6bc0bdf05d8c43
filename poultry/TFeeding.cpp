#include "poultry/TFeeding.hpp"

#include "core/TTextureStore.hpp"

#include <cmath>
#include <cstdint>

namespace {

constexpr int fullPicture = image::feeding;
constexpr int emptyPicture = image::emptyFeeding;
constexpr int warningIcon = image::iconWarning;

} // namespace

// Built with no food: the first update switches to the empty picture.
TFeeding::TFeeding()
    : TActor(TTextureStore::instance().getTexture(fullPicture))
{
    setOrigin({65.f, 113.f});
    setScale({0.75f, 0.75f});
}

void TFeeding::update(float dt)
{
    TActor::update(dt);
    // Eating birds may have taken it below zero during the last frame.
    if (food <= 0.f) {
        food = 0.f;
        blinkTime += dt;
        blinkAlpha = std::sin(6.283f * blinkTime) * 127.5f + 127.5f;
        setTextureById(emptyPicture, false);
    }
}

void TFeeding::draw(sf::RenderTarget& target)
{
    TActor::draw(target);
    if (food <= 0.f) {
        sf::Sprite& warning = TTextureStore::instance().getSprite(warningIcon);
        warning.setPosition(getPosition() + sf::Vector2f{-25.f, -125.f});
        warning.setColor(sf::Color(255, 255, 255, static_cast<std::uint8_t>(static_cast<int>(blinkAlpha))));
        target.draw(warning);
    }
}

// Only a refill of an exactly empty feeder brings back the full picture; one
// that went below zero in the same frame waits for its next empty spell.
void TFeeding::addFood(float amount)
{
    if (amount == 0.f)
        return;
    if (food == 0.f)
        setTextureById(fullPicture, false);
    food += amount;
}

float TFeeding::getFood() { return food; }
