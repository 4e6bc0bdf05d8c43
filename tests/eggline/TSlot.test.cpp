#include "eggline/TSlot.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <iostream>
#include <sstream>

TEST_CASE("a slot is placed, labelled and counted", "[eggline][slot]")
{
    testsupport::freshGame();
    TSlot slot;
    CHECK(slot.count == 0);
    CHECK(slot.label.getString().isEmpty());
    CHECK(slot.label.getCharacterSize() == 30);

    slot.setupSlot(image::cormbaby2, {145.f, 929.f}, {169.f, 1000.f}, 12);
    CHECK(slot.getPosition() == sf::Vector2f(145.f, 929.f));
    CHECK(slot.label.getPosition() == sf::Vector2f(169.f, 1000.f));
    CHECK(slot.label.getCharacterSize() == 12);
    CHECK(slot.label.getFillColor() == sf::Color::White);
    CHECK(&slot.getTexture() == &TTextureStore::instance().getTexture(image::cormbaby2));
    CHECK(slot.getTextureRect().size == sf::Vector2i(TTextureStore::instance().getTexture(image::cormbaby2).getSize()));

    SECTION("the label shows the count after a refresh")
    {
        slot.count = 12;
        CHECK(slot.label.getString().isEmpty());
        slot.refreshCountText();
        CHECK(slot.label.getString() == "12");
    }
    SECTION("changeValue writes its trace line")
    {
        std::ostringstream out;
        std::streambuf* old = std::cout.rdbuf(out.rdbuf());
        slot.changeValue(2.5f);
        std::cout.rdbuf(old);
        CHECK(out.str() == "TSlot::changeValue(2.5)\n");
    }
}

TEST_CASE("an empty slot shows only its label, a stocked one its image too", "[eggline][slot]")
{
    testsupport::freshGame();
    TSlot slot;
    // The feed bag (62 x 58) at (75, 939); its label far away at (10, 10).
    slot.setupSlot(image::cormbaby1, {75.f, 939.f}, {10.f, 10.f}, 12);
    slot.refreshCountText();
    sf::RenderTexture target({1920, 1080});
    const auto colours = [&] {
        target.clear(sf::Color::Black);
        slot.draw(target);
        target.display();
        return testsupport::distinctColours(target.getTexture().copyToImage(), 75, 939, 62, 58);
    };
    CHECK(colours() == 1);
    slot.count = 1;
    CHECK(colours() > 1);
}

TEST_CASE("the inventory bar holds six slots along the bottom, all showing 0", "[eggline][slot]")
{
    testsupport::freshGame();
    const int textures[6] = {85, 86, 87, 88, 0, 0};
    const sf::Vector2f positions[6] = {{75.f, 939.f},  {145.f, 929.f}, {206.f, 939.f},
                                       {270.f, 929.f}, {0.f, 0.f},     {0.f, 0.f}};
    const float labelX[6] = {103.f, 169.f, 235.f, 301.f, 367.f, 433.f};
    TTextureStore& store = TTextureStore::instance();
    for (std::size_t k = 0; k < 6; ++k) {
        CAPTURE(k);
        CHECK(inventorySlots[k].count == 0);
        CHECK(&inventorySlots[k].getTexture() == &store.getTexture(textures[k]));
        CHECK(inventorySlots[k].getPosition() == positions[k]);
        CHECK(inventorySlots[k].label.getPosition() == sf::Vector2f(labelX[k], 1000.f));
        CHECK(inventorySlots[k].label.getCharacterSize() == 12);
        CHECK(inventorySlots[k].label.getString() == "0");
    }

    SECTION("refreshInventoryTexts brings every label up to its count")
    {
        inventorySlots[0].count = 3;
        inventorySlots[5].count = 11;
        refreshInventoryTexts();
        CHECK(inventorySlots[0].label.getString() == "3");
        CHECK(inventorySlots[1].label.getString() == "0");
        CHECK(inventorySlots[5].label.getString() == "11");
    }
}
