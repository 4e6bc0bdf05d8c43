#include "eggline/TSlot.hpp"

#include "actors/Geometry.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"

#include <iostream>
#include <string>

TSlot::TSlot()
    : label(TTextureStore::instance().getFont(), "", 30)
{
}

void TSlot::setupSlot(int textureId, sf::Vector2f position, sf::Vector2f labelPosition, unsigned characterSize)
{
    setPosition(position);
    styleText(label, characterSize, labelPosition, sf::Color::White);
    setTextureById(textureId, true);
}

void TSlot::refreshCountText() { label.setString(std::to_string(count)); }

void TSlot::draw(sf::RenderTarget& target)
{
    // An empty slot keeps its place in the bar: the label still says 0.
    if (count > 0)
        TActor::draw(target);
    drawText(target, label);
}

void TSlot::changeValue(float value)
{
    // Kept as a console trace: handy for checking what a bound button sends.
    std::cout << "TSlot::changeValue(" << value << ")" << std::endl;
}

void refreshInventoryTexts()
{
    for (std::size_t k = 0; k < 6; ++k)
        inventorySlots[k].refreshCountText();
}
