#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <map>
#include <tuple>
#include <vector>

// Where a picture has ink: for a rectangle of a texture, the part outside of
// which every pixel is fully transparent, even as the texture is filtered
// from `reach` texels around. Drawing a sprite only inside that part (its
// pixels mapped to the target) leaves the target exactly as drawing all of it
// would, since a fully transparent sample leaves a pixel as it was. Found from
// the texture's pixels once per texture, on first use; only an aid to drawing.
class TInkBounds {
public:
    // The inked part of `rect` of `texture`, reach included, relative to the
    // rectangle's top left corner; empty when nothing in it is inked.
    sf::IntRect inked(const sf::Texture& texture, const sf::IntRect& rect, int reach);

    // Boxes (target pixels) turned into strips that do not overlap: each row
    // any box holds lies in one strip, as wide as all the boxes holding it;
    // strips of the same columns one under the other are joined.
    static std::vector<sf::IntRect> rowStrips(const std::vector<sf::IntRect>& boxes);

    // Texels per cell of the coarse map kept of each texture.
    static constexpr int cell = 8;

private:
    struct Map {
        int columns = 0;
        int rows = 0;
        std::vector<bool> inked; // one per cell, row by row
    };
    const Map& mapOf(const sf::Texture& texture);
    static Map mapOfImage(const sf::Image& image);

    std::map<const sf::Texture*, Map> maps;
    std::map<std::tuple<const sf::Texture*, int, int, int, int, int>, sf::IntRect> found;
};
