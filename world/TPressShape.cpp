#include "world/TPressShape.hpp"

#include "platform/StartupMemory.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <utility>

bool TPressShape::covers(const sf::Sprite& sprite, sf::Vector2f point)
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

bool TPressShape::drawnAt(const sf::Texture& texture, int x, int y)
{
    const Mask& mask = maskOf(texture);
    if (x < 0 || y < 0 || x >= mask.width || y >= mask.height)
        return false;
    return mask.drawn[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) + static_cast<std::size_t>(x)];
}

void TPressShape::clear() { masks.clear(); }

const TPressShape::Mask& TPressShape::maskOf(const sf::Texture& texture)
{
    if (const auto found = masks.find(&texture); found != masks.end())
        return found->second;
    Mask mask;
    {
        const sf::Image image = texture.copyToImage();
        mask.width = static_cast<int>(image.getSize().x);
        mask.height = static_cast<int>(image.getSize().y);
        const std::size_t count = static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height);
        mask.drawn.resize(count);
        const std::uint8_t* pixels = image.getPixelsPtr();
        for (std::size_t i = 0; i < count; ++i)
            mask.drawn[i] = pixels[i * 4 + 3] > threshold;
    }
    // The pixels read back leave the heap again.
    releaseFreeHeap();
    return masks.emplace(&texture, std::move(mask)).first->second;
}
