// The world's three mouse handlers: picking up and dropping chickens, eggs,
// feed bags and cards, the sorting window and the shop, cleaning the pen.
#include "world/TWorld.hpp"

#include "actors/Geometry.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "poultry/Yard.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TFarmSave.hpp"

#include <cstdlib>
#include <string>

namespace {

const sf::IntRect packageC0{{583, 615}, {110, 75}};
const sf::IntRect packageC1{{583, 750}, {110, 75}};

constexpr int musicNoteTexture = image::majesticonsMusic;
constexpr int vetBubbleTexture = image::bubble2;

bool sortingOpen(int mode) { return mode == TWorld::ModeSorting || mode == TWorld::ModeSortingRunning; }

// Ten bubbles of one picture over every chicken (the psychologist's and the vet's visits).
void bubblesOverFlock(std::vector<TChiken2>& flock, std::vector<TBubble>& bubbles, int textureId)
{
    // One stamp, spawned anew for each bubble (spawning sets all that varies).
    TBubble bubble(store().getTexture(textureId));
    for (TChiken2& chicken : flock) {
        const sf::Vector2f c = chicken.getPosition();
        for (int i = 0; i < 10; ++i) {
            // y first, then x: the order of the draws is part of the game.
            const int dy = std::rand() % 100 - 100;
            const int dx = std::rand() % 100 - 50;
            bubble.spawn(c.x + static_cast<float>(dx), c.y + static_cast<float>(dy));
            bubbles.push_back(bubble);
        }
    }
}

// One egg dropped into a package; true when it went in. The sixth egg closes
// the package and pays.
bool packEgg(const sf::Vector2f p)
{
    struct Package {
        const sf::IntRect& area;
        int& count;
        int payout;
    };
    for (Package package : {Package{packageC0, packC0Count, 36}, Package{packageC1, packC1Count, 30}}) {
        if (!rectContains(package.area, p))
            continue;
        if (++package.count == 6) {
            package.count = 0;
            coins += package.payout;
            coinsEarned += package.payout;
        }
        return true;
    }
    return false;
}

// The machine's board in the sorting window, where the table eggs lie.
constexpr sf::Vector2f tablePlace{648.f, 220.f};

} // namespace

TChiken2* TWorld::draggedChickenPtr()
{
    if (draggedChicken == none || draggedChicken >= vecChikens.size())
        return nullptr;
    return &vecChikens[draggedChicken];
}

TEgg2* TWorld::draggedEggPtr()
{
    if (draggedEgg == none || draggedEgg >= eggsOnTable.size())
        return nullptr;
    return &eggsOnTable[draggedEgg];
}

void TWorld::refreshToolbarIcons()
{
    toolbarButtons[0]->showIcon(sortingOpen(mode) ? 1 : 0);
    toolbarButtons[1]->showIcon(mode == ModeShop ? 1 : 0);
    // The music button's note is struck through while the music is off.
    toolbarButtons[2]->showIcon(musicOn ? 0 : 1);
}

void TWorld::toggleMusic()
{
    setMusicOn(!musicOn);
    refreshToolbarIcons();
}

bool TWorld::closeOpenWindow()
{
    if (mode == ModeField || dragKind != DragNone || activeTool != ToolNone)
        return false;
    mode = ModeField;
    refreshToolbarIcons();
    return true;
}

bool TWorld::pictureCovers(int id, sf::Vector2f at, float x, float y)
{
    const sf::Texture& texture = store().getTexture(id);
    const sf::Vector2f local = sf::Vector2f{x, y} - at;
    const sf::Vector2f size(texture.getSize());
    // Only its pixels that show, not its whole rectangle.
    if (!(local.x >= 0.f && local.y >= 0.f && local.x < size.x && local.y < size.y))
        return false;
    return pressShape.drawnAt(texture, static_cast<int>(local.x), static_cast<int>(local.y));
}

bool TWorld::toolbarShows(int index, float x, float y)
{
    const TButton2& button = *toolbarButtons[index];
    return pictureCovers(socketTexture(index), socketPlaces[index], x, y)
           || pictureCovers(button.stateTextures[button.state], button.getPosition(), x, y);
}

bool TWorld::cardShows(const TActor& card, float x, float y) { return card.visible && pressShape.covers(card, {x, y}); }

sf::Vector2f TWorld::tableEggRestingPlace(const TEgg2& egg) const
{
    // The table is the machine's board in the sorting window.
    const sf::FloatRect table(tablePlace, sf::Vector2f(store().getTexture(image::sortingMachine1).getSize()));
    return table.contains(egg.getPosition()) ? egg.getPosition() : eggPickedFrom;
}

TWorld::Cover TWorld::coverAt(float x, float y)
{
    // The story messages and the quest panel, drawn last, as the HUD draws them.
    for (const StoryMessage& message : storyMessages())
        if (storyShows(message) && pictureCovers(message.id, message.at, x, y))
            return Cover::Story;

    // An open window: its frame, and for the shop the page tabs at its side.
    if (sortingOpen(mode) && sortMachine->contains(x, y))
        return Cover::Window;
    if (mode == ModeShop) {
        if (shop->contains(x, y))
            return Cover::Window;
        for (auto& tab : shop->pageTabs)
            if (tab->contains(x, y))
                return Cover::Window;
    }

    // The toolbar's tray, sockets and buttons, the three counters, the
    // inventory bar, and the cards that are shown.
    for (const HudPlate& plate : hudPlates())
        if (pictureCovers(plate.picture(*this), plate.place(*this), x, y))
            return Cover::Hud;
    if (cardShows(kurortCard, x, y) || (vetCount > 0 && cardShows(vetCard, x, y))
        || (psychologistCount > 0 && cardShows(psychologistCard, x, y)))
        return Cover::Hud;
    return Cover::Field;
}

void TWorld::onMousePressed(int button, float x, float y)
{
    // The interface buttons see every button, for their pressed look.
    for (auto& toolbarButton : toolbarButtons)
        toolbarButton->onPress(button, x, y);
    if (sortingOpen(mode))
        sortMachine->onPress(button, x, y);
    if (button != 0)
        return;

    // One press picks up at most one thing, and only what is seen under the
    // pointer: the table eggs lie on the open sorting window, over the field
    // and the HUD; birds over floor eggs, both only where nothing covers them.
    const Cover cover = coverAt(x, y);
    if (sortingOpen(mode) && cover != Cover::Story) {
        for (std::size_t i = 0; i < eggsOnTable.size(); ++i) {
            if (eggsOnTable[i].contains(x, y)) {
                dragKind = DragEgg;
                draggedEgg = i;
                eggPickedFrom = eggsOnTable[i].getPosition();
                return;
            }
        }
    }
    if (cover == Cover::Field) {
        for (std::size_t i = 0; i < vecChikens.size(); ++i) {
            if (vecChikens[i].contains(x, y)) {
                dragKind = DragChicken;
                draggedChicken = i;
                return;
            }
        }
        for (std::size_t i = 0; i < eggsOnFloor.size(); ++i) {
            if (!eggsOnFloor[i].contains(x, y))
                continue;
            // A table as full as a save keeps takes no more eggs.
            if (eggsOnTable.size() >= TFarmSave::maxEggs)
                return;
            // Off to a random spot on the sorting table: y drawn before x.
            const int tableY = std::rand() % 210 + 260;
            const int tableX = std::rand() % 430 + 740;
            eggsOnFloor[i].setPosition({static_cast<float>(tableX), static_cast<float>(tableY)});
            eggsOnTable.push_back(eggsOnFloor[i]);
            eggsOnFloor.erase(eggsOnFloor.begin() + static_cast<std::ptrdiff_t>(i));
            // One egg in five turns out bad; it is decided once, here.
            eggsOnTable.back().defective = std::rand() % 1000 >= 800;
            eggsCollected += 1;
            return;
        }
    }
    // Below, the HUD's controls answer only where the HUD is on top, and the
    // open window's only inside its frame.
    const bool onHud = cover == Cover::Hud;
    const bool inWindow = cover == Cover::Window;

    // Feed bags are taken only with no window open.
    if (mode == ModeField && onHud) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (inventorySlots[k].contains(x, y) && inventorySlots[k].count >= 1) {
                activeTool = static_cast<int>(k) + 1;
                break;
            }
        }
    }

    // The toggles are tested one after the other, each seeing the mode the one
    // before left: from the sorting window the shop toggle goes straight to 3.
    // A toolbar button answers where its socket or round face shows; the close
    // image where the open window last drew it.
    if (onHud && toolbarShows(0, x, y)) {
        mode = sortingOpen(mode) ? ModeField : ModeSorting;
        refreshToolbarIcons();
    }
    if (onHud && toolbarShows(1, x, y)) {
        mode = mode == ModeShop ? ModeField : ModeShop;
        refreshToolbarIcons();
    }
    if (inWindow && mode != ModeField && store().spriteContains(image::buttonClose, x, y)) {
        mode = ModeField;
        refreshToolbarIcons();
    }
    if (inWindow && sortingOpen(mode) && sortMachine->startButton->contains(x, y)) {
        mode = mode == ModeSorting ? ModeSortingRunning : ModeSorting;
        refreshToolbarIcons();
    }

    if (onHud && toolbarShows(3, x, y)) {
        pollution.clear();
        // Cleaning bubbles pile up; every 101st click clears them out first.
        if (++cleanCount > 100) {
            bubbles.clear();
            cleanCount = 0;
        }
        TBubble bubble;
        for (int i = 0; i < 100; ++i) {
            const int bubbleY = std::rand() % 1000;
            const int bubbleX = std::rand() % 2000;
            bubble.spawn(static_cast<float>(bubbleX), static_cast<float>(bubbleY));
            bubbles.push_back(bubble);
        }
    }

    if (onHud && toolbarShows(2, x, y))
        toggleMusic();

    if (mode == ModeShop && inWindow) {
        (*shop).onPress(button, x, y);
        if (shop->refusedArea.size.x > 0.f)
            feedback.refuse(shop->refusedArea);
    }

    // A psychologist or vet card is on the table only while a visit is paid for, so an
    // unpaid card cannot be picked up (and its count never goes below 0).
    if (!onHud)
        return;
    if (cardShows(kurortCard, x, y))
        activeTool = ToolKurort;
    else if (psychologistCount > 0 && cardShows(psychologistCard, x, y))
        activeTool = ToolPsychologist;
    else if (vetCount > 0 && cardShows(vetCard, x, y))
        activeTool = ToolVet;
}

void TWorld::onMouseMoved(float x, float y)
{
    for (auto& toolbarButton : toolbarButtons)
        toolbarButton->onHover(x, y);
    if (sortingOpen(mode))
        sortMachine->onHover(x, y);

    // mousePos still holds the previous move here, so the dragged thing keeps
    // the offset at which it was grabbed.
    const sf::Vector2f delta = sf::Vector2f{x, y} - mousePos;
    if (dragKind == DragChicken) {
        if (TChiken2* chicken = draggedChickenPtr())
            chicken->move(delta);
    } else if (dragKind == DragEgg) {
        if (TEgg2* egg = draggedEggPtr())
            egg->move(delta);
    }

    struct CardPlace {
        TActor& card;
        int tool;
        float homeX;
    };
    for (CardPlace place :
         {CardPlace{kurortCard, ToolKurort, kurortHomeX},
          CardPlace{psychologistCard, ToolPsychologist, psychologistHomeX}, CardPlace{vetCard, ToolVet, vetHomeX}}) {
        if (activeTool == place.tool)
            place.card.setPosition({x, y});
        else if (place.card.contains(x, y))
            place.card.setPosition({place.homeX, cardRaisedY});
        else
            place.card.setPosition({place.homeX, cardHomeY});
    }

    if (mode == ModeShop)
        (*shop).onHover(x, y);
}

void TWorld::onMouseReleased(int button, float x, float y)
{
    for (auto& toolbarButton : toolbarButtons)
        toolbarButton->onRelease(button, x, y);
    if (sortingOpen(mode))
        sortMachine->onRelease(button, x, y);

    if (button == 0) {
        if (dragKind == DragChicken) {
            // The bird walks off from where it was dropped to a spot in the
            // yard: y drawn before x.
            const int targetY = std::rand() % 670 + 430;
            const int targetX = std::rand() % 1900 + 50;
            if (TChiken2* chicken = draggedChickenPtr())
                chicken->goTo(yard::dropTarget(targetX, targetY), "");
            draggedChicken = none;
            dragKind = DragNone;
        } else if (dragKind == DragEgg) {
            // Judged by the egg's own point, not the pointer's.
            const int earnedBefore = coinsEarned;
            if (TEgg2* egg = draggedEggPtr(); egg && packEgg(egg->getPosition())) {
                // The carton that closed rises its payout.
                if (coinsEarned > earnedBefore) {
                    const sf::IntRect& carton = rectContains(packageC0, egg->getPosition()) ? packageC0 : packageC1;
                    feedback.rise(sf::Vector2f(carton.position)
                                      + sf::Vector2f(static_cast<float>(carton.size.x) / 2.f, -20.f),
                                  "+" + std::to_string(coinsEarned - earnedBefore), sf::Color(0xF7, 0xC5, 0x31));
                }
                // Sorting is the player's call: a bad egg costs 10 even when it closes a package.
                if (egg->defective) {
                    coins -= 10;
                    feedback.rise(egg->getPosition() + sf::Vector2f(0.f, -30.f), U"\u221210",
                                  sf::Color(0xE0, 0x53, 0x3D));
                }
                eggsOnTable.erase(eggsOnTable.begin() + static_cast<std::ptrdiff_t>(draggedEgg));
            } else if (egg) {
                // Let go off the table, it goes back where it was picked up
                // (it would lie out of sight and out of reach).
                egg->setPosition(tableEggRestingPlace(*egg));
            }
            draggedEgg = none;
            dragKind = DragNone;
        }

        switch (activeTool) {
        case 1:
        case 2:
        case 3: {
            // The small bag fits only the nursery feeder, the big bags the
            // yard feeders; one feeder per bag.
            const std::size_t slot = static_cast<std::size_t>(activeTool) - 1;
            const float amounts[3] = {10.f, 30.f, 60.f};
            const float amount = amounts[slot];
            const int first = activeTool == 1 ? 0 : 1;
            const int last = activeTool == 1 ? 0 : 3;
            for (int f = first; f <= last; ++f) {
                if (feeders[f].contains(x, y)) {
                    feeders[f].addFood(amount);
                    inventorySlots[slot].count -= 1;
                    refreshInventoryTexts();
                    break;
                }
            }
            activeTool = ToolNone;
            break;
        }
        case ToolKurort:
            kurortCard.setPosition({kurortHomeX, cardHomeY});
            activeTool = ToolNone;
            // Only old birds accept; each one pays its resort fee.
            for (TChiken2& chicken : vecChikens) {
                if (chicken.command("kurort")) {
                    coins += 10;
                    coinsEarned += 10;
                    coinText.setString(std::to_string(coins));
                }
            }
            break;
        case ToolPsychologist:
            psychologistCard.setPosition({psychologistHomeX, cardHomeY});
            activeTool = ToolNone;
            for (TChiken2& chicken : vecChikens)
                chicken.command("dance");
            psychologistCount -= 1;
            bubblesOverFlock(vecChikens, bubbles, musicNoteTexture);
            break;
        case ToolVet:
            vetCard.setPosition({vetHomeX, cardHomeY});
            activeTool = ToolNone;
            vetCount -= 1;
            bubblesOverFlock(vecChikens, bubbles, vetBubbleTexture);
            break;
        default: break;
        }
    }

    if (mode == ModeShop)
        (*shop).onRelease(button, x, y);
}
