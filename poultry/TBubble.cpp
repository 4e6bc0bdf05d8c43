#include "poultry/TBubble.hpp"

#include "core/TTextureStore.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>

TBubble::TBubble()
    : TBubble(TTextureStore::instance().getTexture(image::bubble))
{
}

TBubble::TBubble(const sf::Texture& texture)
    : TActor(texture)
{
    setOrigin(sf::Vector2f(texture.getSize()) / 2.f);
}

void TBubble::spawn(float x, float y)
{
    setPosition({x, y});
    speed = static_cast<float>(std::rand() % 100 + 50);
    // Floating-point division: 0.70..0.89, not a flat 0.7.
    bubbleScale = static_cast<float>(std::rand() % 20) / 100.f + 0.7f;
    alpha = 255.f;
    setScale({bubbleScale, bubbleScale});
    setColor(sf::Color::White);
    alive = true;
}

void TBubble::update(float dt)
{
    if (!alive)
        return;
    move({0.f, -speed * dt});
    alpha -= 80.f * dt;
    if (alpha < 0.f)
        alpha = 0.f;
    setColor(sf::Color(255, 255, 255, static_cast<std::uint8_t>(static_cast<int>(alpha))));
    // The sway changes direction every 314 pixels of rise.
    const float y = getPosition().y;
    move({2.f * std::sin(0.01f * y) * dt, 0.f});
    if (alpha <= 0.f || y < -50.f)
        alive = false;
}

void TBubble::draw(sf::RenderTarget& target)
{
    if (alive)
        TActor::draw(target);
}

void TBubble::addTo(TSpriteBatch& batch) const
{
    if (alive && visible)
        batch.add(*this);
}
