#pragma once

#include "core/TInkMap.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <map>
#include <tuple>
#include <vector>

// Where a picture has ink: for a rectangle of a texture, the part outside of
// which every pixel is fully transparent, even as the texture is filtered
// from `reach` texels around. Drawing a sprite only inside that part (its
// pixels mapped to the target) leaves the target exactly as drawing all of it
// would, since a fully transparent sample leaves a pixel as it was. Read from
// the ink map the texture store made of the decoded pixels (a texture without
// one is taken as inked all over); only an aid to drawing.
class TInkBounds {
public:
    // The inked part of `rect` of `texture`, reach included, relative to the
    // rectangle's top left corner; empty when nothing in it is inked.
    sf::IntRect inked(const sf::Texture& texture, const sf::IntRect& rect, int reach);
    // The same, read from `map` (the texture's; null when it has none, or
    // none of its size: then all of it may be inked).
    static sf::IntRect inkedBy(const TInkMap* map, const sf::IntRect& rect, int reach);

    // Boxes (target pixels) turned into strips that do not overlap: each row
    // any box holds lies in one strip, as wide as all the boxes holding it;
    // strips of the same columns one under the other are joined.
    static std::vector<sf::IntRect> rowStrips(const std::vector<sf::IntRect>& boxes);

    // Texels per cell of the coarse map kept of each texture.
    static constexpr int cell = TInkMap::cell;

private:
    std::map<std::tuple<const sf::Texture*, int, int, int, int, int>, sf::IntRect> found;
};
