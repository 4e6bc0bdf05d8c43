#pragma once

#include "actors/TActor.hpp"
#include "eggline/TButton2.hpp"
#include "eggline/TSlot.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Text.hpp>

#include <array>
#include <memory>
#include <vector>

// The shop window: three pages (feed, chicks, farm visitors) on which the
// player builds an order with plus and minus and pays for it with coins.
class TShop : public TActor {
public:
    TShop();

    void draw(sf::RenderTarget& target) override;
    // The window's parts around its page: the tabs under it, and what lies
    // on it (items, total, buttons).
    void drawTabs(sf::RenderTarget& target);
    void drawContents(sf::RenderTarget& target);

    void onPress(int button, float x, float y);
    void onRelease(int button, float x, float y);
    void onHover(float x, float y);

    void setPage(int index);
    // Every button gets each event in this order: close, buy, the twelve
    // quantity buttons, the three tabs.
    std::array<TButton2*, 17> buttonsInOrder();
    void resetQuantities();
    void refreshLabels();

    int page = 0;
    TSlot items[6];
    sf::Text totalText;
    // The shop's buttons, made when it is built and kept as long as it lives.
    std::unique_ptr<TButton2> quantityButtons[12]; // plus 0..5, then minus 0..5
    std::unique_ptr<TButton2> closeButton;
    std::unique_ptr<TButton2> buyButton;
    std::unique_ptr<TButton2> pageTabs[3];
    // Where the last press was refused for want of coins (a plus or the buy
    // button), or empty; only for showing it.
    sf::FloatRect refusedArea;
};

// True when the coins cover the order at the current page's prices.
bool canAfford();
