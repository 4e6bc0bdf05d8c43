#include "world/TPressShape.hpp"

#include "core/TTextureStore.hpp"

#include <cmath>

bool TPressShape::covers(const sf::Sprite& sprite, sf::Vector2f point) const
{
    // Back into the picture's own pixels, then into its texture rectangle
    // (which a negative size mirrors).
    const sf::Vector2f local = sprite.getInverseTransform().transformPoint(point);
    const sf::IntRect rect = sprite.getTextureRect();
    const float w = static_cast<float>(std::abs(rect.size.x));
    const float h = static_cast<float>(std::abs(rect.size.y));
    if (!(local.x >= 0.f && local.x < w && local.y >= 0.f && local.y < h))
        return false;
    const int dx = static_cast<int>(std::floor(local.x));
    const int dy = static_cast<int>(std::floor(local.y));
    const int x = rect.size.x >= 0 ? rect.position.x + dx : rect.position.x - 1 - dx;
    const int y = rect.size.y >= 0 ? rect.position.y + dy : rect.position.y - 1 - dy;
    return drawnAt(sprite.getTexture(), x, y);
}

bool TPressShape::drawnAt(const sf::Texture& texture, int x, int y) const
{
    if (const TPressMask* mask = TTextureStore::instance().pressMask(texture))
        return mask->drawnAt(x, y);
    const sf::Vector2u size = texture.getSize();
    return x >= 0 && y >= 0 && static_cast<unsigned>(x) < size.x && static_cast<unsigned>(y) < size.y;
}
