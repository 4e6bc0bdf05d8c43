#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <unordered_map>
#include <vector>

// Which points a picture on the screen really covers: those where it is
// drawn, through its own placing (position, origin, scale, rotation), and
// only where its pixels show (alpha above a small threshold). Each texture's
// alpha is read back once, the first time it is asked about, and kept.
class TPressShape {
public:
    // The alpha (0..255) a pixel needs to count as drawn.
    static constexpr std::uint8_t threshold = 24;

    // Whether the sprite, as placed, shows a pixel at the point.
    bool covers(const sf::Sprite& sprite, sf::Vector2f point);
    // Whether the texel (x, y) of the texture is drawn; false outside it.
    bool drawnAt(const sf::Texture& texture, int x, int y);
    // Forgets every texture (for a store made anew).
    void clear();

private:
    struct Mask {
        int width = 0;
        int height = 0;
        std::vector<bool> drawn; // row by row
    };
    const Mask& maskOf(const sf::Texture& texture);
    std::unordered_map<const sf::Texture*, Mask> masks;
};
