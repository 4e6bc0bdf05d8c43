#include "eggline/TShop.hpp"

#include "actors/Geometry.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"

#include <string>
#include <vector>

namespace {

const sf::Vector2f itemPositions[6] = {{720.f, 370.f}, {965.f, 370.f}, {1205.f, 370.f},
                                       {720.f, 640.f}, {965.f, 640.f}, {1205.f, 640.f}};
const sf::Vector2f labelPositions[6] = {{710.f, 450.f}, {955.f, 450.f}, {1195.f, 450.f},
                                        {710.f, 725.f}, {955.f, 725.f}, {1195.f, 725.f}};
const sf::Vector2f plusPositions[6] = {{745.f, 448.f}, {987.f, 448.f}, {1228.f, 448.f},
                                       {745.f, 722.f}, {987.f, 722.f}, {1228.f, 722.f}};
const sf::Vector2f minusPositions[6] = {{655.f, 448.f}, {897.f, 448.f}, {1138.f, 448.f},
                                        {655.f, 722.f}, {897.f, 722.f}, {1138.f, 722.f}};
// The click areas are a little off the button pictures; the areas decide.
const sf::IntRect plusAreas[6] = {{{745, 445}, {40, 40}}, {{985, 445}, {40, 40}}, {{1225, 445}, {40, 40}},
                                  {{745, 720}, {40, 40}}, {{985, 720}, {40, 40}}, {{1225, 720}, {40, 40}}};
const sf::IntRect minusAreas[6] = {{{655, 445}, {40, 40}}, {{895, 445}, {40, 40}}, {{1135, 445}, {40, 40}},
                                   {{655, 720}, {40, 40}}, {{895, 720}, {40, 40}}, {{1135, 720}, {40, 40}}};
const sf::IntRect buyArea{{750, 787}, {415, 93}};

const int pagePrices[3][6] = {{10, 50, 100, 15, 0, 0}, {25, 40, 0, 0, 0, 0}, {8, 10, 0, 0, 0, 0}};

// Items 2..5 exist only on the feed page.
int itemsOnPage(int page) { return page == 0 ? 6 : 2; }

// What the quantities ordered cost at these unit prices.
int costAt(const int (&unitPrices)[6])
{
    int cost = 0;
    for (int i = 0; i < 6; ++i)
        cost += unitPrices[i] * quantities[i];
    return cost;
}

} // namespace

bool canAfford() { return coins >= costAt(prices); }

TShop::TShop()
    : TActor(store().getTexture(image::windowShop))
    , totalText(store().getFont(), "", 30)
{
    setPosition({530.f, 100.f});
    closeButton = std::make_unique<TButton2>(image::buttonClose, image::buttonCloseHover, image::buttonClosePressed,
                                             image::buttonCloseHover);
    closeButton->setButtonPosition({1323.f, 150.f});
    buyButton =
        std::make_unique<TButton2>(image::button, image::buttonHover, image::buttonPressed, image::buttonDisable);
    buyButton->setButtonPosition({749.f, 789.f});
    for (int i = 0; i < 6; ++i) {
        quantityButtons[i] = std::make_unique<TButton2>(image::buttonPlus, image::buttonPlusHover,
                                                        image::buttonPlusPressed, image::buttonPlusDisabled);
        quantityButtons[i]->setButtonPosition(plusPositions[i]);
        quantityButtons[6 + i] = std::make_unique<TButton2>(image::buttonMinus, image::buttonMinusHover,
                                                            image::buttonMinusPressed, image::buttonMinusDisabled);
        quantityButtons[6 + i]->setButtonPosition(minusPositions[i]);
    }
    // Items 4 and 5 have nothing for sale on any page.
    for (int i : {4, 5, 10, 11})
        quantityButtons[i]->state = TButton2::Disabled;
    // Tab 0 is the open page, so it starts 35 pixels out to the left.
    const sf::Vector2f tabPositions[3] = {{415.f, 342.f}, {450.f, 479.f}, {450.f, 617.f}};
    for (int k = 0; k < 3; ++k) {
        pageTabs[k] = std::make_unique<TButton2>(image::shopPage1 + k, image::shopPage1Hover + k,
                                                 image::shopPage1Pressed + k, image::shopPage1disable + k);
        pageTabs[k]->setButtonPosition(tabPositions[k]);
    }
    for (int i = 0; i < 6; ++i)
        items[i].setupSlot(image::shopItemDisabled, itemPositions[i], labelPositions[i], 30);
    styleText(totalText, 50, {1035.f, 800.f}, sf::Color::White);
    setPage(0);
    refreshLabels();
}

void TShop::draw(sf::RenderTarget& target)
{
    if (!visible)
        return;
    // Tabs first: the page background covers their inner edge.
    drawTabs(target);
    TActor::draw(target);
    drawContents(target);
}

void TShop::drawTabs(sf::RenderTarget& target)
{
    for (auto& tab : pageTabs)
        tab->draw(target);
}

void TShop::drawContents(sf::RenderTarget& target)
{
    for (TSlot& item : items)
        item.draw(target);
    buyButton->draw(target);
    store().drawSpriteAt(target, image::buy, {813.f, 809.f});
    drawText(target, totalText);
    closeButton->draw(target);
    for (auto& button : quantityButtons)
        button->draw(target);
}

std::array<TButton2*, 17> TShop::buttonsInOrder()
{
    std::array<TButton2*, 17> buttons{closeButton.get(), buyButton.get()};
    std::size_t next = 2;
    for (auto& quantityButton : quantityButtons)
        buttons[next++] = quantityButton.get();
    for (auto& tab : pageTabs)
        buttons[next++] = tab.get();
    return buttons;
}

void TShop::onPress(int button, float x, float y)
{
    for (TButton2* shopButton : buttonsInOrder())
        shopButton->onPress(button, x, y);
    refusedArea = {};

    for (int k = 0; k < 3; ++k)
        if (pageTabs[k]->contains(x, y) && k != page)
            setPage(k);

    const sf::Vector2f point{x, y};
    const int count = itemsOnPage(page);
    for (int i = 0; i < count; ++i)
        if (rectContains(minusAreas[i], point) && --quantities[i] < 0)
            quantities[i] = 0;
    for (int i = 0; i < count; ++i) {
        if (!rectContains(plusAreas[i], point))
            continue;
        // Undo at once a unit the balance cannot cover, so the order never outgrows the coins.
        ++quantities[i];
        if (!canAfford()) {
            --quantities[i];
            refusedArea = sf::FloatRect(sf::Vector2f(plusAreas[i].position), sf::Vector2f(plusAreas[i].size));
        }
    }
    // The page's own price list, whatever the shared prices say.
    orderTotal = costAt(pagePrices[page]);

    if (!rectContains(buyArea, point))
        return;
    // The balance may have fallen since the order was built (a defective egg
    // packed meanwhile): then the purchase is refused outright.
    if (orderTotal > coins) {
        refusedArea = sf::FloatRect(sf::Vector2f(buyArea.position), sf::Vector2f(buyArea.size));
        return;
    }
    const int* q = quantities;
    if (page == 0) {
        for (std::size_t k = 0; k < 4; ++k)
            inventorySlots[k].count += q[k];
        refreshInventoryTexts();
    } else if (page == 1) {
        chickensToSpawn += 3 * q[0];
        chickensToSpawn += 5 * q[1];
    } else {
        psychologistCount += q[0];
        vetCount += q[1];
    }
    coins -= orderTotal;
    resetQuantities();
}

void TShop::onRelease(int button, float x, float y)
{
    for (TButton2* shopButton : buttonsInOrder())
        shopButton->onRelease(button, x, y);
}

void TShop::onHover(float x, float y)
{
    for (TButton2* shopButton : buttonsInOrder())
        shopButton->onHover(x, y);
}

void TShop::setPage(int index)
{
    // The open page's tab stands out 35 pixels to the left.
    pageTabs[page]->move({35.f, 0.f});
    pageTabs[index]->move({-35.f, 0.f});
    pageTabs[page]->setTextureById(image::shopPage1disable + page, true);
    setTextureById(image::shopPage1Background + index, true);
    pageTabs[index]->setTextureById(image::shopPage1 + index, true);
    // Items 2 and 3 are sold only on the feed page.
    const int itemState = index == 0 ? TButton2::Normal : TButton2::Disabled;
    for (int i : {2, 3, 8, 9})
        quantityButtons[i]->state = itemState;
    for (int i = 0; i < 6; ++i)
        prices[i] = pagePrices[index][i];
    page = index;
    resetQuantities();
}

void TShop::resetQuantities()
{
    orderTotal = 0;
    for (int& q : quantities)
        q = 0;
    refreshLabels();
}

void TShop::refreshLabels()
{
    for (int i = 0; i < 6; ++i)
        items[i].label.setString(std::to_string(quantities[i]));
    totalText.setString(std::to_string(orderTotal));
}
