#pragma once

#include "actors/TActor.hpp"

#include <SFML/Graphics/Text.hpp>

// An image with a count and a label showing it: the inventory bar's cells
// and the shop's item places. The image shows only while the count is above 0.
class TSlot : public TActor {
public:
    TSlot();

    void setupSlot(int textureId, sf::Vector2f position, sf::Vector2f labelPosition, unsigned characterSize);
    void refreshCountText();

    void draw(sf::RenderTarget& target) override;
    // Writes a trace line; a button's click can be bound to it.
    void changeValue(float value) override;

    int count = 0;
    sf::Text label;
};

// Refreshes the labels of the six inventory slots.
void refreshInventoryTexts();
