#include "world/TStillPicture.hpp"

#include "core/OpaqueInterior.hpp"
#include "core/TTextureStore.hpp"
#include "platform/StartupMemory.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderStates.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The look of a stamp that its drawing moves: everything but the position.
TSpriteLook stampLook(const sf::Sprite& stamp)
{
    sf::Sprite still = stamp;
    still.setPosition({0.f, 0.f});
    return TSpriteLook(still);
}

} // namespace

TStillPicture::ViewLook TStillPicture::lookOf(const sf::RenderTarget& target)
{
    const sf::View& view = target.getView();
    return {view.getCenter(),   view.getSize(),    view.getRotation().asDegrees(),
            view.getViewport(), view.getScissor(), target.getSize()};
}

void TStillPicture::addFloor(sf::Sprite& tile, int columns, int rows, float pitch)
{
    Layer layer;
    layer.kind = Layer::Kind::Floor;
    layer.stamp = &tile;
    layer.columns = columns;
    layer.rows = rows;
    layer.pitch = pitch;
    layers.push_back(std::move(layer));
    forget();
}

void TStillPicture::addSpots(const std::vector<sf::Sprite>& list)
{
    Layer layer;
    layer.kind = Layer::Kind::Spots;
    layer.spots = &list;
    spotsLayer = layers.size();
    layers.push_back(std::move(layer));
    forget();
}

void TStillPicture::addSprite(const sf::Sprite& sprite)
{
    Layer layer;
    layer.kind = Layer::Kind::Sprite;
    layer.sprite = &sprite;
    layers.push_back(std::move(layer));
    forget();
}

void TStillPicture::addStamps(sf::Sprite& stamp, std::vector<sf::Vector2f> places)
{
    Layer layer;
    layer.kind = Layer::Kind::Stamps;
    layer.stamp = &stamp;
    layer.places = std::move(places);
    layers.push_back(std::move(layer));
    forget();
}

std::vector<TSpriteLook> TStillPicture::layerLook(std::size_t index) const
{
    const Layer& layer = layers[index];
    switch (layer.kind) {
    case Layer::Kind::Spots: {
        std::vector<TSpriteLook> looks;
        for (const sf::Sprite& spot : *layer.spots)
            looks.emplace_back(spot);
        return looks;
    }
    case Layer::Kind::Sprite: return {TSpriteLook(*layer.sprite)};
    // The grid and the places stay as they were named; the stamp is moved by
    // its drawing.
    case Layer::Kind::Floor:
    case Layer::Kind::Stamps: break;
    }
    return {stampLook(*layer.stamp)};
}

std::vector<TSpriteLook> TStillPicture::looksOf(std::size_t from, std::size_t to) const
{
    std::vector<TSpriteLook> looks;
    for (std::size_t k = from; k < to; ++k)
        for (const TSpriteLook& look : layerLook(k))
            looks.push_back(look);
    return looks;
}

const std::vector<sf::Sprite>& TStillPicture::dirt() const
{
    static const std::vector<sf::Sprite> none;
    return spotsLayer == npos ? none : *layers[spotsLayer].spots;
}

void TStillPicture::paint(sf::RenderTarget& target, std::size_t index)
{
    const Layer& layer = layers[index];
    switch (layer.kind) {
    case Layer::Kind::Floor: paintFloor(target, layer); return;
    case Layer::Kind::Spots:
        for (const sf::Sprite& spot : *layer.spots)
            target.draw(spot);
        return;
    case Layer::Kind::Sprite: target.draw(*layer.sprite); return;
    case Layer::Kind::Stamps:
        for (sf::Vector2f place : layer.places) {
            layer.stamp->setPosition(place);
            target.draw(*layer.stamp);
        }
        return;
    }
}

void TStillPicture::paintLayers(sf::RenderTarget& target)
{
    for (std::size_t k = 0; k < layers.size(); ++k)
        paint(target, k);
}

void TStillPicture::paintFloor(sf::RenderTarget& target, const Layer& layer)
{
    // Every tile is the stamp at its place: the same corners, texture
    // coordinates and colour a draw of the sprite itself would send, in the
    // same two triangles, only all in one batch.
    sf::Sprite& tile = *layer.stamp;
    const int columns = layer.columns, rows = layer.rows;
    const float pitch = layer.pitch;
    const FloorBatch::Layout layout{columns,
                                    rows,
                                    pitch,
                                    tile.getTextureRect(),
                                    tile.getColor(),
                                    &tile.getTexture(),
                                    tile.getOrigin(),
                                    tile.getScale(),
                                    tile.getRotation().asDegrees()};
    sf::RenderStates states;
    states.texture = &tile.getTexture();
    if (layout == floor.layout && floor.tiles.getVertexCount() != 0) {
        // The stamp ends where the last tile is, as if every tile were drawn.
        tile.setPosition({static_cast<float>(columns - 1) * pitch, static_cast<float>(rows - 1) * pitch});
        target.draw(floor.tiles, states);
        return;
    }
    floor.layout = layout;
    const sf::FloatRect rect(tile.getTextureRect());
    const sf::Vector2f size(std::abs(rect.size.x), std::abs(rect.size.y));
    const sf::Color colour = tile.getColor();
    const sf::Vertex corners[4] = {{{0.f, 0.f}, colour, rect.position},
                                   {{0.f, size.y}, colour, rect.position + sf::Vector2f(0.f, rect.size.y)},
                                   {{size.x, 0.f}, colour, rect.position + sf::Vector2f(rect.size.x, 0.f)},
                                   {size, colour, rect.position + rect.size}};
    floor.tiles.clear();
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            tile.setPosition({static_cast<float>(i) * pitch, static_cast<float>(j) * pitch});
            const sf::Transform& place = tile.getTransform();
            for (int k : {0, 1, 2, 2, 1, 3}) {
                sf::Vertex v = corners[k];
                v.position = place.transformPoint(v.position);
                floor.tiles.append(v);
            }
        }
    target.draw(floor.tiles, states);
}

void TStillPicture::leaveStamps(std::size_t from, std::size_t to)
{
    for (std::size_t k = from; k < to; ++k) {
        const Layer& layer = layers[k];
        if (layer.kind == Layer::Kind::Floor)
            layer.stamp->setPosition({static_cast<float>(layer.columns - 1) * layer.pitch,
                                      static_cast<float>(layer.rows - 1) * layer.pitch});
        else if (layer.kind == Layer::Kind::Stamps && !layer.places.empty())
            layer.stamp->setPosition(layer.places.back());
    }
}

bool TStillPicture::groundCurrent(const ViewLook& view, std::size_t& spotsDrawn) const
{
    spotsDrawn = 0;
    const std::size_t below = spotsLayer == npos ? 0 : spotsLayer;
    if (!haveGround || !(view == groundView) || floorLook != looksOf(0, below))
        return false;
    const std::vector<sf::Sprite>& spotsNow = dirt();
    if (spots.size() > spotsNow.size())
        return false;
    for (std::size_t i = 0; i < spots.size(); ++i)
        if (!(spots[i] == TSpriteLook(spotsNow[i])))
            return false;
    spotsDrawn = spots.size();
    return true;
}

void TStillPicture::paintGround(sf::RenderTarget& target, std::size_t from)
{
    const std::size_t below = spotsLayer == npos ? 0 : spotsLayer;
    const std::vector<sf::Sprite>& spotsNow = dirt();
    if (from == npos) {
        from = 0;
        for (std::size_t k = 0; k < below; ++k)
            paint(target, k);
        floorLook = looksOf(0, below);
        spots.clear();
        ++groundPaints;
    } else if (from < spotsNow.size()) {
        ++spotPaints;
    }
    // Dirt only ever comes at the end of the list, and the spots lie right on
    // the layers below, so new ones are painted over the kept ground as it is.
    for (std::size_t i = from; i < spotsNow.size(); ++i) {
        target.draw(spotsNow[i]);
        spots.emplace_back(spotsNow[i]);
    }
}

void TStillPicture::draw(sf::RenderTarget& target, const std::vector<sf::IntRect>& covered)
{
    lastFramePut = false;
    platesCurrent = false;
    const ViewLook view = lookOf(target);
    const sf::IntRect whole({0, 0}, sf::Vector2i(target.getSize()));
    const sf::IntRect area = target.getViewport(target.getView()).findIntersection(whole).value_or(sf::IntRect());
    // The ground: the layers up to the dirt and the dirt; the pen: the
    // ground, the layers over it and the plates.
    const std::size_t groundEnd = spotsLayer == npos ? 0 : spotsLayer + 1;

    std::size_t spotsDrawn = 0;
    const bool groundKept = picturesAllowed && groundCurrent(view, spotsDrawn) && ground.fits(target);
    const std::vector<TSpriteLook> over = looksOf(groundEnd, layers.size());
    if (groundKept && spotsDrawn == dirt().size() && havePen && pen.fits(target) && over == furniture
        && plates == paintedPlates) {
        // Nothing changed: the picture put back, but for what will be covered.
        lastFramePut = pen.put(target, uncoveredParts(area, covered));
        if (lastFramePut) {
            platesCurrent = true;
            // The stamps end where their last drawing would leave them.
            leaveStamps(0, layers.size());
            return;
        }
    }

    // The layers painted on the target itself, as the frame paints them, and
    // the pictures taken: the ground put back with the new spots on it, or
    // painted whole; then the layers over it, and the plates' opaque parts
    // (the frame paints the plates over them later).
    const bool groundPut = groundKept && ground.put(target, {area});
    paintGround(target, groundPut ? spotsDrawn : npos);
    groundView = view;
    // Ground put back with no new spot on it is the picture already kept.
    const bool groundSame = groundPut && spotsDrawn == dirt().size();
    haveGround = picturesAllowed && (groundSame || ground.take(target, {area}));
    for (std::size_t k = groundEnd; k < layers.size(); ++k)
        paint(target, k);
    for (const Plate& plate : plates)
        drawClipped(target, plate.sprite, plate.cover);
    havePen = haveGround && pen.take(target, {area});
    furniture = over;
    paintedPlates = plates;
    platesCurrent = havePen;
    ++penPaints;
}

void TStillPicture::addPlate(const sf::Sprite& sprite, const sf::IntRect& cover)
{
    if (cover.size.x > 0 && cover.size.y > 0)
        plates.push_back({sprite, cover});
}

void TStillPicture::drawPlate(sf::RenderTarget& target, const sf::Sprite& sprite)
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

void TStillPicture::drawClipped(sf::RenderTarget& target, const sf::Sprite& sprite, const sf::IntRect& pixels)
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

std::vector<sf::IntRect> TStillPicture::uncoveredParts(const sf::IntRect& area, const std::vector<sf::IntRect>& covered)
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

void TStillPicture::forget()
{
    haveGround = havePen = false;
    spots.clear();
    furniture.clear();
    paintedPlates.clear();
    ground.forget();
    pen.forget();
}

sf::IntRect TStillPicture::opaqueInterior(const sf::Texture& texture)
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
