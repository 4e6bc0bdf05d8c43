#include "world/TSpriteLook.hpp"

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
