#include "world/TFieldCache.hpp"

#include "core/OpaqueInterior.hpp"
#include "core/TTextureStore.hpp"
#include "platform/StartupMemory.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderStates.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The floor's grid: 80 by 45 tiles of 24 pixels cover 1920 by 1080.
constexpr int floorColumns = 80;
constexpr int floorRows = 45;
constexpr float floorPitch = 24.f;

// The look of a stamp that its drawing moves: everything but the position.
TSpriteLook stampLook(const sf::Sprite& stamp)
{
    sf::Sprite still = stamp;
    still.setPosition({0.f, 0.f});
    return TSpriteLook(still);
}

} // namespace

TSpriteLook::TSpriteLook(const sf::Sprite& sprite)
    : texture(&sprite.getTexture())
    , rect(sprite.getTextureRect())
    , colour(sprite.getColor().toInteger())
{
    const float* m = sprite.getTransform().getMatrix();
    // The 2D part of the 4x4 matrix (column-major): x and y rows.
    const int used[6] = {0, 4, 12, 1, 5, 13};
    for (int k = 0; k < 6; ++k)
        matrix[k] = m[used[k]];
}

TFieldCache::ViewLook TFieldCache::lookOf(const sf::RenderTarget& target)
{
    const sf::View& view = target.getView();
    return {view.getCenter(),   view.getSize(),    view.getRotation().asDegrees(),
            view.getViewport(), view.getScissor(), target.getSize()};
}

std::vector<TSpriteLook> TFieldCache::penLooks(TWorld& world) const
{
    TTextureStore& store = TTextureStore::instance();
    return {TSpriteLook(world.rect221Sprite),           TSpriteLook(world.frame60Sprite),
            TSpriteLook(world.frame49Sprite),           TSpriteLook(world.subtractSprite),
            stampLook(store.getSprite(image::zherlob)), stampLook(store.getSprite(image::ventilation)),
            stampLook(store.getSprite(image::panel1))};
}

bool TFieldCache::groundCurrent(TWorld& world, const ViewLook& view, std::size_t& spotsDrawn) const
{
    spotsDrawn = 0;
    if (!haveGround || !(view == groundView) || floorLook != std::vector<TSpriteLook>{stampLook(*cellSprite)})
        return false;
    const std::vector<sf::Sprite>& dirt = world.pollution;
    if (spots.size() > dirt.size())
        return false;
    for (std::size_t i = 0; i < spots.size(); ++i)
        if (!(spots[i] == TSpriteLook(dirt[i])))
            return false;
    spotsDrawn = spots.size();
    return true;
}

void TFieldCache::paintGround(sf::RenderTarget& target, TWorld& world, std::size_t from)
{
    if (from == npos) {
        from = 0;
        world.drawBackground(target, floorColumns, floorRows, floorPitch);
        floorLook = {stampLook(*cellSprite)};
        spots.clear();
        ++groundPaints;
    } else if (from < world.pollution.size()) {
        ++spotPaints;
    }
    // Dirt only ever comes at the end of the list, and the spots lie right on
    // the floor, so new ones are painted over the kept ground as it is.
    for (std::size_t i = from; i < world.pollution.size(); ++i) {
        target.draw(world.pollution[i]);
        spots.emplace_back(world.pollution[i]);
    }
}

void TFieldCache::draw(sf::RenderTarget& target, TWorld& world, const std::vector<sf::IntRect>& covered)
{
    lastFramePut = false;
    platesCurrent = false;
    const ViewLook view = lookOf(target);
    const sf::IntRect whole({0, 0}, sf::Vector2i(target.getSize()));
    const sf::IntRect area = target.getViewport(target.getView()).findIntersection(whole).value_or(sf::IntRect());

    std::size_t spotsDrawn = 0;
    const bool groundKept = picturesAllowed && groundCurrent(world, view, spotsDrawn) && ground.fits(target);
    if (groundKept && spotsDrawn == world.pollution.size() && havePen && pen.fits(target)
        && penLooks(world) == furniture && plates == paintedPlates) {
        // Nothing changed: the picture put back, but for what will be covered.
        lastFramePut = pen.put(target, uncoveredParts(area, covered));
        if (lastFramePut) {
            platesCurrent = true;
            // The stamps end where their last drawing would leave them.
            cellSprite->setPosition(
                {static_cast<float>(floorColumns - 1) * floorPitch, static_cast<float>(floorRows - 1) * floorPitch});
            world.placeFurnitureStamps();
            return;
        }
    }

    // The layers painted on the target itself, as the frame paints them, and
    // the pictures taken: the ground put back with the new spots on it, or
    // painted whole; then the furniture, and the plates' opaque parts (the
    // frame paints the plates over them later).
    const bool groundPut = groundKept && ground.put(target, {area});
    paintGround(target, world, groundPut ? spotsDrawn : npos);
    groundView = view;
    // Ground put back with no new spot on it is the picture already kept.
    const bool groundSame = groundPut && spotsDrawn == world.pollution.size();
    haveGround = picturesAllowed && (groundSame || ground.take(target, {area}));
    world.drawFurniture(target);
    for (const Plate& plate : plates)
        drawClipped(target, plate.sprite, plate.cover);
    havePen = haveGround && pen.take(target, {area});
    furniture = penLooks(world);
    paintedPlates = plates;
    platesCurrent = havePen;
    ++penPaints;
}

void TFieldCache::addPlate(const sf::Sprite& sprite, const sf::IntRect& cover)
{
    if (cover.size.x > 0 && cover.size.y > 0)
        plates.push_back({sprite, cover});
}

void TFieldCache::drawPlate(sf::RenderTarget& target, const sf::Sprite& sprite)
{
    const TSpriteLook look(sprite);
    const auto painted = std::find_if(paintedPlates.begin(), paintedPlates.end(),
                                      [&](const Plate& plate) { return TSpriteLook(plate.sprite) == look; });
    const sf::IntRect whole({0, 0}, sf::Vector2i(target.getSize()));
    const auto cover = painted == paintedPlates.end() ? std::nullopt : painted->cover.findIntersection(whole);
    // The opaque part from the picture, the edges around it drawn.
    if (!platesCurrent || !cover || !pen.put(target, {*cover})) {
        target.draw(sprite);
        return;
    }
    ++platesCopied;
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    const sf::Vector2i a = target.mapCoordsToPixel(bounds.position);
    const sf::Vector2i b = target.mapCoordsToPixel(bounds.position + bounds.size);
    // Two pixels more on every side, for the rounding on the way.
    const sf::IntRect around({std::min(a.x, b.x) - 2, std::min(a.y, b.y) - 2},
                             {std::abs(b.x - a.x) + 5, std::abs(b.y - a.y) + 5});
    for (const sf::IntRect& edge : uncoveredParts(around, {*cover}))
        drawClipped(target, sprite, edge);
}

void TFieldCache::drawClipped(sf::RenderTarget& target, const sf::Sprite& sprite, const sf::IntRect& pixels)
{
    const sf::View view = target.getView();
    const sf::Vector2f size(target.getSize());
    const sf::FloatRect clip(sf::Vector2f(pixels.position).componentWiseDiv(size),
                             sf::Vector2f(pixels.size).componentWiseDiv(size));
    const auto clipped = clip.findIntersection(view.getScissor());
    if (!clipped)
        return;
    sf::View narrowed = view;
    narrowed.setScissor(*clipped);
    target.setView(narrowed);
    target.draw(sprite);
    target.setView(view);
}

std::vector<sf::IntRect> TFieldCache::uncoveredParts(const sf::IntRect& area, const std::vector<sf::IntRect>& covered)
{
    const int left = area.position.x, top = area.position.y;
    const int right = left + area.size.x, bottom = top + area.size.y;
    std::vector<sf::IntRect> parts;
    if (right <= left || bottom <= top)
        return parts;
    // The covers within the area, and the rows where one begins or ends.
    std::vector<sf::IntRect> covers;
    std::vector<int> rows{top, bottom};
    for (const sf::IntRect& c : covered) {
        const int l = std::max(left, c.position.x), r = std::min(right, c.position.x + c.size.x);
        const int t = std::max(top, c.position.y), b = std::min(bottom, c.position.y + c.size.y);
        if (r <= l || b <= t)
            continue;
        covers.push_back(sf::IntRect({l, t}, {r - l, b - t}));
        rows.push_back(t);
        rows.push_back(b);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Band by band, the columns no cover spans; a part grows downwards while
    // the next band leaves the same columns open.
    std::vector<std::size_t> open; // parts reaching the current band
    for (std::size_t k = 0; k + 1 < rows.size(); ++k) {
        const int t = rows[k], b = rows[k + 1];
        std::vector<std::pair<int, int>> spans;
        for (const sf::IntRect& c : covers)
            if (c.position.y <= t && b <= c.position.y + c.size.y)
                spans.emplace_back(c.position.x, c.position.x + c.size.x);
        std::sort(spans.begin(), spans.end());
        std::vector<std::size_t> reaching;
        int x = left;
        const auto emit = [&](int from, int to) {
            if (to <= from)
                return;
            for (std::size_t i : open)
                if (parts[i].position.x == from && parts[i].size.x == to - from
                    && parts[i].position.y + parts[i].size.y == t) {
                    parts[i].size.y += b - t;
                    reaching.push_back(i);
                    return;
                }
            reaching.push_back(parts.size());
            parts.push_back(sf::IntRect({from, t}, {to - from, b - t}));
        };
        for (const auto& [from, to] : spans) {
            emit(x, from);
            x = std::max(x, to);
        }
        emit(x, right);
        open = std::move(reaching);
    }
    return parts;
}

void TFieldCache::forget()
{
    haveGround = havePen = false;
    spots.clear();
    furniture.clear();
    paintedPlates.clear();
    ground.forget();
    pen.forget();
}

sf::IntRect TFieldCache::opaqueInterior(const sf::Texture& texture)
{
    // A plate of the store's was measured as it was decoded.
    if (const auto known = TTextureStore::instance().opaqueInterior(texture))
        return *known;
    if (const auto found = interiors.find(&texture); found != interiors.end())
        return found->second;
    const sf::Image image = texture.copyToImage();
    const sf::IntRect interior = opaqueInteriorOf(image.getPixelsPtr(), image.getSize());
    // The pixels read back leave the heap again.
    releaseFreeHeap();
    interiors.emplace(&texture, interior);
    return interior;
}
