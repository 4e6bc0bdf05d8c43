// The frame: the tiled floor, the pen with its furniture and animals, and the
// head-up display, back to front; plus the coin quest's per-frame step.

#include "actors/Geometry.hpp"
#include "eggline/TShop.hpp"
#include "eggline/TSlot.hpp"
#include "eggline/TSort.hpp"
#include "core/Globals.hpp"
#include "world/ProcessObjects.hpp"
#include "core/TTextureStore.hpp"
#include "world/TWorld.hpp"

#include <cmath>
#include <string>
#include <utility>

namespace {

TTextureStore& store() { return TTextureStore::instance(); }

} // namespace

void TWorld::draw(sf::RenderTarget& target)
{
    drawBackground(target, 80, 45, 24.f);
    drawField(target);
    drawHud(target);
}

void TWorld::drawBackground(sf::RenderTarget& target, int columns, int rows, float pitch)
{
    // Every tile is the cell sprite stamped at its place: the same corners,
    // texture coordinates and colour a draw of the sprite itself would send,
    // in the same two triangles, only all in one batch.
    sf::Sprite& tile = *cellSprite;
    const FloorLayout layout{columns,        rows,           pitch,
                             tile.getTextureRect(), tile.getColor(), &tile.getTexture(),
                             tile.getOrigin(), tile.getScale(), tile.getRotation().asDegrees()};
    sf::RenderStates states;
    states.texture = &tile.getTexture();
    if (layout == floorLayout && floorTiles.getVertexCount() != 0) {
        // The stamp ends where the last tile is, as if every tile were drawn.
        tile.setPosition({static_cast<float>(columns - 1) * pitch, static_cast<float>(rows - 1) * pitch});
        target.draw(floorTiles, states);
        return;
    }
    floorLayout = layout;
    const sf::FloatRect rect(tile.getTextureRect());
    const sf::Vector2f size(std::abs(rect.size.x), std::abs(rect.size.y));
    const sf::Color colour = tile.getColor();
    const sf::Vertex corners[4] = {{{0.f, 0.f}, colour, rect.position},
                                   {{0.f, size.y}, colour, rect.position + sf::Vector2f(0.f, rect.size.y)},
                                   {{size.x, 0.f}, colour, rect.position + sf::Vector2f(rect.size.x, 0.f)},
                                   {size, colour, rect.position + rect.size}};
    floorTiles.clear();
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            tile.setPosition({static_cast<float>(i) * pitch, static_cast<float>(j) * pitch});
            const sf::Transform& place = tile.getTransform();
            for (int k : {0, 1, 2, 2, 1, 3}) {
                sf::Vertex v = corners[k];
                v.position = place.transformPoint(v.position);
                floorTiles.append(v);
            }
        }
    target.draw(floorTiles, states);
}

void TWorld::drawField(sf::RenderTarget& target)
{
    for (const sf::Sprite& dirt : pollution)
        target.draw(dirt);

    target.draw(rect221Sprite);
    target.draw(frame60Sprite);
    target.draw(frame49Sprite);
    target.draw(subtractSprite);

    store().drawSpriteAt(target, image::zherlob, {672.f, 250.f});
    for (float x : {0.f, 125.f, 1675.f, 1800.f})
        store().drawSpriteAt(target, image::ventilation, {x, 0.f});
    for (float x : {550.f, 445.f, 340.f, 235.f, 130.f, 25.f, -80.f})
        store().drawSpriteAt(target, image::panel1, {x, 132.f});

    feeders[0].draw(target);
    for (TDrinkingbowl& bowl : drinkingBowls)
        bowl.draw(target);
    target.draw(feedSprite);
    for (const sf::Sprite& gutter : gutterSprites)
        target.draw(gutter);
    for (int i = 1; i < 4; ++i)
        feeders[i].draw(target);

    for (TEgg2& egg : eggsOnFloor)
        egg.drawMarked(target, false);
    for (TChiken2& chicken : vecChikens)
        chicken.draw(target);
    for (TBubble& bubble : bubbles)
        bubble.draw(target);
}

void TWorld::drawHud(sf::RenderTarget& target)
{
    const bool sorting = mode == ModeSorting || mode == ModeSortingRunning;

    // Toolbar sockets under the round buttons; the sort and shop sockets glow
    // while their window is open.
    store().drawSpriteAt(target, image::buttonControl, {600.f, 1000.f});
    store().drawSpriteAt(target, sorting ? image::buttonSortPressed : image::buttonSort, {682.f, 944.f});
    store().drawSpriteAt(target, mode == ModeShop ? image::buttonShopPressed : image::buttonShop, {828.f, 944.f});
    store().drawSpriteAt(target, image::buttonSound, {974.f, 944.f});
    store().drawSpriteAt(target, image::buttonClean, {1120.f, 944.f});
    for (auto& button : toolbarButtons)
        button->draw(target);

    store().drawSpriteAt(target, image::frameCountEggs, {735.f, 0.f});
    drawText(target, eggCountText);
    store().drawSpriteAt(target, image::frameCurCoin, {1718.f, 15.f});
    drawText(target, coinText);
    store().drawSpriteAt(target, image::frameTimer, {29.f, 15.f});
    drawText(target, timeText);

    kurortCard.draw(target);
    if (vetCount > 0)
        vetCard.draw(target);
    if (psychologistCount > 0)
        psychologistCard.draw(target);

    drawInventory(target);

    if (activeTool >= 1 && activeTool <= 3)
        store().drawSpriteAt(target, image::cormbaby1 + (activeTool - 1), mousePos); // the feed bag carried

    if (sorting) {
        sortMachine->draw(target);
        // Only a running machine marks eggs, and only those whose position
        // lies strictly inside the scanner.
        const sf::IntRect scanner = TSort::scannerRect();
        for (TEgg2& egg : eggsOnTable)
            egg.drawMarked(target, mode == ModeSortingRunning && rectContains(scanner, egg.getPosition()));
        // The eggs packed so far, three to a row, in each package.
        for (auto [count, top] : {std::pair{packC0Count, 617.f}, std::pair{packC1Count, 753.f}})
            for (int i = 0; i < count; ++i)
                store().drawSpriteAt(target, image::egg0,
                                     {583.f + 36.f * static_cast<float>(i % 3), top + 36.f * static_cast<float>(i / 3)});
        store().drawSprite(target, image::sortingMachine2);
    } else if (mode == ModeShop) {
        shop->draw(target);
    }

    // The story: each test reads the clock anew, all bounds strict.
    if (storyClock.getElapsed() < 5.f)
        store().drawSpriteAt(target, image::ortomyk, {295.f, 411.f});
    if (storyClock.getElapsed() > 10.f && storyClock.getElapsed() < 15.f)
        store().drawSpriteAt(target, image::plimsa, {295.f, 411.f});
    if (storyClock.getElapsed() > 360.f && storyClock.getElapsed() < 370.f)
        store().drawSpriteAt(target, image::scene11msg1, {313.f, 422.f});
    if (storyClock.getElapsed() > 375.f && storyClock.getElapsed() < 385.f)
        store().drawSpriteAt(target, image::scene11msg2, {313.f, 714.f});
    if (showMessage3)
        store().drawSpriteAt(target, image::scene11msg3, {528.f, 253.f});
    if (showMessage4)
        store().drawSpriteAt(target, image::scene11msg4, {313.f, 411.f});

    if (storyClock.getElapsed() > 385.f && !questComplete) {
        questText.setString(std::to_string(coinsEarned) + "/1000");
        store().drawSpriteAt(target, image::quest1, {29.f, 92.f});
        drawText(target, questText);
    }
}

void TWorld::drawInventory(sf::RenderTarget& target)
{
    store().drawSpriteAt(target, image::inventory, {55.f, 870.f});
    for (int i = 0; i < 6; ++i)
        inventorySlots[i].draw(target);
}
