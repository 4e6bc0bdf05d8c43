// The frame: the tiled floor, the pen with its furniture and animals, and the
// head-up display, back to front; plus the coin quest's per-frame step.

#include "actors/Geometry.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/TShop.hpp"
#include "eggline/TSlot.hpp"
#include "eggline/TSort.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

int TWorld::socketTexture(int index) const
{
    const bool sorting = mode == ModeSorting || mode == ModeSortingRunning;
    const int textures[4] = {sorting ? image::buttonSortPressed : image::buttonSort,
                             mode == ModeShop ? image::buttonShopPressed : image::buttonShop, image::buttonSound,
                             image::buttonClean};
    return textures[index];
}

void TWorld::addHudCovers(const sf::RenderTarget& target)
{
    // Only where a unit is a pixel, so a plate's pixel shows one texel of it.
    const sf::View& view = target.getView();
    const sf::IntRect viewport = target.getViewport(view);
    if (view.getRotation() != sf::degrees(0.f) || sf::Vector2f(viewport.size) != view.getSize())
        return;
    const auto cover = [&](int id, sf::Vector2f place) {
        const sf::Sprite& plate = store().getSprite(id);
        if (plate.getScale() != sf::Vector2f(1.f, 1.f) || plate.getRotation() != sf::degrees(0.f)
            || plate.getColor().a != 255)
            return;
        const sf::IntRect inner = stillPicture.opaqueInterior(plate.getTexture());
        const auto shown = inner.findIntersection(plate.getTextureRect());
        if (!shown || shown->size.x < 4 || shown->size.y < 4)
            return;
        const sf::Vector2f at = place - plate.getOrigin() - sf::Vector2f(plate.getTextureRect().position);
        const sf::Vector2i a = target.mapCoordsToPixel(at + sf::Vector2f(shown->position));
        const sf::Vector2i b = target.mapCoordsToPixel(at + sf::Vector2f(shown->position + shown->size));
        // Whole pixels only, one in from each edge.
        const sf::IntRect covered(a + sf::Vector2i(1, 1), b - a - sf::Vector2i(2, 2));
        covers.push_back(covered);
        sf::Sprite placed = plate;
        placed.setPosition(place);
        stillPicture.addPlate(placed, covered);
    };
    for (const HudPlate& plate : hudPlates())
        cover(plate.picture(*this), plate.place(*this));
}

void TWorld::draw(sf::RenderTarget& target)
{
    if (drawDirect) {
        stillPicture.paintLayers(target);
        drawLife(target);
        drawHud(target);
        return;
    }
    // The same frame, with the still layers copied from their picture, the
    // many small things drawn in batches, and what an open window hides
    // left out.
    const sf::FloatRect hidden = hiddenArea();
    sf::IntRect hiddenPixels;
    if (hidden.size.x > 0.f && target.getView().getRotation() == sf::degrees(0.f)) {
        // Whole pixels only, one in from each edge.
        const sf::Vector2i a = target.mapCoordsToPixel(hidden.position);
        const sf::Vector2i b = target.mapCoordsToPixel(hidden.position + hidden.size);
        hiddenPixels = sf::IntRect(a + sf::Vector2i(1, 1), b - a - sf::Vector2i(2, 2));
    }
    covers.clear();
    stillPicture.clearPlates();
    if (hiddenPixels.size.x > 0 && hiddenPixels.size.y > 0)
        covers.push_back(hiddenPixels);
    addHudCovers(target);
    // The open window is drawn after the display's plates.
    if (hiddenPixels.size.x > 0 && hiddenPixels.size.y > 0)
        stillPicture.addPlate(*openWindow(), hiddenPixels);
    stillPicture.draw(target, covers);
    drawLife(target, hiddenPixels.size.x > 0 ? hidden : sf::FloatRect());
    drawHud(target);
}

const TActor* TWorld::openWindow() const
{
    if (mode == ModeSorting || mode == ModeSortingRunning)
        return &*sortMachine;
    if (mode == ModeShop && shop->visible)
        return &*shop;
    return nullptr;
}

sf::FloatRect TWorld::hiddenArea()
{
    const TActor* window = openWindow();
    // Only a window drawn straight, fully opaque, hides what lies under it.
    if (window == nullptr || !window->visible || window->getRotation() != sf::degrees(0.f)
        || window->getColor().a != 255)
        return {};
    const sf::IntRect inner = stillPicture.opaqueInterior(window->getTexture());
    const sf::IntRect shown = window->getTextureRect();
    // The part of the opaque interior that the window's rectangle shows,
    // where the window puts it, one unit in from each edge.
    const int l = std::max(inner.position.x, shown.position.x);
    const int t = std::max(inner.position.y, shown.position.y);
    const int r = std::min(inner.position.x + inner.size.x, shown.position.x + shown.size.x);
    const int b = std::min(inner.position.y + inner.size.y, shown.position.y + shown.size.y);
    if (r - l < 4 || b - t < 4 || shown.size.x <= 0 || shown.size.y <= 0)
        return {};
    const sf::Transform& place = window->getTransform();
    const auto corner = [&](int x, int y) {
        return place.transformPoint(
            {static_cast<float>(x - shown.position.x), static_cast<float>(y - shown.position.y)});
    };
    const sf::Vector2f p = corner(l, t);
    const sf::Vector2f q = corner(r, b);
    const sf::Vector2f low(std::min(p.x, q.x) + 1.f, std::min(p.y, q.y) + 1.f);
    const sf::Vector2f high(std::max(p.x, q.x) - 1.f, std::max(p.y, q.y) - 1.f);
    return {low, high - low};
}

void TWorld::drawLife(sf::RenderTarget& target, const sf::FloatRect& hidden)
{
    feeders[0].draw(target);
    for (TDrinkingbowl& bowl : drinkingBowls)
        bowl.draw(target);
    target.draw(feedSprite);
    for (const sf::Sprite& gutter : gutterSprites)
        target.draw(gutter);
    for (int i = 1; i < 4; ++i)
        feeders[i].draw(target);

    if (drawDirect) {
        for (TEgg2& egg : eggsOnFloor)
            egg.drawMarked(target, false);
        for (TChiken2& chicken : vecChikens)
            chicken.draw(target);
        for (TBubble& bubble : bubbles)
            bubble.draw(target);
        return;
    }
    // Whatever lies wholly under the open window's opaque part, or under a
    // plate's (the covers, in target pixels), would be painted over anyway.
    const bool straight = target.getView().getRotation() == sf::degrees(0.f);
    const auto seen = [&](const sf::FloatRect& bounds) {
        if (hidden.size.x > 0.f && hidden.contains(bounds.position) && hidden.contains(bounds.position + bounds.size))
            return false;
        if (!straight)
            return true;
        // A pixel more around, for the rounding.
        const sf::Vector2i a = target.mapCoordsToPixel(bounds.position) - sf::Vector2i(1, 1);
        const sf::Vector2i b = target.mapCoordsToPixel(bounds.position + bounds.size) + sf::Vector2i(1, 1);
        for (const sf::IntRect& cover : covers)
            if (cover.contains(a) && cover.contains(b))
                return false;
        return true;
    };
    batch.clear();
    for (TEgg2& egg : eggsOnFloor)
        if (seen(egg.getGlobalBounds()))
            egg.addMarked(batch, false);
    batch.draw(target);
    for (TChiken2& chicken : vecChikens) {
        if (seen(chicken.getGlobalBounds()))
            drawInked(target, chicken);
        chicken.drawMoodIcon(target);
    }
    batch.clear();
    for (TBubble& bubble : bubbles)
        if (seen(bubble.getGlobalBounds()))
            bubble.addTo(batch);
    batch.draw(target);
}

void TWorld::drawInked(sf::RenderTarget& target, const sf::Sprite& sprite)
{
    // Kept simple: straight sprites on a straight view, shown in full.
    const sf::IntRect rect = sprite.getTextureRect();
    const sf::View view = target.getView();
    const sf::Vector2f scale = sprite.getScale();
    const sf::IntRect viewport = target.getViewport(view);
    const float viewScale = std::min(static_cast<float>(viewport.size.x) / std::abs(view.getSize().x),
                                     static_cast<float>(viewport.size.y) / std::abs(view.getSize().y));
    const float shrink = std::min(std::abs(scale.x), std::abs(scale.y)) * viewScale;
    if (rect.size.x <= 0 || rect.size.y <= 0 || !(shrink > 0.f) || sprite.getRotation() != sf::degrees(0.f)
        || view.getRotation() != sf::degrees(0.f)) {
        target.draw(sprite);
        return;
    }
    // How far the filter reads around a texel: a little beyond the coarsest
    // of the two mipmap levels it blends at this size.
    int reach = 4;
    for (float texels = 1.f / shrink; texels > 1.f; texels /= 2.f)
        reach *= 2;
    // The picture in bands of rows, each drawn only as wide as its own ink
    // (a bird's empty corners are then not filtered for nothing).
    const sf::Transform& place = sprite.getTransform();
    const sf::IntRect whole({0, 0}, sf::Vector2i(target.getSize()));
    const int rows = std::abs(rect.size.y);
    const int top = std::min(rect.position.y, rect.position.y + rect.size.y);
    std::vector<sf::IntRect> boxes;
    for (int k = 0; k < inkBands; ++k) {
        const int from = rows * k / inkBands, to = rows * (k + 1) / inkBands;
        if (to <= from)
            continue;
        sf::IntRect ink =
            inkBounds.inked(sprite.getTexture(), {{rect.position.x, top + from}, {rect.size.x, to - from}}, reach);
        if (ink.size.x <= 0)
            continue;
        ink.position.y += from;
        const sf::Vector2i a = target.mapCoordsToPixel(place.transformPoint(sf::Vector2f(ink.position)));
        const sf::Vector2i b = target.mapCoordsToPixel(place.transformPoint(sf::Vector2f(ink.position + ink.size)));
        // Two pixels more on every side, for the rounding on the way.
        const sf::IntRect box({std::min(a.x, b.x) - 2, std::min(a.y, b.y) - 2},
                              {std::abs(b.x - a.x) + 5, std::abs(b.y - a.y) + 5});
        if (const auto shown = box.findIntersection(whole))
            boxes.push_back(*shown);
    }
    // Nothing inked: only the sprite's draw is skipped.
    for (const sf::IntRect& strip : TInkBounds::rowStrips(boxes))
        TStillPicture::drawClipped(target, sprite, strip);
}

void TWorld::drawHud(sf::RenderTarget& target)
{
    const bool sorting = mode == ModeSorting || mode == ModeSortingRunning;

    // The plates, each with what stands on it; the sort and shop sockets
    // glow while their window is open.
    for (const HudPlate& plate : hudPlates()) {
        drawPlate(target, plate.picture(*this), plate.place(*this));
        if (plate.then != nullptr)
            plate.then(*this, target);
    }

    if (activeTool >= 1 && activeTool <= 3)
        store().drawSpriteAt(target, image::cormbaby1 + (activeTool - 1), mousePos); // the feed bag carried

    if (sorting) {
        if (drawDirect) {
            sortMachine->draw(target);
        } else {
            if (sortMachine->visible)
                stillPicture.drawPlate(target, *sortMachine);
            sortMachine->drawContents(target);
        }
        // Only a running machine marks eggs, and only those whose position
        // lies strictly inside the scanner.
        const sf::IntRect scanner = TSort::scannerRect();
        batch.clear();
        for (TEgg2& egg : eggsOnTable) {
            const bool marked = mode == ModeSortingRunning && rectContains(scanner, egg.getPosition());
            if (drawDirect)
                egg.drawMarked(target, marked);
            else
                egg.addMarked(batch, marked);
        }
        // The eggs packed so far, three to a row, in each package.
        sf::Sprite& packed = store().getSprite(image::egg0);
        for (auto [count, top] : {std::pair{packC0Count, 617.f}, std::pair{packC1Count, 753.f}})
            for (int i = 0; i < count; ++i) {
                const sf::Vector2f place{583.f + 36.f * static_cast<float>(i % 3),
                                         top + 36.f * static_cast<float>(i / 3)};
                if (drawDirect) {
                    store().drawSpriteAt(target, image::egg0, place);
                } else {
                    packed.setPosition(place);
                    batch.add(packed);
                }
            }
        batch.draw(target);
        store().drawSprite(target, image::sortingMachine2);
    } else if (mode == ModeShop) {
        if (drawDirect) {
            shop->draw(target);
        } else if (shop->visible) {
            shop->drawTabs(target);
            stillPicture.drawPlate(target, *shop);
            shop->drawContents(target);
        }
    }

    // The story messages, then the quest panel with its count.
    for (const StoryMessage& message : storyMessages())
        if (storyShows(message)) {
            store().drawSpriteAt(target, message.id, message.at);
            if (message.then != nullptr)
                message.then(*this, target);
        }
}

void TWorld::drawPlate(sf::RenderTarget& target, int id, sf::Vector2f place)
{
    sf::Sprite& plate = store().getSprite(id);
    plate.setPosition(place);
    if (drawDirect)
        target.draw(plate);
    else
        stillPicture.drawPlate(target, plate);
}

void TWorld::drawCards(sf::RenderTarget& target)
{
    kurortCard.draw(target);
    if (vetCount > 0)
        vetCard.draw(target);
    if (psychologistCount > 0)
        psychologistCard.draw(target);
}

void TWorld::drawInventorySlots(sf::RenderTarget& target)
{
    for (TSlot& slot : *inventorySlots)
        slot.draw(target);
}
