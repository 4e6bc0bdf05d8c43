#include "eggline/EgglineObjects.hpp"

#include "core/ImageTable.hpp"

#include <SFML/System/Vector2.hpp>

#include <cstddef>

TDeferred<std::array<TSlot, 6>> inventorySlots;
TDeferred<TSort> sortMachine;
TDeferred<TShop> shop;

void resetGameObjects()
{
    // In their start-up order: the inventory, the sorting machine, the shop.
    shop.reset();
    sortMachine.reset();
    inventorySlots.reset();
    inventorySlots.emplace();
    // The inventory bar: three feed bags, the pills and two spare cells; the
    // labels stand every 66 pixels from x 103.
    const int slotTextures[6] = {image::cormbaby1, image::cormbaby2,   image::cormbaby3,
                                 image::tabletki,  image::placeholder, image::placeholder};
    const sf::Vector2f slotPositions[6] = {{75.f, 939.f},  {145.f, 929.f}, {206.f, 939.f},
                                           {270.f, 929.f}, {0.f, 0.f},     {0.f, 0.f}};
    for (std::size_t k = 0; k < 6; ++k)
        inventorySlots[k].setupSlot(slotTextures[k], slotPositions[k], {103.f + 66.f * static_cast<float>(k), 1000.f},
                                    12);
    refreshInventoryTexts();
    sortMachine.emplace();
    shop.emplace();
}
