#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <cstddef>
#include <vector>

// Many sprites drawn as a few batches: each run of consecutive sprites on the
// same texture becomes one draw. A sprite's corners are placed exactly as the
// renderer places those of a single sprite (transformed here, drawn with no
// transform), in the same two triangles, and a draw keeps the order of its
// triangles, so the pixels are the same as drawing the sprites one by one.
class TSpriteBatch {
public:
    void clear();
    void add(const sf::Sprite& sprite);
    void draw(sf::RenderTarget& target) const;
    bool empty() const { return runs.empty(); }
    std::size_t runCount() const { return runs.size(); }

private:
    struct Run {
        const sf::Texture* texture;
        std::size_t first;
        std::size_t count;
    };
    std::vector<sf::Vertex> vertices;
    std::vector<Run> runs;
};
