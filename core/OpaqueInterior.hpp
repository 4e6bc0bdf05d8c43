#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>

// A rectangle of an image of `size` pixels of RGBA at `rgba` (rows top to
// bottom) whose every pixel is fully opaque, or an empty one: from the whole
// image, the edges step in until what is left is opaque. Frames and rounded
// corners are narrow, so this keeps most of a plate.
sf::IntRect opaqueInteriorOf(const std::uint8_t* rgba, sf::Vector2u size);
