#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>

// What a sprite's draw depends on: its texture, rectangle, colour and place.
struct TSpriteLook {
    const sf::Texture* texture = nullptr;
    sf::IntRect rect;
    std::uint32_t colour = 0;
    float matrix[6] = {};

    TSpriteLook() = default;
    explicit TSpriteLook(const sf::Sprite& sprite);
    bool operator==(const TSpriteLook&) const = default;
};
