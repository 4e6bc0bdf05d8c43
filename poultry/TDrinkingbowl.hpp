#pragma once

#include "actors/TActor.hpp"

#include <SFML/Graphics/Sprite.hpp>

// A drinking bowl: never runs dry; it only shows a dial whose needle turns a
// little every time it is drawn.
class TDrinkingbowl : public TActor {
public:
    TDrinkingbowl();

    void draw(sf::RenderTarget& target) override;
    // Keeps the dial and needle on the bowl.
    void layoutParts() override;

    sf::Sprite indicator; // dial face
    sf::Sprite arrow;     // needle
};
