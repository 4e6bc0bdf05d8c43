#include "eggline/TShop.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

namespace {

// Points well inside the click areas (each 40 x 40 from its corner).
const sf::Vector2f plusPoints[6] = {{765.f, 465.f}, {1005.f, 465.f}, {1245.f, 465.f},
                                    {765.f, 740.f}, {1005.f, 740.f}, {1245.f, 740.f}};
const sf::Vector2f minusPoints[6] = {{675.f, 465.f}, {915.f, 465.f}, {1155.f, 465.f},
                                     {675.f, 740.f}, {915.f, 740.f}, {1155.f, 740.f}};
const sf::Vector2f buyPoint{900.f, 830.f};
// Tab k's image spans 115 x 130 from (450, 342 / 479 / 617), 35 further left when open.
const sf::Vector2f tabPoints[3] = {{480.f, 400.f}, {480.f, 540.f}, {480.f, 680.f}};

void click(sf::Vector2f p, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        shop->onPress(0, p.x, p.y);
        shop->onRelease(0, p.x, p.y);
    }
}

void plus(int item, int times = 1) { click(plusPoints[item], times); }
void minus(int item, int times = 1) { click(minusPoints[item], times); }

} // namespace

TEST_CASE("the shop opens on the feed page with its buttons in place", "[eggline][shop]")
{
    testsupport::freshGame();
    TShop& s = *shop;
    TTextureStore& store = TTextureStore::instance();
    CHECK(s.page == 0);
    CHECK(s.getPosition() == sf::Vector2f(530.f, 100.f));
    CHECK(&s.getTexture() == &store.getTexture(image::shopPage1Background));
    CHECK(s.pageTabs[0]->getPosition() == sf::Vector2f(415.f, 342.f));
    CHECK(s.pageTabs[1]->getPosition() == sf::Vector2f(450.f, 479.f));
    CHECK(s.pageTabs[2]->getPosition() == sf::Vector2f(450.f, 617.f));
    CHECK(s.closeButton->getPosition() == sf::Vector2f(1323.f, 150.f));
    CHECK(s.buyButton->getPosition() == sf::Vector2f(749.f, 789.f));
    CHECK(s.quantityButtons[0]->getPosition() == sf::Vector2f(745.f, 448.f));
    CHECK(s.quantityButtons[5]->getPosition() == sf::Vector2f(1228.f, 722.f));
    CHECK(s.quantityButtons[6]->getPosition() == sf::Vector2f(655.f, 448.f));
    CHECK(s.quantityButtons[11]->getPosition() == sf::Vector2f(1138.f, 722.f));
    for (int i : {0, 1, 2, 3, 6, 7, 8, 9})
        CHECK(s.quantityButtons[i]->state == TButton2::Normal);
    for (int i : {4, 5, 10, 11})
        CHECK(s.quantityButtons[i]->state == TButton2::Disabled);
    const int feedPrices[6] = {10, 50, 100, 15, 0, 0};
    for (int i = 0; i < 6; ++i) {
        CHECK(prices[i] == feedPrices[i]);
        CHECK(s.items[i].label.getString() == "0");
        CHECK(s.items[i].count == 0);
    }
    CHECK(s.items[3].getPosition() == sf::Vector2f(720.f, 640.f));
    CHECK(s.items[3].label.getPosition() == sf::Vector2f(710.f, 725.f));
    CHECK(s.totalText.getString() == "0");
    CHECK(s.totalText.getCharacterSize() == 50);
    CHECK(s.totalText.getPosition() == sf::Vector2f(1035.f, 800.f));
}

TEST_CASE("plus and minus build the order within the balance", "[eggline][shop]")
{
    testsupport::freshGame();

    SECTION("ten feed bags of 10 use up 100 coins; an eleventh is undone")
    {
        plus(0, 10);
        CHECK(quantities[0] == 10);
        CHECK(orderTotal == 100);
        plus(0);
        CHECK(quantities[0] == 10);
        CHECK(orderTotal == 100);
        CHECK(coins == 100);
    }
    SECTION("a bag of 100 fits once, then nothing else that costs")
    {
        plus(2);
        plus(3);
        CHECK(quantities[2] == 1);
        CHECK(quantities[3] == 0);
        CHECK(orderTotal == 100);
    }
    SECTION("minus takes one off and stops at 0")
    {
        plus(1);
        minus(1);
        CHECK(quantities[1] == 0);
        minus(1);
        CHECK(quantities[1] == 0);
        CHECK(orderTotal == 0);
    }
    SECTION("the areas are strict: the left edge of plus 0 is outside, one pixel in is inside")
    {
        click({745.f, 465.f});
        CHECK(quantities[0] == 0);
        click({746.f, 465.f});
        CHECK(quantities[0] == 1);
        click({785.f, 465.f});
        CHECK(quantities[0] == 1);
        click({784.f, 484.f});
        CHECK(quantities[0] == 2);
        CHECK(orderTotal == 20);
    }
    SECTION("on the feed page items 4 and 5 count up for free, outside the total")
    {
        plus(4, 3);
        plus(5);
        CHECK(quantities[4] == 3);
        CHECK(quantities[5] == 1);
        CHECK(orderTotal == 0);
        shop->refreshLabels();
        CHECK(shop->items[4].label.getString() == "3");
        click(buyPoint);
        CHECK(inventorySlots[4].count == 0);
        CHECK(inventorySlots[5].count == 0);
        CHECK(quantities[4] == 0);
    }
    SECTION("the labels show the order once refreshed")
    {
        plus(0, 2);
        plus(3);
        shop->refreshLabels();
        CHECK(shop->items[0].label.getString() == "2");
        CHECK(shop->items[3].label.getString() == "1");
        CHECK(shop->totalText.getString() == "35");
    }
}

TEST_CASE("canAfford compares the coins with the order at the page's prices", "[eggline][shop]")
{
    testsupport::freshGame();
    quantities[1] = 2; // 2 x 50
    CHECK(canAfford());
    coins = 99;
    CHECK_FALSE(canAfford());
    quantities[4] = 1000; // price 0
    coins = 100;
    CHECK(canAfford());
}

TEST_CASE("the page tabs switch pages and empty the order", "[eggline][shop]")
{
    testsupport::freshGame();
    TShop& s = *shop;
    TTextureStore& store = TTextureStore::instance();
    plus(0, 3);
    REQUIRE(orderTotal == 30);

    SECTION("a click on the open page's tab changes nothing")
    {
        click({440.f, 400.f});
        CHECK(s.page == 0);
        CHECK(quantities[0] == 3);
        CHECK(orderTotal == 30);
        CHECK(s.pageTabs[0]->getPosition() == sf::Vector2f(415.f, 342.f));
    }
    SECTION("the chicks tab opens page 1 with its prices and an empty order")
    {
        click(tabPoints[1]);
        CHECK(s.page == 1);
        CHECK(quantities[0] == 0);
        CHECK(orderTotal == 0);
        CHECK(s.pageTabs[0]->getPosition() == sf::Vector2f(450.f, 342.f));
        CHECK(s.pageTabs[1]->getPosition() == sf::Vector2f(415.f, 479.f));
        CHECK(&s.pageTabs[0]->getTexture() == &store.getTexture(image::shopPage1disable));
        CHECK(&s.pageTabs[1]->getTexture() == &store.getTexture(image::shopPage2));
        CHECK(&s.getTexture() == &store.getTexture(image::shopPage2Background));
        const int chickPrices[6] = {25, 40, 0, 0, 0, 0};
        for (int i = 0; i < 6; ++i)
            CHECK(prices[i] == chickPrices[i]);
        for (int i : {2, 3, 8, 9})
            CHECK(s.quantityButtons[i]->state == TButton2::Disabled);

        SECTION("and back to the feed page brings items 2 and 3 back")
        {
            click(tabPoints[0]);
            CHECK(s.page == 0);
            CHECK(s.pageTabs[0]->getPosition() == sf::Vector2f(415.f, 342.f));
            CHECK(s.pageTabs[1]->getPosition() == sf::Vector2f(450.f, 479.f));
            for (int i : {2, 3, 8, 9})
                CHECK(s.quantityButtons[i]->state == TButton2::Normal);
            for (int i : {4, 5, 10, 11})
                CHECK(s.quantityButtons[i]->state == TButton2::Disabled);
        }
    }
    SECTION("the visitors tab opens page 2")
    {
        click(tabPoints[2]);
        CHECK(s.page == 2);
        CHECK(prices[0] == 8);
        CHECK(prices[1] == 10);
        CHECK(prices[2] == 0);
        CHECK(&s.getTexture() == &store.getTexture(image::shopPage3Background));
        CHECK(s.pageTabs[2]->getPosition() == sf::Vector2f(415.f, 617.f));
    }
}

TEST_CASE("on the chicks and visitors pages items 2 to 5 do nothing", "[eggline][shop]")
{
    for (int page : {1, 2}) {
        testsupport::freshGame();
        CAPTURE(page);
        click(tabPoints[page]);
        REQUIRE(shop->page == page);
        for (int i = 2; i < 6; ++i) {
            plus(i);
            minus(i);
            plus(i);
        }
        for (int i = 0; i < 6; ++i)
            CHECK(quantities[i] == 0);
        CHECK(orderTotal == 0);
    }
}

TEST_CASE("buying pays the order and delivers it", "[eggline][shop]")
{
    testsupport::freshGame();

    SECTION("an empty order charges nothing and delivers nothing")
    {
        click(buyPoint);
        CHECK(coins == 100);
        CHECK(chickensToSpawn == 5);
        for (std::size_t k = 0; k < 6; ++k)
            CHECK(inventorySlots[k].count == 0);
    }
    SECTION("feed: bags and pills go to the inventory and its labels")
    {
        plus(0, 2);
        plus(1);
        plus(3);
        click(buyPoint); // 20 + 50 + 15
        CHECK(coins == 15);
        CHECK(inventorySlots[0].count == 2);
        CHECK(inventorySlots[1].count == 1);
        CHECK(inventorySlots[2].count == 0);
        CHECK(inventorySlots[3].count == 1);
        CHECK(inventorySlots[0].label.getString() == "2");
        CHECK(inventorySlots[3].label.getString() == "1");
        CHECK(quantities[0] == 0);
        CHECK(orderTotal == 0);
        CHECK(shop->totalText.getString() == "0");
    }
    SECTION("chicks: two threes and a five for 90 coins make 11 more chickens")
    {
        click(tabPoints[1]);
        plus(0, 2);
        plus(1);
        CHECK(orderTotal == 90);
        click(buyPoint);
        CHECK(coins == 10);
        CHECK(chickensToSpawn == 5 + 11);
    }
    SECTION("visitors: psychologist and vet visits are counted")
    {
        click(tabPoints[2]);
        plus(0, 2);
        plus(1, 3);
        CHECK(orderTotal == 46);
        click(buyPoint);
        CHECK(coins == 54);
        CHECK(psychologistCount == 2);
        CHECK(vetCount == 3);
    }
    SECTION("an order that no longer fits the balance is refused whole")
    {
        plus(0, 5);
        coins = 40; // a bad egg or two were packed meanwhile
        click(buyPoint);
        CHECK(coins == 40);
        CHECK(inventorySlots[0].count == 0);
        CHECK(quantities[0] == 5);
        CHECK(orderTotal == 50);
    }
    SECTION("the buy area is strict too: its top edge does not buy")
    {
        plus(0);
        click({900.f, 787.f});
        CHECK(coins == 100);
        click({900.f, 788.f});
        CHECK(coins == 90);
    }
}

TEST_CASE("the shop passes the pointer on to its buttons", "[eggline][shop]")
{
    testsupport::freshGame();
    TShop& s = *shop;
    s.onHover(1340.f, 170.f);
    CHECK(s.closeButton->state == TButton2::Hover);
    s.onPress(0, 900.f, 830.f);
    CHECK(s.buyButton->state == TButton2::Pressed);
    CHECK(s.closeButton->state == TButton2::Hover);
    s.onRelease(0, 900.f, 830.f);
    CHECK(s.buyButton->state == TButton2::Normal);
    CHECK(s.closeButton->state == TButton2::Normal);
    // Disabled buttons keep their look whatever the pointer does.
    s.onPress(0, 1245.f, 740.f);
    CHECK(s.quantityButtons[5]->state == TButton2::Disabled);
}

TEST_CASE("the shop draws its window with the close image where the close test looks", "[eggline][shop]")
{
    testsupport::freshGame();
    TTextureStore& store = TTextureStore::instance();
    store.getSprite(image::buttonClose).setPosition({0.f, 0.f});
    store.getSprite(image::buy).setPosition({0.f, 0.f});
    sf::RenderTexture target({1920, 1080});

    SECTION("visible")
    {
        shop->draw(target);
        CHECK(store.getSprite(image::buttonClose).getPosition() == sf::Vector2f(1323.f, 150.f));
        CHECK(store.getSprite(image::buy).getPosition() == sf::Vector2f(813.f, 809.f));
    }
    SECTION("hidden draws nothing")
    {
        shop->visible = false;
        shop->draw(target);
        CHECK(store.getSprite(image::buttonClose).getPosition() == sf::Vector2f(0.f, 0.f));
    }
}
