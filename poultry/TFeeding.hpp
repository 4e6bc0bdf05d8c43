#pragma once

#include "actors/TActor.hpp"

// A feeder: holds food that eating chickens take away and feed bags refill.
// Empty, it shows the empty picture and a blinking warning icon above it.
class TFeeding : public TActor {
public:
    TFeeding();

    void update(float dt) override;
    void draw(sf::RenderTarget& target) override;

    // Adds (or, for eating chickens, removes) food. A refill of an exactly
    // empty feeder brings back the full picture.
    virtual void addFood(float amount);
    virtual float getFood();

    float food = 0.f;       // in units of satiety
    float blinkTime = 0.f;  // seconds spent empty: the warning's phase
    float blinkAlpha = 0.f; // current opacity of the warning, 0..255
};
