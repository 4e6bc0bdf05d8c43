#include "actors/TActor.hpp"

#include "core/TTextureStore.hpp"

#include <algorithm>

TActor::TActor()
    : sf::Sprite(TTextureStore::instance().getTexture(image::placeholder))
{
}

TActor::TActor(const sf::Texture& texture)
    : sf::Sprite(texture)
{
}

void TActor::update(float) {}

void TActor::draw(sf::RenderTarget& target)
{
    if (visible)
        target.draw(static_cast<const sf::Sprite&>(*this));
}

bool TActor::contains(float x, float y)
{
    if (!visible)
        return false;
    const sf::Vector2f p = getPosition();
    const sf::Vector2f o = getOrigin();
    const sf::Vector2f s = getScale();
    const sf::IntRect rect = getTextureRect();
    const float w = static_cast<float>(rect.size.x);
    const float h = static_cast<float>(rect.size.y);
    // A negative scale mirrors the rectangle about the origin, so take the
    // edges in whichever order they come.
    const float x1 = p.x - o.x * s.x;
    const float x2 = p.x + (w - o.x) * s.x;
    const float y1 = p.y - o.y * s.y;
    const float y2 = p.y + (h - o.y) * s.y;
    return std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y && y <= std::max(y1, y2);
}

void TActor::layoutParts() {}

sf::Vector2f TActor::getSize()
{
    const sf::IntRect rect = getTextureRect();
    return {static_cast<float>(rect.size.x), static_cast<float>(rect.size.y)};
}

sf::FloatRect TActor::getBounds() { return {getPosition() - getOrigin(), getSize()}; }

void TActor::resetTextureRect()
{
    setTextureRect(sf::IntRect({0, 0}, sf::Vector2i(getTexture().getSize())));
    if (centered)
        setOrigin(getSize() / 2.f);
}

void TActor::setTextureById(int id, bool resetRect)
{
    setTexture(TTextureStore::instance().getTexture(id), false);
    if (resetRect)
        resetTextureRect();
}

void TActor::changeValue(float) {}
