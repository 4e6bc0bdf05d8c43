#include "actors/Geometry.hpp"

#include <SFML/Graphics/Font.hpp>

bool rectContains(const sf::IntRect& rect, sf::Vector2f point)
{
    const float left = static_cast<float>(rect.position.x);
    const float top = static_cast<float>(rect.position.y);
    const float right = left + static_cast<float>(rect.size.x);
    const float bottom = top + static_cast<float>(rect.size.y);
    return left < point.x && point.x < right && top < point.y && point.y < bottom;
}

void styleText(sf::Text& text, unsigned characterSize, sf::Vector2f position, sf::Color color)
{
    text.setFillColor(color);
    text.setCharacterSize(characterSize);
    text.setPosition(position);
}

void drawText(sf::RenderTarget& target, const sf::Text& text)
{
    // An opened font always names its family; one that failed to open has none.
    if (!text.getFont().getInfo().family.empty())
        target.draw(text);
}
