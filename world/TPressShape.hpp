#pragma once

#include "core/TPressMask.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>

// Which points a picture on the screen really covers: those where it is
// drawn, through its own placing (position, origin, scale, rotation), and
// only where its pixels show (alpha above a small threshold). What shows is
// read from the masks the texture store made as the images were decoded; a
// texture is never read back.
class TPressShape {
public:
    // The alpha (0..255) a pixel needs to count as drawn.
    static constexpr std::uint8_t threshold = TPressMask::threshold;

    // Whether the sprite, as placed, shows a pixel at the point.
    bool covers(const sf::Sprite& sprite, sf::Vector2f point) const;
    // Whether the texel (x, y) of the texture is drawn; false outside it. A
    // texture the store keeps no mask for counts as drawn all over.
    bool drawnAt(const sf::Texture& texture, int x, int y) const;
};
