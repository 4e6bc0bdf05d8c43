#pragma once

#include "actors/TActor.hpp"
#include "actors/TSpriteBatch.hpp"

// A short-lived effect particle (soap bubble, music note, vet bubble): rises,
// sways and fades out over about three seconds.
class TBubble : public TActor {
public:
    // The soap bubble picture.
    TBubble();
    explicit TBubble(const sf::Texture& texture);
    explicit TBubble(const sf::Texture&& texture) = delete;

    // Brings the bubble to life at (x, y) with a random speed and size.
    void spawn(float x, float y);

    void update(float dt) override;
    void draw(sf::RenderTarget& target) override;
    // The same picture added to a batch instead of drawn.
    void addTo(TSpriteBatch& batch) const;

    float speed = 0.f;       // rise in pixels per second
    float bubbleScale = 0.f; // uniform scale chosen by spawn
    float alpha = 255.f;     // opacity 0..255
    bool alive = false;      // only a live bubble moves and is drawn
};
