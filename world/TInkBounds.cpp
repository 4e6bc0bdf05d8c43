#include "world/TInkBounds.hpp"

#include "core/TTextureStore.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

sf::IntRect TInkBounds::inked(const sf::Texture& texture, const sf::IntRect& rect, int reach)
{
    const auto key = std::tuple(&texture, rect.position.x, rect.position.y, rect.size.x, rect.size.y, reach);
    if (const auto known = found.find(key); known != found.end())
        return known->second;
    const sf::IntRect result = inkedBy(TTextureStore::instance().inkMap(texture), rect, reach);
    found.emplace(key, result);
    return result;
}

sf::IntRect TInkBounds::inkedBy(const TInkMap* map, const sf::IntRect& rect, int reach)
{
    // A mirrored rectangle (negative size) covers the same texels.
    const int left = std::min(rect.position.x, rect.position.x + rect.size.x);
    const int top = std::min(rect.position.y, rect.position.y + rect.size.y);
    const int right = std::max(rect.position.x, rect.position.x + rect.size.x);
    const int bottom = std::max(rect.position.y, rect.position.y + rect.size.y);
    if (map == nullptr || map->columns() * cell < right || map->rows() * cell < bottom) {
        // No map of this texture (or not of its size): all of it may be inked.
        return sf::IntRect({0, 0}, {right - left, bottom - top});
    }
    // Every cell the filter may read from, around the rectangle too (a
    // neighbour's ink can bleed in at its edges).
    const int c0 = std::max(0, (left - reach) / cell), c1 = std::min(map->columns() - 1, (right + reach) / cell);
    const int r0 = std::max(0, (top - reach) / cell), r1 = std::min(map->rows() - 1, (bottom + reach) / cell);
    int inkLeft = right, inkTop = bottom, inkRight = left, inkBottom = top;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (map->inked(c, r)) {
                inkLeft = std::min(inkLeft, c * cell);
                inkTop = std::min(inkTop, r * cell);
                inkRight = std::max(inkRight, (c + 1) * cell);
                inkBottom = std::max(inkBottom, (r + 1) * cell);
            }
    sf::IntRect result;
    if (inkRight > inkLeft && inkBottom > inkTop) {
        // Widened by the filter's reach, kept within the rectangle.
        const int l = std::max(left, inkLeft - reach), t = std::max(top, inkTop - reach);
        const int r = std::min(right, inkRight + reach), b = std::min(bottom, inkBottom + reach);
        if (r > l && b > t)
            result = sf::IntRect({l - left, t - top}, {r - l, b - t});
    }
    return result;
}

std::vector<sf::IntRect> TInkBounds::rowStrips(const std::vector<sf::IntRect>& boxes)
{
    std::vector<int> cuts;
    for (const sf::IntRect& box : boxes)
        if (box.size.x > 0 && box.size.y > 0) {
            cuts.push_back(box.position.y);
            cuts.push_back(box.position.y + box.size.y);
        }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<sf::IntRect> strips;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        int left = 0, right = 0;
        bool held = false;
        for (const sf::IntRect& box : boxes)
            if (box.size.x > 0 && box.position.y <= cuts[i] && cuts[i + 1] <= box.position.y + box.size.y) {
                left = held ? std::min(left, box.position.x) : box.position.x;
                right = held ? std::max(right, box.position.x + box.size.x) : box.position.x + box.size.x;
                held = true;
            }
        if (!held)
            continue;
        sf::IntRect* last = strips.empty() ? nullptr : &strips.back();
        if (last != nullptr && last->position.y + last->size.y == cuts[i] && last->position.x == left
            && last->size.x == right - left)
            last->size.y += cuts[i + 1] - cuts[i];
        else
            strips.push_back(sf::IntRect({left, cuts[i]}, {right - left, cuts[i + 1] - cuts[i]}));
    }
    return strips;
}
