#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>

// Strict containment: a point on any edge of the rectangle is outside. Used
// for the packages, the scanner and the shop's click areas.
bool rectContains(const sf::IntRect& rect, sf::Vector2f point);

// Sets a text's fill colour, then its character size, then its position.
void styleText(sf::Text& text, unsigned characterSize, sf::Vector2f position, sf::Color color);

// Draws a text, unless its font could not be opened (the font file is
// missing): the media library cannot lay out letters without one, so such
// texts are simply not shown.
void drawText(sf::RenderTarget& target, const sf::Text& text);
