#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

// The base of everything that lives on the field: a textured sprite with a
// visibility flag, a "centred" flag, and the virtual operations through which
// the world updates, draws, hit-tests and re-textures any actor. Textures come
// from the texture store by id and outlive every actor.
class TActor : public sf::Sprite {
public:
    // Built on texture 0 of the store (the transparent placeholder).
    TActor();
    explicit TActor(const sf::Texture& texture);
    explicit TActor(const sf::Texture&& texture) = delete;

    // Per-frame step; the base does nothing.
    virtual void update(float dt);
    // Draws the sprite when visible.
    virtual void draw(sf::RenderTarget& target);
    // Inclusive hit test on the scaled, unrotated rectangle; false when hidden.
    virtual bool contains(float x, float y);
    // Re-places child sprites relative to the actor; the base has none.
    virtual void layoutParts();
    // Unscaled size of the current texture rectangle.
    virtual sf::Vector2f getSize();
    // Position minus origin, with the unscaled size.
    virtual sf::FloatRect getBounds();
    // Shows the whole texture; a centred actor moves its origin to the middle.
    virtual void resetTextureRect();
    // Switches to store texture `id`, keeping the rectangle unless asked.
    virtual void setTextureById(int id, bool resetRect);
    // Target of a button's click callback; the base does nothing.
    virtual void changeValue(float value);

    bool visible = true;
    bool centered = false;
};
