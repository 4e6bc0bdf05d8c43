#include "actors/TSpriteBatch.hpp"

#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Transform.hpp>

#include <cmath>

void TSpriteBatch::clear()
{
    vertices.clear();
    runs.clear();
}

void TSpriteBatch::add(const sf::Sprite& sprite)
{
    // The sprite's own four corners, as it builds them from its rectangle.
    const sf::FloatRect rect(sprite.getTextureRect());
    const sf::Vector2f size(std::abs(rect.size.x), std::abs(rect.size.y));
    const sf::Color colour = sprite.getColor();
    const sf::Vertex corners[4] = {{{0.f, 0.f}, colour, rect.position},
                                   {{0.f, size.y}, colour, rect.position + sf::Vector2f(0.f, rect.size.y)},
                                   {{size.x, 0.f}, colour, rect.position + sf::Vector2f(rect.size.x, 0.f)},
                                   {size, colour, rect.position + rect.size}};
    // The transform a lone sprite's draw would use: the default states' one
    // combined with the sprite's.
    sf::Transform place;
    place *= sprite.getTransform();

    const sf::Texture* texture = &sprite.getTexture();
    if (runs.empty() || runs.back().texture != texture)
        runs.push_back({texture, vertices.size(), 0});
    // The strip's two triangles, (0 1 2) and (2 1 3).
    for (int k : {0, 1, 2, 2, 1, 3}) {
        sf::Vertex v = corners[k];
        v.position = place.transformPoint(v.position);
        vertices.push_back(v);
    }
    runs.back().count += 6;
}

void TSpriteBatch::draw(sf::RenderTarget& target) const
{
    for (const Run& run : runs) {
        sf::RenderStates states;
        states.texture = run.texture;
        target.draw(&vertices[run.first], run.count, sf::PrimitiveType::Triangles, states);
    }
}
