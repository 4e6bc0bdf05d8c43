// What the farm says about the thing under the pointer (the tooltips), and
// the answers drawn over the frame.
#include "world/TWorld.hpp"

#include "core/Globals.hpp"
#include "eggline/TShop.hpp"
#include "eggline/TSort.hpp"
#include "world/ProcessObjects.hpp"

#include <string>

namespace {

// The item cards painted on the shop's pages (three to a row, two rows).
sf::FloatRect shopCard(int index)
{
    const float xs[3] = {610.f, 852.f, 1093.f};
    const float ys[2] = {254.f, 528.f};
    return {{xs[index % 3], ys[index / 3]}, {216.f, 244.f}};
}

const char* const shopHints[3][4] = {
    {"Chick crumbs: 10 food for the nursery feeder, 10 coins", "Grain sack: 30 food for one yard feeder, 50 coins",
     "Big sack: 60 food for one yard feeder, 100 coins", "Vitamins: kept in the inventory, 15 coins"},
    {"3 chicks: they hatch in the nursery, 25 coins", "5 chicks: they hatch in the nursery, 40 coins", "", ""},
    {"Psychologist: one visit, the whole flock dances, 8 coins", "Vet: one visit, checks every bird, 10 coins", "", ""},
};

} // namespace

std::string TWorld::hintAt(float x, float y, sf::FloatRect& area)
{
    // Nothing while something is carried.
    if (dragKind != DragNone || activeTool != ToolNone)
        return {};
    const Cover cover = coverAt(x, y);
    const sf::Vector2f point{x, y};
    if (cover == Cover::Window && mode == ModeShop) {
        for (int i = 0; i < (shop->page == 0 ? 4 : 2); ++i)
            if (shopCard(i).contains(point)) {
                area = shopCard(i);
                return shopHints[shop->page][i];
            }
    }
    if (cover == Cover::Window && (mode == ModeSorting || mode == ModeSortingRunning)) {
        struct Carton {
            sf::FloatRect place;
            const char* hint;
        };
        for (const Carton& carton : {Carton{{{583.f, 615.f}, {110.f, 75.f}}, "C0: six good eggs pay 36 coins"},
                                     Carton{{{583.f, 750.f}, {110.f, 75.f}}, "C1: six good eggs pay 30 coins"}})
            if (carton.place.contains(point)) {
                area = carton.place;
                return carton.hint;
            }
        if (sortMachine->startButton->contains(x, y)) {
            area = sortMachine->startButton->getGlobalBounds();
            return "Scanner: good eggs turn green, bad ones red; a red egg packed costs 10 coins";
        }
    }
    if (cover != Cover::Hud)
        return {};
    const char* const toolbarHints[4] = {
        "Sorting table: scan the eggs and pack them in cartons", "Shop: feed, chicks and specialists",
        musicOn ? "Music: playing (M turns it off)" : "Music: off (M turns it on)", "Broom: sweeps the dirt away"};
    for (int i = 0; i < 4; ++i)
        if (toolbarButtons[i]->contains(x, y)) {
            area = toolbarButtons[i]->getGlobalBounds();
            return toolbarHints[i];
        }
    if (kurortCard.contains(x, y)) {
        area = kurortCard.getGlobalBounds();
        return "Resort: each old hen leaves and pays 10 coins";
    }
    if (psychologistCount > 0 && psychologistCard.contains(x, y)) {
        area = psychologistCard.getGlobalBounds();
        return "Psychologist: the whole flock dances (" + std::to_string(psychologistCount) + " left)";
    }
    if (vetCount > 0 && vetCard.contains(x, y)) {
        area = vetCard.getGlobalBounds();
        return "Vet: checks every bird (" + std::to_string(vetCount) + " left)";
    }
    return {};
}

void TWorld::answer(float dt, sf::Vector2f pointer)
{
    feedback.watch(coins, questComplete);
    feedback.update(dt);
    sf::FloatRect area;
    const std::string hint = hintAt(pointer.x, pointer.y, area);
    tooltip.update(dt, hint, area);
}

void TWorld::drawAnswers(sf::RenderTarget& target)
{
    feedback.draw(target, coinText);
    tooltip.draw(target);
}
